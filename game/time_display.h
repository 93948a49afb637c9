#pragma once

#include <cstdint>
#include <string>

// The remaining time as the cursor shows it: at least two integer digits and one decimal,
// rounded with halves away from zero, a minus sign when negative (9.46 -> "09.5").
std::string FormatTime(double seconds);

// The first millisecond after elapsed_ms at which the time shown for a play of limit seconds,
// FormatTime(limit - elapsed / 1000), reads differently.
uint32_t NextTimeChange(double limit, uint32_t elapsed_ms);
