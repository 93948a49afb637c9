#include "platform/pump.h"

// When to pump and when to sleep; the backend only pumps and sleeps.

#include <algorithm>

#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/services.h"

namespace {

// Sleeping with a change of a key not yet seen would leave the player's press waiting.
bool MayWait() {
  return !KeyChangeWaiting();
}

}  // namespace

Replaceable<InputWaiter>& InputWaiterService() {
  static Replaceable<InputWaiter> service(ToolkitInputWaiter());
  return service;
}

void DoEvents() {
  PumpWindowEvents();
  BeginKeyPass();
  ClockService()->Pumped();
}

void DoEventsAndWait(uint32_t deadline_tick) {
  DoEvents();
  if (!MayWait()) return;
  auto left = static_cast<int32_t>(deadline_tick - GetTickCount());
  if (left > 0)
    InputWaiterService()->WaitForInput(static_cast<uint32_t>(left), WakeFor::kWindowsAndKeys);
}

void DoEventsAndWait() {
  DoEvents();
  if (MayWait()) InputWaiterService()->WaitForInput(std::nullopt, WakeFor::kWindowsAndKeys);
}

void DoEventsUntil(uint32_t deadline_tick) {
  for (;;) {
    DoEvents();
    auto left = static_cast<int32_t>(deadline_tick - GetTickCount());
    if (left <= 0) return;
    InputWaiterService()->WaitForInput(static_cast<uint32_t>(left), WakeFor::kWindows);
  }
}

void WaitMilliseconds(int32_t ms) {
  DoEvents();
  Sleep(static_cast<uint32_t>(std::max(ms, 0)));
}
