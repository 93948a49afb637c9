#include <gtest/gtest.h>
#include <malloc.h>

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

// A taller, wider screen: the strip centred at 6900 twips, the cells' top 942 px down.
constexpr DisplayMetrics kLargerScreen{
    .width_px = 1280, .height_px = 1024, .work_area_bottom_px = 960};

std::vector<int> Cells() {
  std::vector<int> digits;
  for (int i = 0; i < Attack::kCells; ++i)
    digits.push_back(CellDigit(i));
  return digits;
}

// After the change everything stands where a time attack begun now would put it, and the cells
// keep their digits, shown or hidden. The strip covers the work area; of its first and last cell
// it shows the cut corners, rim, face, shadow and the gap after it, and nothing outside them.
void ChangeScreenAndExpectLayout(const DisplayMetrics& screen, int32_t strip_left,
                                 int32_t work_area_bottom, int pair) {
  const std::vector<int> row = Cells();
  const bool shown = DigitsShown();
  ChangeScreen(&screen);
  const int32_t cursor_top = work_area_bottom - 270 - 525;
  Form& cursor = *FindLoadedForm("frmKAITOU");
  EXPECT_EQ(cursor.Left(), strip_left + 270 * pair);
  EXPECT_EQ(cursor.Top(), cursor_top);
  if (Form* balloon = FindLoadedForm("frmTALK")) {
    EXPECT_EQ(balloon->Left(), cursor.Left() + cursor.Width())
        << "the balloon's tail at the cursor";
    EXPECT_EQ(balloon->Top(), cursor_top - 270);
  }
  const Snapshot shot = Compose(frmMONDAI());
  ASSERT_EQ(std::pair(shot.width, shot.height),
            std::pair(screen.width_px, screen.work_area_bottom_px));
  const int left = strip_left / 15, top = (work_area_bottom - 270) / 15;
  for (int i : {0, 19}) {
    const int x = left + 18 * i;
    for (auto [dx, dy] : {std::pair{1, 1}, {1, 16}, {16, 1}, {16, 16}})
      EXPECT_FALSE(shot.Shows(x + dx, top + dy)) << "cut corner of cell " << i;
    EXPECT_EQ(shot.ColorAt(x + 2, top + 1), kBlack) << "rim";
    EXPECT_EQ(shot.ColorAt(x + 5, top + 5), Rgb(192, 192, 192)) << "face";
    EXPECT_EQ(shot.ColorAt(x + 15, top + 8), Rgb(128, 128, 128)) << "shadow";
    EXPECT_FALSE(shot.Shows(x + 17, top + 8)) << "gap";
    EXPECT_FALSE(shot.Shows(x + 18, top)) << "gap";
  }
  EXPECT_FALSE(shot.Shows(left - 18, top + 8)) << "the work area outside the cells";
  for (int i = 0; i < Attack::kCells; ++i)
    EXPECT_EQ(frmMONDAI().Label("LL", i).Left(), strip_left + 270 * i - 54);
  EXPECT_EQ(Cells(), row);
  EXPECT_EQ(DigitsShown(), shown);
}

// A screen change at the prompt, and another in play with the cursor a cell on, back to the
// test screen: the cells rest on its work area with two-pixel gaps. The cursor's shape is left
// to shapes_test.
TEST_F(GameWindows, StripCursorAndBalloonFollowTheScreenWhereANewTimeAttackWouldPutThem) {
  ScriptedPlay play(0, 40);
  int followed = 0;
  play.When(AtStartPrompt, [&] {
    ChangeScreenAndExpectLayout(kLargerScreen, 6900, 14400, 0);
    ++followed;
    play.Tap(VK_RETURN, 5);
  });
  play.When(Playing, [&] { play.Tap(VK_0 + Expected(), 10); });
  play.When([] { return Playing() && CursorPair() == 1; },
            [&] {
              ChangeScreenAndExpectLayout(kTestScreen, 4980, 10800, 1);
              ++followed;
            });
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
