#include <gtest/gtest.h>
#include <malloc.h>

#include <functional>
#include <utility>
#include <vector>

#include "game/forms.h"
#include "game/mod_Main.h"
#include "platform/form.h"
#include "platform/gdi.h"
#include "platform/testing.h"
#include "tests/game_phases.h"
#include "tests/scripted_play.h"

namespace {

using GameWindows = GameTest;

// The cursor's place is left to the time attacks and the screenshots, its shape to shapes_test.
TEST_F(GameWindows, StripCellsRestOnTheWorkAreaWithTwoPixelGaps) {
  Snapshot shot = Compose(frmMONDAI());
  ASSERT_EQ(std::pair(shot.width, shot.height), std::pair(1024, 720));
  const int top = 10530 / 15;  // 702
  for (int i : {0, 19}) {
    const int left = (4980 + 270 * i) / 15;
    for (auto [x, y] : {std::pair{1, 1}, {1, 16}, {16, 1}, {16, 16}})
      EXPECT_FALSE(shot.Shows(left + x, top + y)) << "cut corner of cell " << i;
    EXPECT_EQ(shot.ColorAt(left + 2, top + 1), kBlack) << "rim";
    EXPECT_EQ(shot.ColorAt(left + 5, top + 5), Rgb(192, 192, 192)) << "face";
    EXPECT_EQ(shot.ColorAt(left + 15, top + 8), Rgb(128, 128, 128)) << "shadow";
    EXPECT_FALSE(shot.Shows(left + 17, top + 8)) << "gap";
    EXPECT_FALSE(shot.Shows(left + 18, top)) << "gap";
  }
  EXPECT_FALSE(shot.Shows(10, 10)) << "the work area outside the cells is not the window's";
}

// A taller, wider screen: the strip centred at 6900 twips, the cells' top 942 px down.
constexpr DisplayMetrics kLargerScreen{
    .width_px = 1280, .height_px = 1024, .work_area_bottom_px = 960};

// Everything stands where a time attack begun now would put it, and the cells keep their digits.
void ExpectLaidOutFor(int32_t strip_left, int32_t work_area_bottom, int pair) {
  const int32_t cursor_top = work_area_bottom - 270 - 525;
  Form& cursor = *FindLoadedForm("frmKAITOU");
  EXPECT_EQ(cursor.Left(), strip_left + 270 * pair);
  EXPECT_EQ(cursor.Top(), cursor_top);
  if (Form* balloon = FindLoadedForm("frmTALK")) {
    EXPECT_EQ(balloon->Left(), cursor.Left() + cursor.Width())
        << "the balloon's tail at the cursor";
    EXPECT_EQ(balloon->Top(), cursor_top - 270);
  }
  Snapshot strip = Compose(frmMONDAI());
  const int left = strip_left / 15;
  const int top = (work_area_bottom - 270) / 15;
  EXPECT_EQ(strip.ColorAt(left + 2, top + 1), kBlack) << "cell 0's rim";
  EXPECT_EQ(strip.ColorAt(left + 19 * 18 + 5, top + 5), Rgb(192, 192, 192)) << "cell 19's face";
  EXPECT_FALSE(strip.Shows(left - 18, top + 8)) << "nothing left of the cells";
  for (int i = 0; i < Attack::kCells; ++i)
    EXPECT_EQ(frmMONDAI().Label("LL", i).Left(), strip_left + 270 * i - 54);
}

// A screen change at the prompt, and another in play: everything moves, nothing else changes.
TEST_F(GameWindows, FollowScreenPutsStripCursorAndBalloonWhereANewTimeAttackWould) {
  ScriptedPlay play(0, 40);
  std::vector<int> row;
  auto cells = [] {
    std::vector<int> digits;
    for (int i = 0; i < Attack::kCells; ++i)
      digits.push_back(CellDigit(i));
    return digits;
  };
  int followed = 0;
  play.When(AtStartPrompt, [&] {
    row = cells();
    ChangeScreen(&kLargerScreen);
    ExpectLaidOutFor(6900, 14400, 0);
    EXPECT_EQ(cells(), row);
    EXPECT_FALSE(DigitsShown());
    ++followed;
    play.Tap(VK_RETURN, 5);
  });
  // Back to the test screen in play, with the cursor three cells on.
  play.When([] { return Playing() && CursorPair() == 3; },
            [&] {
              row = cells();
              ChangeScreen(&kTestScreen);
              ExpectLaidOutFor(4980, 10800, 3);
              EXPECT_EQ(cells(), row);
              EXPECT_TRUE(DigitsShown());
              ++followed;
            });
  std::function<void(int)> answer_at = [&](int pair) {
    play.When([pair] { return Playing() && CursorPair() == pair; },
              [&, pair] {
                play.Tap(VK_0 + Expected(), 10);
                if (pair < 2) answer_at(pair + 1);
              });
  };
  answer_at(0);
  play.When(AtResult, [&play] { play.Tap(VK_RETURN, 100); });
  TimeAttack();
  EXPECT_EQ(followed, 2);
}

// Heap bytes in use; the sanitizers keep freed memory aside, so there it tells nothing.
size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return 0;
#else
  return mallinfo2().uordblks;
#endif
}

TEST_F(GameWindows, TimeAttacksLeaveNoHandleAndNoMemoryBehind) {
  ScriptedPlay play(0, 40);
  constexpr int kAttacks = 100;
  size_t heap_after_warm_up = 0;
  for (int attack = 1; attack <= kAttacks; ++attack) {
    const HandleTally before = HandleTallies();
    StartAndFinish(play);
    TimeAttack();
    ASSERT_EQ(LiveHandleCount(), handles_) << "after time attack " << attack;
    // Every handle made is gone, and nothing tried to delete one twice or one it never had.
    const HandleTally after = HandleTallies();
    ASSERT_GT(after.added, before.added);
    ASSERT_EQ(after.removed - before.removed, after.added - before.added);
    ASSERT_EQ(after.missed_deletes, before.missed_deletes) << "after time attack " << attack;
    if (attack == 10) heap_after_warm_up = HeapInUse();
  }
  // Ninety more time attacks may not keep anything: a leak of one window a time attack
  // would hold megabytes.
  EXPECT_LT(HeapInUse(), heap_after_warm_up + 512 * 1024);
}

}  // namespace
