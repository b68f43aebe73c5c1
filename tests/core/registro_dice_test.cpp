// Registro's dice: independence from the clock (the ranges are tried in the window test).
#include <gtest/gtest.h>

#include <vector>

#include "registro/dice.h"

using registro::Dice;

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
