#pragma once
// For test programs without the toolkit: the pump sleeps plainly, as no window event can come.

#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>

#include "platform/input_wait.h"
#include "platform/testing.h"

class PlainSleep final : public InputWaiter {
 public:
  PlainSleep() : previous_(SetInputWaiter(this)) {}
  ~PlainSleep() override { SetInputWaiter(previous_); }
  // Waits without a bound never come here: nothing could end them.
  void WaitForInput(std::optional<uint32_t> ms, WakeFor) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms.value()));
  }

 private:
  InputWaiter* previous_;
};
