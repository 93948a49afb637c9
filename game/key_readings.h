#pragma once
// The keys the game reads: the twenty digit keys, ENTER and ESC.

#include <array>

#include "platform/keyboard.h"

// The twenty keys that type a digit: the main row's, then the keypad's.
inline constexpr std::array<int, 20> kDigitKeys = [] {
  std::array<int, 20> keys{};
  for (int digit = 0; digit <= 9; ++digit) {
    keys[digit] = VK_0 + digit;
    keys[10 + digit] = VK_NUMPAD0 + digit;
  }
  return keys;
}();

// The lowest digit 0 to 9 whose main-row or keypad key shows a pressed indication, or -1
// after pumping pending events when none does. Higher digits are not queried, so they keep
// their press for a later call.
int ReadDigitKey();

// True when the key shows a pressed indication: down now, or pressed since the last query.
bool IsEnterPressed();
bool IsEscPressed();
