// The real keyboard source against a private X server, with keys pressed through XTEST.

#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/keyboard.h"
#include "platform/x11/key_source.h"

namespace {

void Xdotool(const std::string& args) {
  ASSERT_EQ(std::system(("xdotool " + args).c_str()), 0) << args;
}

// xdotool lets go of its keys when it exits, so a held key is held by one xdotool that waits.
void HoldForASecond(const std::string& key) {
  Xdotool("keydown " + key + " sleep 1 keyup " + key + " &");
}

TEST(X11KeySourceOpen, AMissingDisplayIsNoSource) {
  std::string why;
  EXPECT_EQ(X11KeySource::Open(":4711", &why), nullptr);
}

using Kind = KeyEvent::Kind;
using Events = std::vector<std::pair<int, Kind>>;

class X11Keys : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  }
  void Open() {
    std::string why;
    source_ = X11KeySource::Open(nullptr, &why);
    ASSERT_TRUE(source_) << why;
  }
  // Everything the server reported up to now, in order. xdotool has finished sending when it
  // returns, so a round trip brings in its events.
  Events Delivered() {
    source_->Sync();
    Events events;
    while (std::optional<KeyEvent> event = source_->Next(false))
      events.emplace_back(event->vk, event->kind);
    return events;
  }
  std::unique_ptr<X11KeySource> source_;
};

TEST_F(X11Keys, KeysOfTheWholeDisplayComeInOrderKeypadDigitsOnlyWithNumLock) {
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(Delivered(), Events{}) << "nothing held at start";
  Xdotool("key 3 shift+4 Return Escape");
  EXPECT_EQ(Delivered(), (Events{{VK_0 + 3, Kind::kPress},
                                 {VK_0 + 3, Kind::kRelease},
                                 {VK_0 + 4, Kind::kPress},
                                 {VK_0 + 4, Kind::kRelease},
                                 {VK_RETURN, Kind::kPress},
                                 {VK_RETURN, Kind::kRelease},
                                 {VK_ESCAPE, Kind::kPress},
                                 {VK_ESCAPE, Kind::kRelease}}))
      << "shift does not matter; keys of no use to the game are left out";

  // The descriptor turns readable for a key, which a read then brings in.
  Xdotool("key 8");
  pollfd waiting{source_->WaitDescriptor(), POLLIN, 0};
  ASSERT_EQ(poll(&waiting, 1, 10000), 1) << "no wake-up for a key";
  std::optional<KeyEvent> first;
  for (int tries = 0; !first && tries < 100; ++tries) {
    first = source_->Next(true);
    if (!first) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(first);
  EXPECT_EQ(first->vk, VK_0 + 8);
  EXPECT_EQ(first->kind, Kind::kPress);
  EXPECT_EQ(Delivered(), (Events{{VK_0 + 8, Kind::kRelease}}));

  Xdotool("key KP_End");  // keypad 1 with Num Lock off
  EXPECT_EQ(Delivered(), Events{});
  Xdotool("key Num_Lock KP_End Num_Lock");
  EXPECT_EQ(Delivered(),
            (Events{{VK_NUMPAD0 + 1, Kind::kPress}, {VK_NUMPAD0 + 1, Kind::kRelease}}));
}

TEST_F(X11Keys, AKeyHeldAtStartIsDownAndStillReleasedAfterTheKeyboardMapChanged) {
  HoldForASecond("6");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(Delivered(), (Events{{VK_0 + 6, Kind::kHeld}})) << "down without a press";
  // The same map loaded again, as a layout switch or a new keyboard would: the server tells
  // every client that the map changed while the key is down.
  ASSERT_EQ(std::system("map=$(mktemp) && xmodmap -pke >\"$map\" && xmodmap \"$map\"; "
                        "status=$?; rm -f \"$map\"; exit $status"),
            0);
  Delivered();
  std::this_thread::sleep_for(std::chrono::seconds(1));
  Events released = Delivered();
  EXPECT_NE(std::find(released.begin(), released.end(), std::pair(VK_0 + 6, Kind::kRelease)),
            released.end())
      << "stuck down after the map changed";
}

}  // namespace
