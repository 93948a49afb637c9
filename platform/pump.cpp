// Pumping window events, and sleeping in the pump when a wait loop has nothing to do.

#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/replaceable.h"
#include "platform/testing.h"
#include "platform/toolkit.h"

namespace {

Replaceable<InputWaiter> waiter(ToolkitInputWaiter());

// Sleeping with a change of a key not yet seen would leave the player's press waiting.
bool MayWait() {
  return !KeyChangeWaiting();
}

}  // namespace

InputWaiter* SetInputWaiter(InputWaiter* next) {
  return waiter.Replace(next);
}

void DoEvents() {
  PumpWindowEvents();
  BeginKeyPass();
  CurrentClock().Pumped();
}

void DoEventsAndWait(uint32_t deadline_tick) {
  DoEvents();
  if (!MayWait()) return;
  auto left = static_cast<int32_t>(deadline_tick - GetTickCount());
  if (left > 0) waiter->WaitForInput(static_cast<uint32_t>(left), WakeFor::kWindowsAndKeys);
}

void DoEventsAndWait() {
  DoEvents();
  if (MayWait()) waiter->WaitForInput(std::nullopt, WakeFor::kWindowsAndKeys);
}

void DoEventsUntil(uint32_t deadline_tick) {
  for (;;) {
    DoEvents();
    auto left = static_cast<int32_t>(deadline_tick - GetTickCount());
    if (left <= 0) return;
    waiter->WaitForInput(static_cast<uint32_t>(left), WakeFor::kWindows);
  }
}
