#pragma once
// Where a time attack stands, read from its windows as a player would see them.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "game/attack.h"
#include "game/layout.h"
#include "game/mod_Main.h"
#include "game/random_digits.h"
#include "platform/form.h"
#include "platform/system_metrics.h"
#include "platform/testing.h"
#include "rgn/talk_window.h"
#include "tests/scratch_install.h"
#include "tests/scripted_play.h"

// A 1024-pixel screen whose work area ends 720 px down (10800 twips).
inline constexpr DisplayMetrics kTestScreen{
    .width_px = 1024, .height_px = 768, .work_area_bottom_px = 720};

// The game's windows on the test screen, with a settings file of their own.
class GameTest : public testing::Test {
 protected:
  void SetUp() override {
    OverrideDisplayMetrics(&kTestScreen);
    handles_ = LiveHandleCount();
  }
  void TearDown() override {
    UnloadAllFormsExcept("");
    OverrideDisplayMetrics(nullptr);
  }
  // One time attack, with the digits the loop keeps drawing.
  void TimeAttack() { mod_Main::TimeAttack(loop_); }
  ScratchInstall install_;
  mod_Main::LoopState loop_{RandomDigits(2024)};
  size_t handles_ = 0;
};

inline std::string TimeShown() {
  return FindLoadedForm("frmKAITOU")->Label("LT").Caption();
}

inline bool DigitsShown() {
  Form* strip = FindLoadedForm("frmMONDAI");
  return strip && strip->Label("LL", 0).Visible();
}
inline bool AtStartPrompt() {
  return IsLoaded("frmTALK") && !DigitsShown();
}
inline bool Playing() {
  return DigitsShown() && !IsLoaded("frmTALK");
}
inline bool AtResult() {
  return DigitsShown() && IsLoaded("frmTALK");
}

// The digit a cell holds, shown or still hidden. A cell the strip lacks fails the test here
// rather than in the game, whose fatal box would wait for a player.
inline int CellDigit(int cell) {
  if (cell < 0 || cell >= Attack::kCells) {
    ADD_FAILURE() << "the strip has no cell " << cell;
    return 0;
  }
  return FindLoadedForm("frmMONDAI")->Label("LL", cell).Caption()[0] - '0';
}
// The left cell of the pair under the cursor.
inline int CursorPair() {
  const Form& cursor = *FindLoadedForm("frmKAITOU");
  return static_cast<int>(cursor.Left() - LayoutNow().strip_left) / LayoutNow().cell_step;
}
// The ones digit of the sum of the pair under the cursor.
inline int Expected() {
  const int pair = CursorPair();
  return (CellDigit(pair) + CellDigit(pair + 1)) % 10;
}

// What a balloon of each text looks like, drawn before the game runs: drawing one pumps events,
// which the script's actions must not do.
inline std::map<std::string, std::vector<uint32_t>> BalloonPictures(
    const std::vector<std::string>& texts) {
  static const FormDesign kProbe{.name = "frmProbe"};
  std::map<std::string, std::vector<uint32_t>> pictures;
  for (const std::string& text : texts) {
    Form& probe = Reference(kProbe);
    MakeRGNTalkWindow(probe, text, 0, 300, 0);
    pictures[text] = Compose(probe).argb;
    Unload(probe);
  }
  return pictures;
}

// The text of the balloon among those pictured, or "" when it shows none of them.
inline std::string BalloonText(const char* name,
                               const std::map<std::string, std::vector<uint32_t>>& pictures) {
  Form* balloon = FindLoadedForm(name);
  if (!balloon) return "";
  const std::vector<uint32_t> shown = Compose(*balloon).argb;
  for (const auto& [text, picture] : pictures) {
    if (picture == shown) return text;
  }
  return "";
}

// ENTER at the start prompt and again once the result shows.
inline void StartAndFinish(ScriptedPlay& play) {
  play.When(AtStartPrompt, [&play] { play.Tap(VK_RETURN, 5); });
  play.When(AtResult, [&play] { play.Tap(VK_RETURN, 100); });
}
