#pragma once
// The middle of a set of numbers, the mean of the two middle ones for an even count.

#include <algorithm>
#include <optional>
#include <vector>

template <typename T>
std::optional<double> Median(std::vector<T> values) {
  if (values.empty()) return std::nullopt;
  const size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<long>(middle), values.end());
  const double upper = static_cast<double>(values[middle]);
  if (values.size() % 2 == 1) return upper;
  const double lower = static_cast<double>(
      *std::max_element(values.begin(), values.begin() + static_cast<long>(middle)));
  return (lower + upper) / 2;
}
