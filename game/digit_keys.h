#pragma once

// The lowest digit 0 to 9 whose main-row or keypad key shows a pressed indication, or -1
// after pumping pending events when none does. Higher digits are not queried, so they keep
// their press for a later call.
int ReadDigitKey();
