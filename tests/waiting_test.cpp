// Wait loops sleep when they have nothing to do, and wake for keys, window events and the
// next tenth of the clock.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "game/mod_Main.h"
#include "game/time_display.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/testing.h"
#include "platform/toolkit.h"
#include "tests/game_phases.h"
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

// The toolkit's own sleeper, the one that is installed while no test replaces it.
InputWaiter& EventLoopWaiter() {
  InputWaiter* current = SetInputWaiter(nullptr);
  SetInputWaiter(current);
  return *current;
}

// A key source whose events come through a pipe.
class PipeKeys final : public KeySource {
 public:
  PipeKeys() {
    if (pipe(ends_) != 0) ADD_FAILURE() << "no pipe";
    SetKeySource(this);
  }
  ~PipeKeys() override {
    SetKeySource(nullptr);
    close(ends_[0]);
    close(ends_[1]);
  }
  void Update(KeyTable&) override {}
  int WaitDescriptor() const override { return ends_[0]; }
  void Send() const { EXPECT_EQ(write(ends_[1], "k", 1), 1); }

 private:
  int ends_[2] = {-1, -1};
};

// The bound is far beyond any scheduling delay, so an early return means a real wake-up.
constexpr uint32_t kLongWaitMs = 20000;

template <typename Wake>
std::chrono::steady_clock::duration TimeToWake(Wake wake) {
  auto began = std::chrono::steady_clock::now();
  wake();
  EventLoopWaiter().WaitForInput(kLongWaitMs);
  return std::chrono::steady_clock::now() - began;
}

TEST(EventLoopWaiter, WakesForTheKeySourceAndForWindowEvents) {
  PipeKeys keys;
  std::thread sender;
  auto by_key = TimeToWake([&] {
    sender = std::thread([&keys] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      keys.Send();
    });
  });
  sender.join();
  EXPECT_LT(by_key, std::chrono::milliseconds(kLongWaitMs / 2));

  bool ran = false;
  auto by_event = TimeToWake([&] { PostTask([&ran] { ran = true; }); });
  EXPECT_TRUE(ran);
  EXPECT_LT(by_event, std::chrono::milliseconds(kLongWaitMs / 2));
}

using IdleTimeAttack = GameTest;

TEST_F(IdleTimeAttack, SleepsInEveryPhaseAndShowsEachTenthOnItsFirstMillisecond) {
  ScriptedPlay play;
  constexpr uint64_t kIdleMs = 10000;
  uint64_t prompt_pumps = 0;
  uint64_t result_pumps = 0;
  uint64_t play_began = 0;
  uint64_t play_pumps = 0;
  // Idles at a prompt, counting the pumps, then presses ENTER.
  auto idle_then_enter = [&play](uint64_t& pumps) {
    return [&play, &pumps](KeyTable&) {
      const uint64_t before = play.Pumps();
      play.After(kIdleMs, [&play, &pumps, before](KeyTable&) {
        pumps = play.Pumps() - before;
        Tap(play, VK_RETURN);
      });
    };
  };
  play.When(AtStartPrompt, idle_then_enter(prompt_pumps));
  play.When(Playing, [&](KeyTable&) { play_began = play.Pumps(); });
  play.When(AtResult, [&, at_result = idle_then_enter(result_pumps)](KeyTable& keys) {
    play_pumps = play.Pumps() - play_began;
    at_result(keys);
  });

  // Each time the label changes, the time shown a millisecond earlier was still the old one.
  std::string shown;
  int changes = 0;
  int late = 0;
  play.EveryQuery([&] {
    if (!Playing()) return;
    if (TimeShown() == shown) return;
    shown = TimeShown();
    if (changes++ > 0 && FormatTime(60 - (PlayedMs() - 1) / 1000.0) == shown) ++late;
  });

  mod_Main::TimeAttack();

  // Spinning would pump once or twice every scripted millisecond.
  EXPECT_LT(prompt_pumps, kIdleMs / 50) << "the start prompt polls without sleeping";
  EXPECT_LT(result_pumps, kIdleMs / 50) << "the result polls without sleeping";
  EXPECT_LT(play_pumps, 60000u / 20) << "play polls without sleeping";
  EXPECT_EQ(changes, 600) << "60.0 is shown first, then every tenth down to 00.1";
  EXPECT_EQ(late, 0) << "tenths shown after their first millisecond";
}

}  // namespace
