#include "platform/clock.h"

#include <chrono>
#include <thread>

#include "platform/services.h"

namespace {

class SystemClock final : public Clock {
 public:
  uint32_t Now() override {
    // The steady clock counts from boot on Linux, like the tick counter it stands for.
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
  }
  void SleepFor(uint32_t ms) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
};

}  // namespace

Replaceable<Clock>& ClockService() {
  static SystemClock system_clock;
  static Replaceable<Clock> service(system_clock);
  return service;
}

uint32_t GetTickCount() {
  return ClockService()->Now();
}

void Sleep(uint32_t ms) {
  ClockService()->SleepFor(ms);
}
