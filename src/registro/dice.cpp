// Dice: seeding once and drawing uniformly over the range of the chosen dice.
#include "dice.h"

#include <algorithm>
#include <chrono>

namespace registro {

namespace {
std::seed_seq::result_type low(std::uint64_t v) { return static_cast<std::uint32_t>(v); }
std::seed_seq::result_type high(std::uint64_t v) { return static_cast<std::uint32_t>(v >> 32); }
}  // namespace

Dice::Dice() {
  std::random_device device;
  const std::uint64_t clock = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seq{device(), device(), device(), device(), low(clock), high(clock)};
  engine_.seed(seq);
}

Dice::Dice(std::uint64_t seed) : engine_(seed) {}

int Dice::roll(int count) {
  count = std::clamp(count, 1, 3);
  std::uniform_int_distribution<int> draw(1, 6 * count);
  return draw(engine_);
}

}  // namespace registro
