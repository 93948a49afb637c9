#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "menu/chart.h"
#include "menu/forms.h"
#include "menu/records_layout.h"
#include "platform/form.h"
#include "platform/keyboard.h"
#include "platform/local_time.h"
#include "platform/testing.h"
#include "scores/history_store.h"
#include "tests/history/attacks.h"
#include "tests/scratch_install.h"
#include "tests/scripted_play.h"

namespace {

using namespace records_layout;

LocalDateTime DaysAgo(int days) {
  LocalDateTime when = DateOfDay(DayNumber(LocalDateTimeOf(LocalTimeNow())) - days);
  when.hour = 12;
  return when;
}

// i correct answers in the i-th five seconds, and two wrong presses in the fourth.
AttackRecord RisingAttack(const LocalDateTime& started) {
  std::vector<Typed> typed;
  for (uint32_t interval = 0; interval < 12; ++interval) {
    for (uint32_t answer = 0; answer < interval; ++answer)
      typed.push_back({interval * 5000 + answer * 400, 1, 2, 3});
    if (interval == 3) typed.insert(typed.end(), {{16900, 1, 2, 4}, {16999, 1, 2, 5}});
  }
  return Attack(started, typed);
}

class RecordsWindow : public testing::Test {
 protected:
  void TearDown() override {
    if (IsLoaded("frmRecords")) Unload(frmRecords());
  }
  ScratchInstall install_;
};

// The axis runs to 12 in steps of 2 (25 pixels an answer); each bar is sampled just inside its
// top and just above it, at its left edge, clear of the curves drawn through the bars' middles.
TEST_F(RecordsWindow, TheLastCurveStandsAsSharpBarsWhereItsAnswersFell) {
  // Twelve answers in every five seconds, long ago: the best curve lies flat along the top.
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(DaysAgo(60), 144)));
  ASSERT_TRUE(RecordTimeAttack(RisingAttack(DaysAgo(1))));
  const Snapshot shot = Compose(frmRecords());
  ASSERT_EQ(shot.width, static_cast<int>(kWidth));
  ASSERT_EQ(shot.height, static_cast<int>(kHeight));
  constexpr float kPerAnswer = (kCurveBottom - kCurveTop) / 12;
  const int bottom = static_cast<int>(kCurveBottom);
  for (int interval = 0; interval < 12; ++interval) {
    SCOPED_TRACE(interval);
    const int x = static_cast<int>(kCurveLeft + kIntervalWidth * interval + kBarInset + 1);
    const int top = static_cast<int>(kCurveBottom - kPerAnswer * interval);
    EXPECT_NE(shot.ColorAt(x, top - 3), chart::kBar);
    EXPECT_EQ(shot.ColorAt(x, top + 2) == chart::kBar, interval > 0);
    EXPECT_EQ(shot.ColorAt(x, bottom - 2) == chart::kBar, interval > 0);
    EXPECT_NE(shot.ColorAt(x - 2, bottom - 2), chart::kBar) << "between bars";
  }
  // The wrong presses of the fourth interval, in red below its label.
  auto red_in = [&](int interval) {
    const int left = static_cast<int>(kCurveLeft + kIntervalWidth * interval);
    for (int y = bottom + 20; y < bottom + 36; ++y) {
      for (int x = left; x < left + kIntervalWidth; ++x) {
        const uint32_t c = shot.ColorAt(x, y);
        if (((c >> 16) & 0xFF) > 150 && ((c >> 8) & 0xFF) < 100) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(red_in(3));
  EXPECT_FALSE(red_in(4));
  // The best curve: flat at twelve, along the top rule.
  EXPECT_EQ(shot.ColorAt(static_cast<int>(kCurveLeft + kIntervalWidth * 5), kCurveTop),
            chart::kBest);

  // At twice the pixels, a bar's edges and the rules stay on whole device pixels.
  const Snapshot twice = Compose(frmRecords(), 2);
  ASSERT_EQ(twice.width, static_cast<int>(2 * kWidth));
  const int left = static_cast<int>(2 * (kCurveLeft + kIntervalWidth * 11 + kBarInset));
  EXPECT_EQ(twice.ColorAt(left, 2 * bottom - 10), chart::kBar);
  EXPECT_EQ(twice.ColorAt(left - 1, 2 * bottom - 10), chart::kBackground) << "no blurred edge";
  EXPECT_EQ(twice.ColorAt(left + 10, 2 * bottom), chart::kQuiet);
  EXPECT_EQ(twice.ColorAt(left + 10, 2 * bottom + 1), chart::kQuiet) << "a rule two pixels thick";
  EXPECT_NE(twice.ColorAt(left + 10, 2 * bottom + 2), chart::kQuiet);
}

// 7+8 answered three times in 3 s each, 1+2 ten times in 0.1 s, 4+4 once right and once wrong.
TEST_F(RecordsWindow, TheGridsShadeEachPairByItsTimeAndItsErrors) {
  std::vector<Typed> typed = {{3000, 7, 8, 5}, {6000, 7, 8, 5}, {9000, 7, 8, 5}};
  for (uint32_t i = 1; i <= 10; ++i)
    typed.push_back({9000 + 100 * i, 1, 2, 3});
  typed.insert(typed.end(), {{11000, 4, 4, 9}, {11500, 4, 4, 8}});
  ASSERT_TRUE(RecordTimeAttack(Attack(DaysAgo(0), typed)));
  Form& window = frmRecords();
  window.KeyPressed(VK_0 + 3, 0);
  const Snapshot shot = Compose(window);
  auto cell = [&](float grid_left, int left, int right) {
    return shot.ColorAt(static_cast<int>(grid_left + kCell * right) + 2,
                        static_cast<int>(kGridTop + kCell * left) + 2);
  };
  EXPECT_EQ(cell(kTimeGridLeft, 7, 8), Rgb(204, 84, 16)) << "the slowest";
  EXPECT_EQ(cell(kTimeGridLeft, 1, 2), Rgb(255, 246, 232)) << "the fastest";
  EXPECT_EQ(cell(kTimeGridLeft, 8, 7), chart::kPanel) << "never asked";
  EXPECT_EQ(cell(kErrorGridLeft, 4, 4), Rgb(190, 30, 45)) << "half of its presses wrong";
  EXPECT_EQ(cell(kErrorGridLeft, 7, 8), Rgb(255, 255, 255)) << "never wrong";
  // The slowest pair is framed.
  EXPECT_EQ(shot.ColorAt(static_cast<int>(kTimeGridLeft + kCell * 8) - 1,
                         static_cast<int>(kGridTop + kCell * 7) + 10),
            chart::kText);
}

// The views go round with Tab, the arrows and the digits, or a click on their tabs.
TEST_F(RecordsWindow, KeysAndTabsMoveBetweenTheViewsAndEscCloses) {
  ASSERT_TRUE(RecordTimeAttack(RisingAttack(DaysAgo(0))));
  Form& window = frmRecords();
  auto after = [&](int key, int shift) {
    window.KeyPressed(key, shift);
    return Compose(window).argb;
  };
  const auto curve = Compose(window).argb;
  const auto history = after(VK_TAB, 0);
  const auto sums = after(VK_RIGHT, 0);
  EXPECT_TRUE(history != curve && sums != history);
  EXPECT_EQ(after(VK_TAB, 0), curve) << "round to the first";
  EXPECT_EQ(after(VK_TAB, 1), sums) << "Shift+Tab goes back";
  EXPECT_EQ(after(VK_0 + 2, 0), history);
  EXPECT_EQ(after(VK_HOME, 0), curve);
  window.MousePressed(MouseButton::Left, 0,
                      static_cast<int>(kTabLeft + 2 * (kTabWidth + kTabGap) + 5),
                      static_cast<int>(kTabTop + 5));
  EXPECT_EQ(Compose(window).argb, sums);
  window.KeyPressed(VK_ESCAPE, 0);
  EXPECT_FALSE(IsLoaded("frmRecords"));
}

// Closing the menu holder ends the program: this runs in a child process, which says by its
// exit status what it found.
void OpenFromTheMenuAndPressEsc() {
  ScriptedPlay play;
  int16_t game_saw = -1;
  PostTask([&] {
    if (!ChoosePopupItem("ハイスコア") || !ChoosePopupItem("成績の記録...")) std::_Exit(3);
    PostTask([&] {  // in the window's own loop
      play.Happen({VK_ESCAPE, KeyEvent::Kind::kPress});
      game_saw = GetAsyncKeyState(VK_ESCAPE);
      FindLoadedForm("frmRecords")->KeyPressed(VK_ESCAPE, 0);
    });
  });
  PopupMenu(frmMenu(), frmMenu().Menu("mpop"));
  if (game_saw != 0) std::_Exit(4);
  if (IsLoaded("frmRecords")) std::_Exit(5);
  // Still held once the window has closed, and still not the game's.
  std::_Exit(GetAsyncKeyState(VK_ESCAPE) == 0 ? 7 : 6);
}

TEST_F(RecordsWindow, OpensFromTheHighScoreSubmenuAndKeepsItsKeysFromTheGame) {
  EXPECT_EXIT(OpenFromTheMenuAndPressEsc(), testing::ExitedWithCode(7), "");
}

TEST_F(RecordsWindow, SaysSoWhenTheHistoryCannotBeRead) {
  std::filesystem::create_directory(HistoryFilePath());
  testing::internal::CaptureStderr();
  Form& window = frmRecords();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("cannot read the history"), std::string::npos) << said;
  bool told = false;
  for (const DrawnText& text : window.Drawn().Texts())
    told = told || text.text.starts_with("成績の記録を読めませんでした");
  EXPECT_TRUE(told);
}

}  // namespace
