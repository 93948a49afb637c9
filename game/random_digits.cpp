#include "game/random_digits.h"

#include <random>

namespace {
std::mt19937_64& Generator() {
  static std::mt19937_64 generator;
  return generator;
}
}  // namespace

void SeedRandomDigits(uint64_t seed) {
  Generator().seed(seed);
}

std::string RandomDigit() {
  std::uniform_int_distribution<int> digit(0, 9);
  return std::string(1, static_cast<char>('0' + digit(Generator())));
}
