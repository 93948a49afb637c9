// Wait loops sleep when they have nothing to do, and wake for keys, window events and deadlines.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/testing.h"
#include "platform/toolkit.h"
#include "rgn/mod_RGN_Proc.h"
#include "tests/scripted_play.h"

namespace {

TEST(WaitingPump, NeverSleepsOnAPressTheLoopHasNotSeenAndWakesForKeysAndDeadlines) {
  ScriptedPlay play(1000);
  // The press arrives while IsEnterPressed makes its second, ignored query.
  int queries = 0;
  play.When([&] { return ++queries == 2; }, Press(VK_RETURN));
  EXPECT_FALSE(IsEnterPressed());
  DoEventsAndWait();
  EXPECT_EQ(play.Waits(), 0u) << "slept with a press taken in but not yet seen";
  EXPECT_TRUE(IsEnterPressed());

  DoEventsAndWait();
  EXPECT_EQ(play.Waits(), 1u) << "nothing new: the pump sleeps";
  EXPECT_EQ(play.Elapsed(), 1u + 100) << "for at most 100 ms, its pump included";

  play.After(30, Release(VK_RETURN));
  DoEventsAndWait();
  EXPECT_EQ(play.Elapsed(), 101u + 30) << "a key event ends the sleep";
  EXPECT_FALSE(IsEnterPressed());
  DoEventsAndWait(GetTickCount() + 40);
  EXPECT_EQ(play.Waits(), 2u) << "the release was taken in but not looked at yet";

  DoEventsAndWait(GetTickCount() + 40);
  EXPECT_EQ(play.Elapsed(), 132u + 40) << "up to the deadline";
  DoEventsAndWait(GetTickCount());
  EXPECT_EQ(play.Waits(), 3u) << "a deadline already reached does not sleep";
}

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
  void Update(KeyTable&) override {}
  int WaitDescriptor() const override { return ends[0]; }
  int ends[2] = {-1, -1};
};

TEST(EventLoopWaiter, WakesForWindowEventsAndForTheKeySource) {
  // The toolkit's own sleeper, the one that is installed while no test replaces it.
  InputWaiter* waiter = SetInputWaiter(nullptr);
  SetInputWaiter(waiter);
  // The bound is far beyond any scheduling delay, so an early return means a real wake-up.
  constexpr uint32_t kLongWaitMs = 20000;
  auto woken = [waiter] {
    auto began = std::chrono::steady_clock::now();
    waiter->WaitForInput(kLongWaitMs);
    return std::chrono::steady_clock::now() - began < std::chrono::milliseconds(kLongWaitMs / 2);
  };
  PipeKeys keys;
  bool ran = false;
  PostTask([&ran] { ran = true; });
  EXPECT_TRUE(woken()) << "by a window event";
  EXPECT_TRUE(ran);
  std::thread sender([&keys] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(write(keys.ends[1], "k", 1), 1);
  });
  EXPECT_TRUE(woken()) << "by a key";
  sender.join();
}

}  // namespace
