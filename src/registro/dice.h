// The dice of Registro: one uniform draw from 1 to 6, 12 or 18 for one, two or three dice.
#pragma once

#include <cstdint>
#include <random>

namespace registro {

class Dice {
 public:
  // Seeded once, from the system's entropy source mixed with a high-resolution clock, so
  // that rolls in quick succession are independent and two programs started together
  // do not share a sequence.
  Dice();
  // A fixed sequence, for reproducing a run.
  explicit Dice(std::uint64_t seed);

  // The next roll for `count` dice (1, 2 or 3; anything else is treated as the nearest):
  // a whole number from 1 to 6 × count, every value equally likely. It is one draw over
  // the whole range, not a sum of single dice.
  int roll(int count);

 private:
  std::mt19937_64 engine_;
};

}  // namespace registro
