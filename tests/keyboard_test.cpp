#include <gtest/gtest.h>

#include "game/digit_keys.h"
#include "platform/keyboard.h"
#include "rgn/mod_RGN_Proc.h"
#include "tests/scripted_play.h"

namespace {

constexpr int16_t kDown = static_cast<int16_t>(0x8000);

TEST(KeyTable, ReportsHeldKeysAndPressesSinceTheLastQuery) {
  KeyTable keys;
  keys.Press(VK_RETURN);
  EXPECT_EQ(keys.Query(VK_RETURN), kDown | 1);
  EXPECT_EQ(keys.Query(VK_RETURN), kDown) << "a query clears the press-since bit";
  keys.Press(VK_RETURN);  // auto-repeat while held
  EXPECT_EQ(keys.Query(VK_RETURN), kDown) << "repeats of a held key are no new press";
  keys.Release(VK_RETURN);
  EXPECT_EQ(keys.Query(VK_RETURN), 0);
  EXPECT_EQ(keys.Query(256), 0);
}

TEST(KeyReadings, DigitsTakeTheLowestAndAHeldOneWithoutPumpingEnterAndEscClearThePress) {
  ScriptedPlay play;
  for (int vk : {VK_0 + 5, VK_NUMPAD0 + 3})
    Tap(play, vk, 0, 0);
  EXPECT_EQ(ReadDigitKey(), 3);
  EXPECT_EQ(ReadDigitKey(), 5) << "5 was not queried while 3 won, so its tap is still there";
  EXPECT_EQ(ReadDigitKey(), -1);
  play.After(0, Press(VK_RETURN));
  EXPECT_EQ(ReadDigitKey(), -1) << "only digits count";

  const uint64_t pumps = play.Pumps();
  play.After(0, Press(VK_NUMPAD0 + 7));
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(ReadDigitKey(), 7);
  EXPECT_EQ(play.Pumps(), pumps) << "a call that finds a key does not pump";
  play.After(0, Release(VK_NUMPAD0 + 7));
  EXPECT_EQ(ReadDigitKey(), -1);
  EXPECT_EQ(play.Pumps(), pumps + 1);

  // ENTER and ESC readings clear the press, so only held keys show again.
  Tap(play, VK_RETURN, 0, 0);
  play.After(0, Press(VK_ESCAPE));
  EXPECT_TRUE(IsEnterPressed());
  EXPECT_FALSE(IsEnterPressed());
  EXPECT_TRUE(IsEscPressed());
  EXPECT_TRUE(IsEscPressed()) << "still held";

  // A discarding reading takes an earlier press away from the next wait.
  Tap(play, VK_RETURN, 0, 0);
  GetAsyncKeyState(VK_RETURN);
  EXPECT_FALSE(IsEnterPressed());
}

}  // namespace
