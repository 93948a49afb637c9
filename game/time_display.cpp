#include "game/time_display.h"

#include <charconv>
#include <cmath>

// Built from integers, so the player's locale cannot turn the point into a comma.
std::string FormatTime(double seconds) {
  auto tenths = static_cast<long long>(std::round(std::fabs(seconds) * 10));
  std::string whole = std::to_string(tenths / 10);
  if (whole.size() < 2) whole.insert(0, 2 - whole.size(), '0');
  return (seconds < 0 ? "-" : "") + whole + "." + std::to_string(tenths % 10);
}

double TimeValue(const std::string& text) {
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}
