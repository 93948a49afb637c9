// The real keyboard source against a private X server, with keys pressed through XTEST.

#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "platform/keyboard.h"
#include "platform/x11/key_source.h"

namespace {

constexpr int16_t kDown = static_cast<int16_t>(0x8000);

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

class X11Keys : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  }
  // Opens the source and takes in the keyboard as it is.
  void Open() {
    std::string why;
    source_ = X11KeySource::Open(nullptr, &why);
    ASSERT_TRUE(source_) << why;
    source_->UpdateNow(keys_);
    keys_.TakeChanged();
  }
  // Gives the server time to deliver what xdotool sent, then takes it in.
  void Deliver() {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    source_->Update(keys_);
  }
  std::unique_ptr<X11KeySource> source_;
  KeyTable keys_;
};

TEST_F(X11Keys, TapsBetweenPollsHeldKeysAndKeypadDigitsWithNumLockAreReportedGlobally) {
  ASSERT_NO_FATAL_FAILURE(Open());
  Xdotool("key 3");
  Deliver();
  EXPECT_EQ(keys_.Query(VK_0 + 3), 1) << "pressed and released between two polls";
  EXPECT_EQ(keys_.Query(VK_0 + 3), 0);

  HoldForASecond("5");
  Deliver();
  EXPECT_EQ(keys_.Query(VK_0 + 5), kDown | 1);
  EXPECT_EQ(keys_.Query(VK_0 + 5), kDown);
  std::this_thread::sleep_for(std::chrono::seconds(1));
  Deliver();
  EXPECT_EQ(keys_.Query(VK_0 + 5), 0);

  Xdotool("key shift+4");
  Deliver();
  EXPECT_EQ(keys_.Query(VK_0 + 4), 1) << "shift does not matter";

  // The descriptor turns readable for a key, which UpdateNow takes in.
  keys_.TakeChanged();
  Xdotool("key 8");
  pollfd waiting{source_->WaitDescriptor(), POLLIN, 0};
  ASSERT_EQ(poll(&waiting, 1, 10000), 1) << "no wake-up for a key";
  source_->UpdateNow(keys_);
  EXPECT_TRUE(keys_.TakeChanged());
  EXPECT_EQ(keys_.Query(VK_0 + 8) & 1, 1) << "the press reached the table";

  Xdotool("key KP_End");  // keypad 1 with Num Lock off
  Deliver();
  EXPECT_EQ(keys_.Query(VK_NUMPAD0 + 1), 0);
  EXPECT_EQ(keys_.Query(VK_0 + 1), 0);
  Xdotool("key Num_Lock KP_End Num_Lock");
  Deliver();
  EXPECT_EQ(keys_.Query(VK_NUMPAD0 + 1), 1);
}

TEST_F(X11Keys, AKeyHeldAtStartIsDownAndStillReleasedAfterTheKeyboardMapChanged) {
  HoldForASecond("6");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(keys_.Query(VK_0 + 6), kDown) << "held at start: down without a press";
  // The same map loaded again, as a layout switch or a new keyboard would: the server tells
  // every client that the map changed while the key is down.
  ASSERT_EQ(std::system("map=$(mktemp) && xmodmap -pke >\"$map\" && xmodmap \"$map\"; "
                        "status=$?; rm -f \"$map\"; exit $status"),
            0);
  Deliver();
  std::this_thread::sleep_for(std::chrono::seconds(1));
  Deliver();
  EXPECT_EQ(keys_.Query(VK_0 + 6), 0) << "stuck down after the map changed";
}

}  // namespace
