#include "platform/clock.h"

#include <chrono>
#include <thread>

#include "platform/replaceable.h"
#include "platform/testing.h"

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

SystemClock system_clock;
Replaceable<Clock> clock_in_use(system_clock);

}  // namespace

Clock* SetClock(Clock* clock) {
  return clock_in_use.Replace(clock);
}

Clock& CurrentClock() {
  return *clock_in_use;
}

uint32_t GetTickCount() {
  return clock_in_use->Now();
}

void Sleep(uint32_t ms) {
  clock_in_use->SleepFor(ms);
}
