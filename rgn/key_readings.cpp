#include "platform/keyboard.h"
#include "rgn/mod_RGN_Proc.h"

namespace {
bool IsPressed(int vk) {
  int16_t state = GetAsyncKeyState(vk);
  // The second query leaves the press-since bit cleared.
  GetAsyncKeyState(vk);
  return state != 0;
}
}  // namespace

bool IsEnterPressed() {
  return IsPressed(VK_RETURN);
}

bool IsEscPressed() {
  return IsPressed(VK_ESCAPE);
}
