// Dice: seeding once and rolling each die on its own.
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

DiceRoll Dice::roll(int count) {
  count = std::clamp(count, 1, 3);
  std::uniform_int_distribution<int> die(1, 6);
  DiceRoll r;
  for (int i = 0; i < count; ++i) r.faces.push_back(die(engine_));
  return r;
}

int DiceRoll::total() const {
  int sum = 0;
  for (int f : faces) sum += f;
  return sum;
}

std::string DiceRoll::faces_text() const {
  if (faces.size() < 2) return {};
  std::string text;
  for (size_t i = 0; i < faces.size(); ++i) text += (i ? " + " : "") + std::to_string(faces[i]);
  return text;
}

}  // namespace registro
