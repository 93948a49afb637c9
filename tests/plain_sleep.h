#pragma once
// For test programs without the toolkit: the pump sleeps plainly, as no window event can come.

#include <chrono>
#include <cstdint>
#include <thread>

#include "platform/input_wait.h"
#include "platform/testing.h"

class PlainSleep final : public InputWaiter {
 public:
  PlainSleep() : previous_(SetInputWaiter(this)) {}
  ~PlainSleep() override { SetInputWaiter(previous_); }
  void WaitForInput(uint32_t ms) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }

 private:
  InputWaiter* previous_;
};
