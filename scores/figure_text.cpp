#include "scores/figure_text.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr const char* kNone = "―";

}  // namespace

std::string Formatted(const char* pattern, double value) {
  char text[32];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

std::string SecondsText(const std::optional<double>& ms) {
  return ms ? Formatted("%.2f 秒", *ms / 1000) : kNone;
}

std::string PercentText(const std::optional<double>& fraction) {
  return fraction ? Formatted("%.0f%%", std::floor(*fraction * 100 + 0.5)) : kNone;
}

std::string RatioText(const std::optional<double>& ratio) {
  return ratio ? Formatted("%.2f", *ratio) : kNone;
}

std::string PairText(int left, int right) {
  return std::to_string(left) + "+" + std::to_string(right);
}
