#include "game/key_readings.h"

#include "platform/keyboard.h"
#include "platform/pump.h"

namespace {

bool IsPressed(int vk) {
  int16_t state = GetAsyncKeyState(vk);
  // The second query leaves the press-since bit cleared.
  GetAsyncKeyState(vk);
  return state != 0;
}

}  // namespace

int ReadDigitKey() {
  for (int digit = 0; digit <= 9; ++digit) {
    int16_t keypad = GetAsyncKeyState(VK_NUMPAD0 + digit);
    int16_t main_row = GetAsyncKeyState(VK_0 + digit);
    if ((keypad | main_row) != 0) {
      // Query both once more so that neither reports this press again.
      GetAsyncKeyState(VK_NUMPAD0 + digit);
      GetAsyncKeyState(VK_0 + digit);
      return digit;
    }
  }
  DoEvents();
  return -1;
}

bool IsEnterPressed() {
  return IsPressed(VK_RETURN);
}

bool IsEscPressed() {
  return IsPressed(VK_ESCAPE);
}
