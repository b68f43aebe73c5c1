// Registro's dice: the range of each choice, and independence from the clock.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "registro/dice.h"

using registro::Dice;

TEST(RegistroDice, EachChoiceReachesEveryValueOfItsRangeAndNoOther) {
  Dice dice;
  for (int count = 1; count <= 3; ++count) {
    std::set<int> seen;
    for (int i = 0; i < 3000; ++i) {
      const int r = dice.roll(count);
      ASSERT_GE(r, 1);
      ASSERT_LE(r, 6 * count);
      seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 6u * count) << count << " dice";
  }
}

TEST(RegistroDice, GeneratorsMadeAtTheSameMomentDoNotRepeatEachOther) {
  // Seeding from the clock's seconds would give both the same sequence.
  Dice a;
  Dice b;
  std::vector<int> ra, rb;
  for (int i = 0; i < 20; ++i) {
    ra.push_back(a.roll(3));
    rb.push_back(b.roll(3));
  }
  EXPECT_NE(ra, rb);
  EXPECT_EQ(Dice(42).roll(2), Dice(42).roll(2)) << "a fixed seed replays its sequence";
}
