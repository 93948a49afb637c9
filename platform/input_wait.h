#pragma once
// What the toolkit's backend offers the pump: handling the queued window events, and sleeping
// until input comes. Tests swap in a scripted sleeper that only moves their clock on
// (SetInputWaiter).

#include <cstdint>
#include <optional>

// What ends a sleep besides its bound.
enum class WakeFor {
  kWindowsAndKeys,
  kWindows,  // keys wait for the loop that polls them
};

class InputWaiter {
 public:
  virtual ~InputWaiter() = default;
  // Sleeps until a window event (or, with kWindowsAndKeys, a key event) may have arrived, or
  // for ms milliseconds; without ms, for as long as nothing arrives.
  virtual void WaitForInput(std::optional<uint32_t> ms, WakeFor wake) = 0;
};

// The toolkit's own sleeper, which also wakes when KeyEventDescriptor() turns readable.
InputWaiter& ToolkitInputWaiter();
// Handles the window events queued so far, then returns.
void PumpWindowEvents();
