// Registro's dice: each die rolled on its own (a million rolls of two dice give 2 to 12,
// 7 the most often), the faces shown beside the total, and independence from the clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "registro/dice.h"

using registro::Dice;
using registro::DiceRoll;

TEST(RegistroDice, EachDieIsRolledOnItsOwn) {
  Dice dice;
  for (int count : {1, 2, 3}) {
    std::array<long, 19> seen{};
    const int rolls = count == 2 ? 1'000'000 : 100'000;
    for (int i = 0; i < rolls; ++i) {
      const DiceRoll r = dice.roll(count);
      ASSERT_EQ(r.faces.size(), size_t(count));
      for (int face : r.faces) ASSERT_TRUE(face >= 1 && face <= 6) << face;
      ++seen[size_t(r.total())];
    }
    for (int total = 0; total <= 18; ++total) {
      const bool possible = total >= count && total <= 6 * count;
      EXPECT_EQ(seen[size_t(total)] > 0, possible) << count << " dice, total " << total;
    }
    if (count == 2) {
      EXPECT_EQ(std::max_element(seen.begin(), seen.end()) - seen.begin(), 7);
      // 7 comes six times as often as 2 or 12 (1/6 against 1/36 of the rolls).
      EXPECT_NEAR(seen[7] / 1e6, 1.0 / 6, 0.005);
      EXPECT_NEAR(seen[2] / 1e6, 1.0 / 36, 0.002);
      EXPECT_NEAR(seen[12] / 1e6, 1.0 / 36, 0.002);
    }
    if (count == 3) EXPECT_GT(seen[10] + seen[11], 20 * (seen[3] + seen[18]));
  }
}

TEST(RegistroDice, TheFacesStandBesideTheTotal) {
  EXPECT_EQ((DiceRoll{{3, 5}}).faces_text(), "3 + 5");
  EXPECT_EQ((DiceRoll{{3, 5}}).total(), 8);
  EXPECT_EQ((DiceRoll{{6, 1, 2}}).faces_text(), "6 + 1 + 2");
  EXPECT_EQ((DiceRoll{{4}}).faces_text(), "");
  EXPECT_EQ((DiceRoll{{4}}).total(), 4);
}

TEST(RegistroDice, GeneratorsMadeAtTheSameMomentDoNotRepeatEachOther) {
  // Seeding from the clock's seconds would give both the same sequence.
  Dice a;
  Dice b;
  std::vector<int> ra, rb;
  for (int i = 0; i < 20; ++i) {
    ra.push_back(a.roll(3).total());
    rb.push_back(b.roll(3).total());
  }
  EXPECT_NE(ra, rb);
  EXPECT_EQ(Dice(42).roll(2).faces, Dice(42).roll(2).faces) << "a fixed seed replays its sequence";
}
