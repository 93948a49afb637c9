#include <gtest/gtest.h>
#include <malloc.h>

#include <utility>

#include "game/forms.h"
#include "game/mod_Main.h"
#include "platform/form.h"
#include "platform/gdi.h"
#include "platform/testing.h"
#include "tests/game_phases.h"
#include "tests/scripted_play.h"

namespace {

using namespace mod_Main;

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
