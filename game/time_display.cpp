#include "game/time_display.h"

#include <algorithm>
#include <cmath>

// Built from integers, so the player's locale cannot turn the point into a comma.
std::string FormatTime(double seconds) {
  auto tenths = static_cast<long long>(std::round(std::fabs(seconds) * 10));
  std::string whole = std::to_string(tenths / 10);
  if (whole.size() < 2) whole.insert(0, 2 - whole.size(), '0');
  return (seconds < 0 ? "-" : "") + whole + "." + std::to_string(tenths % 10);
}

uint32_t NextTimeChange(double limit, uint32_t elapsed_ms) {
  auto shown_at = [limit](uint32_t ms) { return FormatTime(limit - ms / 1000.0); };
  const std::string now = shown_at(elapsed_ms);
  // The shown tenth t gives way where the remaining time drops below t - 0.05 s; start a
  // millisecond early, since the rounding of the division decides the exact one.
  const double remaining = limit - elapsed_ms / 1000.0;
  const double boundary_ms = (limit - (std::round(remaining * 10) - 0.5) / 10) * 1000;
  // Nor past the end of the limit, where the sign turns.
  const double start_ms = std::min(boundary_ms - 1, limit * 1000);
  uint32_t next = elapsed_ms + 1;
  if (remaining > 0 && start_ms > next) next = static_cast<uint32_t>(start_ms);
  while (shown_at(next) == now)
    ++next;
  return next;
}
