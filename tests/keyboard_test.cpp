// The keyboard as the game's loops see it: changes of keys in the order they happened, one per
// pass, whatever the device delivered in one read; each checked against what a poller fast
// enough to see every change would report.

#include <gtest/gtest.h>

#include <vector>

#include "game/key_readings.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/pump.h"
#include "tests/scripted_play.h"

namespace {

constexpr int16_t kDown = static_cast<int16_t>(0x8000);

TEST(KeyTable, ReportsHeldKeysAndPressesSinceTheLastQuery) {
  KeyTable keys;
  keys.Apply({VK_RETURN, KeyEvent::Kind::kPress});
  EXPECT_EQ(keys.Query(VK_RETURN), kDown | 1);
  EXPECT_EQ(keys.Query(VK_RETURN), kDown) << "a query clears the press-since bit";
  keys.Apply({VK_RETURN, KeyEvent::Kind::kRelease});
  EXPECT_EQ(keys.Query(VK_RETURN), 0);
  keys.Apply({VK_0, KeyEvent::Kind::kHeld});
  EXPECT_EQ(keys.Query(VK_0), kDown) << "held at start: down without a press";
  EXPECT_FALSE(keys.Changes({256, KeyEvent::Kind::kPress}));
  EXPECT_EQ(keys.Query(256), 0);
}

// One pass of a wait loop: what ReadDigitKey reports, then the pump.
int Look() {
  int digit = ReadDigitKey();
  DoEvents();
  return digit;
}

TEST(KeyStream, EachPassSeesTheNextChangeWhateverOneReadDelivered) {
  ScriptedPlay play;
  // Everything below arrives in one read, before the first look.
  for (auto [vk, kind] : std::vector<std::pair<int, KeyEvent::Kind>>{
           {VK_0 + 5, KeyEvent::Kind::kPress},          // held on
           {VK_NUMPAD0 + 3, KeyEvent::Kind::kPress},    // tapped while 5 is down
           {VK_NUMPAD0 + 3, KeyEvent::Kind::kRelease},  //
           {VK_0 + 5, KeyEvent::Kind::kPress},          // auto-repeat: no change
           {VK_0 + 5, KeyEvent::Kind::kRelease},        //
           {VK_0 + 7, KeyEvent::Kind::kPress},          // a tap between two looks
           {VK_0 + 7, KeyEvent::Kind::kRelease},        //
           {VK_RETURN, KeyEvent::Kind::kPress}})        // not a digit
    play.Happen({vk, kind});
  std::vector<int> seen;
  for (int pass = 0; pass < 8; ++pass)
    seen.push_back(Look());
  // A fast poller: 5 goes down; 3 goes down (the lowest wins); 3 goes up with 5 still down;
  // 5 goes up; 7 goes down and up, its press still reported once; ENTER.
  EXPECT_EQ(seen, (std::vector<int>{5, 3, 5, -1, 7, -1, -1, -1}));
}

TEST(KeyStream, TheReleaseWaitEndsAtTheReleaseAndANewPressInTheSameReadIsAnAnswer) {
  ScriptedPlay play;
  play.Happen({VK_0 + 4, KeyEvent::Kind::kPress});
  ASSERT_EQ(Look(), 4);
  // The player lets go and types 4 again; both arrive in one read.
  play.Happen({VK_0 + 4, KeyEvent::Kind::kRelease});
  play.Happen({VK_0 + 4, KeyEvent::Kind::kPress});
  int waited = 0;
  while (ReadDigitKey() != -1) {
    DoEventsAndWait();
    ASSERT_LT(++waited, 10);
  }
  EXPECT_EQ(Look(), 4) << "the new press was taken for the held key";
}

TEST(KeyStream, AQueryNeverTakesInAPressItThenClears) {
  ScriptedPlay play;
  DoEvents();
  EXPECT_FALSE(IsEnterPressed());
  // ENTER goes down and up while the pass is still querying: it waits for the next pass.
  play.Happen({VK_RETURN, KeyEvent::Kind::kPress});
  play.Happen({VK_RETURN, KeyEvent::Kind::kRelease});
  EXPECT_FALSE(IsEnterPressed());
  EXPECT_FALSE(IsEscPressed());
  EXPECT_EQ(ReadDigitKey(), -1);
  EXPECT_TRUE(IsEnterPressed()) << "seen by the pass after ReadDigitKey's pump";
  DoEvents();
  EXPECT_FALSE(IsEnterPressed());
}

TEST(KeyStream, ADiscardingReadingDropsEarlierPressesOnlyAndKeepsHeldKeysDown) {
  ScriptedPlay play;
  play.Tap(VK_RETURN, 0, 1);
  play.After(2, play.Press(VK_ESCAPE));
  play.After(3, play.Press(VK_0 + 1));
  play.After(4, [] { DiscardPresses({VK_RETURN, VK_ESCAPE}); });
  play.After(50, play.Press(VK_RETURN));
  while (play.Elapsed() < 10)
    DoEvents();
  // All taken in at the discard: ENTER's tap is forgotten, ESC is held, 1 keeps its press.
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), kDown);
  EXPECT_EQ(GetAsyncKeyState(VK_0 + 1), kDown | 1);
  while (play.Elapsed() < 51)
    DoEvents();
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), kDown | 1) << "a press after the discard counts";
}

TEST(WaitingPump, SleepsOnlyWhenNoChangeWaitsAndWakesForKeysAndDeadlines) {
  ScriptedPlay play(1000);
  play.Happen({VK_0, KeyEvent::Kind::kPress});
  play.Happen({VK_0, KeyEvent::Kind::kRelease});
  DoEventsAndWait();
  EXPECT_EQ(Look(), 0);
  DoEventsAndWait();
  EXPECT_EQ(play.Waits(), 0u) << "slept with the release not yet seen";
  EXPECT_EQ(Look(), -1);

  uint64_t before = play.Elapsed();
  play.After(5000, play.Press(VK_RETURN));
  DoEventsAndWait();
  EXPECT_EQ(play.Waits(), 1u);
  EXPECT_EQ(play.Elapsed(), before + 5000) << "no bound: asleep until the key came";
  EXPECT_TRUE(IsEnterPressed());

  before = play.Elapsed();
  DoEventsAndWait(GetTickCount() + 40);
  EXPECT_EQ(play.Elapsed(), before + 40) << "up to the deadline, its pump included";
  DoEventsAndWait(GetTickCount());
  EXPECT_EQ(play.Waits(), 2u) << "a deadline already reached does not sleep";

  // A wait that polls no key, as for another copy's lock, sleeps with a change waiting and
  // leaves it to the next poll.
  play.Happen({VK_RETURN, KeyEvent::Kind::kRelease});
  before = play.Elapsed();
  DoEventsUntil(GetTickCount() + 40);
  EXPECT_EQ(play.Waits(), 3u);
  EXPECT_EQ(play.Elapsed(), before + 40 + 1) << "up to the deadline, then a last pump";
  EXPECT_FALSE(IsEnterPressed());
}

}  // namespace
