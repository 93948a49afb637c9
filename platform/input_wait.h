#pragma once
// How the program sleeps when a wait loop has nothing to do; tests swap in a scripted sleeper
// that only moves their clock on (SetInputWaiter).

#include <cstdint>

class InputWaiter {
 public:
  virtual ~InputWaiter() = default;
  // Sleeps until a window event or a key event may have arrived, or for ms milliseconds.
  virtual void WaitForInput(uint32_t ms) = 0;
};
