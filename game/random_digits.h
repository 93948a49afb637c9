#pragma once

#include <cstdint>
#include <random>

// Where the row's digits come from.
class DigitSource {
 public:
  virtual ~DigitSource() = default;
  // The next digit, 0 to 9.
  virtual int Next() = 0;
};

// The program's one source of digits, seeded once.
class RandomDigits final : public DigitSource {
 public:
  explicit RandomDigits(uint64_t seed) : generator_(seed) {}
  int Next() override { return std::uniform_int_distribution<int>(0, 9)(generator_); }

 private:
  std::mt19937_64 generator_;
};
