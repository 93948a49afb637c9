#pragma once
// Figures as the player reads them, in the window and on the command line.

#include <optional>
#include <string>

// "1.21 秒"; "―" for none.
std::string SecondsText(const std::optional<double>& ms);
// "95%"; "―" for none.
std::string PercentText(const std::optional<double>& fraction);
// "1.10"; "―" for none.
std::string RatioText(const std::optional<double>& ratio);
// The value printed with a pattern for one double, such as "%.1f".
std::string Formatted(const char* pattern, double value);
// "7+8".
std::string PairText(int left, int right);
