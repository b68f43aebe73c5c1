// The dice of Registro: one, two or three six-sided dice, each rolled on its own, so that
// two dice give 2 to 12 with 7 the most likely, as the rules of a gamebook expect.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace registro {

// The faces of one roll, in the order the dice were rolled.
struct DiceRoll {
  std::vector<int> faces;
  int total() const;
  // The faces as they are shown beside the total ("3 + 5"); empty for a single die.
  std::string faces_text() const;
};

class Dice {
 public:
  // Seeded once, from the system's entropy source mixed with a high-resolution clock, so
  // that rolls in quick succession are independent and two programs started together
  // do not share a sequence.
  Dice();
  // A fixed sequence, for reproducing a run.
  explicit Dice(std::uint64_t seed);

  // Rolls `count` dice (1, 2 or 3; anything else is treated as the nearest), each a whole
  // number from 1 to 6, every face equally likely.
  DiceRoll roll(int count);

 private:
  std::mt19937_64 engine_;
};

}  // namespace registro
