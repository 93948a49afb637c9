#pragma once
// Whole-number arithmetic of the design's twips values.

#include <cmath>
#include <cstdint>

// Rounds to the nearest whole number, halves to the even neighbour.
inline int32_t RoundHalfEven(double value) {
  return static_cast<int32_t>(std::nearbyint(value));
}

// Integer division of two rounded operands, truncated toward zero: 7 / 15 is 0, -20 / 15 is -1.
inline int32_t WholeDiv(double dividend, double divisor) {
  return RoundHalfEven(dividend) / RoundHalfEven(divisor);
}
