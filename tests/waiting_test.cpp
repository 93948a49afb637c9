// The toolkit's sleeper wakes for window events and for key events.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/testing.h"

namespace {

// A key source whose events come through a pipe.
class PipeKeys final : public KeySource {
 public:
  PipeKeys() {
    EXPECT_EQ(pipe(ends), 0);
    SetKeySource(this);
  }
  ~PipeKeys() override {
    SetKeySource(nullptr);
    close(ends[0]);
    close(ends[1]);
  }
  std::optional<KeyEvent> Next(bool) override { return std::nullopt; }
  void Sync() override {}
  int WaitDescriptor() const override { return ends[0]; }
  int ends[2] = {-1, -1};
};

TEST(EventLoopWaiter, WakesForWindowEventsAndForTheKeySource) {
  // The toolkit's own sleeper, the one that is installed while no test replaces it.
  InputWaiter* waiter = SetInputWaiter(nullptr);
  SetInputWaiter(waiter);
  // Without a bound only a wake-up ends the wait; ctest's time limit catches one that never
  // comes.
  PipeKeys keys;
  bool ran = false;
  PostTask([&ran] { ran = true; });
  waiter->WaitForInput(std::nullopt, WakeFor::kWindowsAndKeys);
  EXPECT_TRUE(ran) << "woken before the window event";
  std::atomic<bool> sent = false;
  std::thread sender([&keys, &sent] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    sent = true;
    EXPECT_EQ(write(keys.ends[1], "k", 1), 1);
  });
  waiter->WaitForInput(std::nullopt, WakeFor::kWindowsAndKeys);
  EXPECT_TRUE(sent) << "woken before the key";
  sender.join();
}

}  // namespace
