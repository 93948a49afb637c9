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

// Gives the server time to deliver what xdotool sent, then takes it in.
void Deliver(X11KeySource& source, KeyTable& keys) {
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  source.Update(keys);
}

std::unique_ptr<X11KeySource> OpenKeySource() {
  std::string why;
  std::unique_ptr<X11KeySource> source = X11KeySource::Open(nullptr, &why);
  EXPECT_TRUE(source) << why;
  return source;
}

TEST(X11KeySourceOpen, AMissingDisplayIsNoSourceAndSaysWhy) {
  std::string why;
  EXPECT_EQ(X11KeySource::Open(":4711", &why), nullptr);
  EXPECT_EQ(why, "cannot open the X display (is DISPLAY set?)");
}

class X11Keys : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  }
};

TEST_F(X11Keys, TapsBetweenPollsAndHeldKeysAreReportedGlobally) {
  std::unique_ptr<X11KeySource> opened = OpenKeySource();
  ASSERT_TRUE(opened);
  X11KeySource& source = *opened;
  KeyTable keys;
  source.Update(keys);

  Xdotool("key 3");
  Deliver(source, keys);
  EXPECT_EQ(keys.Query(VK_0 + 3), 1) << "pressed and released between two polls";
  EXPECT_EQ(keys.Query(VK_0 + 3), 0);

  HoldForASecond("5");
  Deliver(source, keys);
  EXPECT_EQ(keys.Query(VK_0 + 5), kDown | 1);
  EXPECT_EQ(keys.Query(VK_0 + 5), kDown);
  std::this_thread::sleep_for(std::chrono::seconds(1));
  Deliver(source, keys);
  EXPECT_EQ(keys.Query(VK_0 + 5), 0);

  Xdotool("key shift+4");
  Deliver(source, keys);
  EXPECT_EQ(keys.Query(VK_0 + 4), 1) << "shift does not matter";

  Xdotool("key KP_Enter Escape Return");
  Deliver(source, keys);
  EXPECT_EQ(keys.Query(VK_RETURN), 1);
  EXPECT_EQ(keys.Query(VK_ESCAPE), 1);
}

TEST_F(X11Keys, KeysHeldAtStartAreDownAndKeypadDigitsCountOnlyWithNumLock) {
  HoldForASecond("7");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  std::unique_ptr<X11KeySource> opened = OpenKeySource();
  ASSERT_TRUE(opened);
  X11KeySource& source = *opened;
  KeyTable keys;
  source.Update(keys);
  EXPECT_EQ(keys.Query(VK_0 + 7), kDown) << "held at start: down without a press";

  Xdotool("key KP_End");  // keypad 1 with Num Lock off
  Deliver(source, keys);
  EXPECT_EQ(keys.Query(VK_NUMPAD0 + 1), 0);
  EXPECT_EQ(keys.Query(VK_0 + 1), 0);

  Xdotool("key Num_Lock");
  Xdotool("key KP_End");
  Xdotool("key Num_Lock");
  Deliver(source, keys);
  EXPECT_EQ(keys.Query(VK_NUMPAD0 + 1), 1);
}

TEST_F(X11Keys, AKeyHeldWhileTheKeyboardMapChangesIsStillReleased) {
  std::unique_ptr<X11KeySource> opened = OpenKeySource();
  ASSERT_TRUE(opened);
  X11KeySource& source = *opened;
  KeyTable keys;
  source.Update(keys);
  HoldForASecond("6");
  Deliver(source, keys);
  ASSERT_EQ(keys.Query(VK_0 + 6), kDown | 1);
  // The same map loaded again, as a layout switch or a new keyboard would: the server tells
  // every client that the map changed while the key is down.
  ASSERT_EQ(std::system("map=$(mktemp) && xmodmap -pke >\"$map\" && xmodmap \"$map\"; "
                        "status=$?; rm -f \"$map\"; exit $status"),
            0);
  Deliver(source, keys);
  std::this_thread::sleep_for(std::chrono::seconds(1));
  Deliver(source, keys);
  EXPECT_EQ(keys.Query(VK_0 + 6), 0) << "stuck down after the map changed";
}

TEST_F(X11Keys, ItsDescriptorTurnsReadableForAKeyThatUpdateNowTakesIn) {
  std::unique_ptr<X11KeySource> opened = OpenKeySource();
  ASSERT_TRUE(opened);
  X11KeySource& source = *opened;
  KeyTable keys;
  source.UpdateNow(keys);
  keys.TakeChanged();

  Xdotool("key 8");
  pollfd waiting{source.WaitDescriptor(), POLLIN, 0};
  ASSERT_EQ(poll(&waiting, 1, 10000), 1) << "no wake-up for a key";
  source.UpdateNow(keys);
  EXPECT_TRUE(keys.TakeChanged());
  EXPECT_EQ(keys.Query(VK_0 + 8) & 1, 1) << "the press reached the table";
}

}  // namespace
