#include "game/mod_Main.h"

#include <chrono>

#include "game/digit_keys.h"
#include "game/forms.h"
#include "game/random_digits.h"
#include "game/time_display.h"
#include "platform/form.h"
#include "platform/keyboard.h"
#include "platform/system_metrics.h"
#include "platform/toolkit.h"
#include "platform/twips.h"
#include "rgn/mod_RGN_Proc.h"
#include "scores/high_scores.h"

namespace mod_Main {

std::array<std::string, kCells> DigitRow;
int32_t PairPos = 0;
int32_t CorrectCount = 0;
int32_t StartTick = 0;
float TimeLimit = 60;
int32_t StripLeft = 0;

namespace {

constexpr const char* kStartPrompt = "ENTERキーでタイムアタック開始！ESCキーで終了です。";
constexpr const char* kScoreSuffix = " 回正解！ENTERキーで戻ります。";
constexpr const char* kRankSuffix = " 位にランキングされました。おめでとう！";
constexpr const char* kRankNotSavedSuffix = " 位の記録を保存できませんでした。";
constexpr const char* kNotSaved = "記録を保存できませんでした。";
constexpr int32_t kReadyMs = 1800;
constexpr int32_t kGoMs = 300;

int32_t CursorTop = 0;
int32_t CellStep = 0;
bool EnterDown = false;  // kept from one pass to the next
bool EscDown = false;
bool GameOver = false;

// Every balloon is anchored at the cursor's top right corner, read afresh.
void ShowBalloon(Form& balloon, const std::string& text) {
  Form& cursor = frmKAITOU();
  MakeRGNTalkWindow(balloon, text, cursor.Left() + cursor.Width(), cursor.Top(), 0);
}

// The pump of the wait loops. While the loop goes on and no change of a key waits, it sleeps
// until a key or window event arrives; the pump of the last pass only pumps.
void Pump(bool loop_goes_on) {
  if (loop_goes_on) {
    DoEventsAndWait();
  } else {
    DoEvents();
  }
}

void WaitForEnterRelease() {
  DiscardPresses({VK_RETURN});
  while (EnterDown) {
    EnterDown = IsEnterPressed();
    Pump(EnterDown);
  }
}

void StartPrompt() {
  // Before the prompt can be seen: a press made on seeing it counts.
  EnterDown = false;
  EscDown = false;
  DiscardPresses({VK_RETURN, VK_ESCAPE});
  ShowBalloon(frmTALK(), kStartPrompt);
  // Where keys reach the game only through its own focused window, the cursor takes the focus.
  frmKAITOU().TakeKeyboardFocus();
  while (!EnterDown && !EscDown) {
    EnterDown = IsEnterPressed();
    EscDown = IsEscPressed();
    Pump(!EnterDown && !EscDown);
  }
  Unload(frmTALK());
  if (EscDown) {
    UnloadAllFormsExcept("");
    End();
  }
  // The keyboard is read wherever the player types: digits typed while the game waited at the
  // prompt were meant for another window, not the first pair.
  DiscardPresses(kDigitKeys);
}

void Countdown() {
  ShowBalloon(frmTALK(), "Ready...");
  WaitMilliseconds(kReadyMs);
  Unload(frmTALK());
  ShowBalloon(frmTALK(), "GO!");
  WaitMilliseconds(kGoMs);
  Unload(frmTALK());
}

int ExpectedDigit() {
  int sum = (DigitRow[PairPos][0] - '0') + (DigitRow[PairPos + 1][0] - '0');
  return sum % 10;
}

void TakeCorrectAnswer(int digit) {
  ++CorrectCount;
  DigitRow[PairPos] = std::to_string(digit);
  frmMONDAI().Label("LL", PairPos).SetCaption(DigitRow[PairPos]);
  ++PairPos;
  if (PairPos == kCells - 1) {
    DigitRow[kCells - 1] = RandomDigit();
    frmMONDAI().Label("LL", kCells - 1).SetCaption(DigitRow[kCells - 1]);
    PairPos = 0;
  }
  frmKAITOU().Move(static_cast<float>(StripLeft + CellStep * PairPos),
                   static_cast<float>(CursorTop));
  // One press counts once, however long it is held.
  while (ReadDigitKey() != -1)
    DoEventsAndWait();
  DoEvents();
}

// The second balloon's text: the rank once it is in the file, or that the score could not be
// saved; nothing for a score that did not rank.
std::string RankMessage(int rank) {
  if (!HighScoreSaved()) return rank != 0 ? std::to_string(rank) + kRankNotSavedSuffix : kNotSaved;
  return rank != 0 ? std::to_string(rank) + kRankSuffix : "";
}

void ShowResult() {
  ShowBalloon(frmTALK(), std::to_string(CorrectCount) + kScoreSuffix);
  int rank = RecordHighScore(std::to_string(CorrectCount), "", HigherFirst);
  if (std::string rank_text = RankMessage(rank); !rank_text.empty()) {
    Form& cursor = frmKAITOU();
    Form& score = frmTALK();
    MakeRGNTalkWindow(frmTalk2(), rank_text, cursor.Left() + cursor.Width(),
                      score.Top() + 2 * score.Height(), 0);
  }
  EnterDown = false;
  while (!EnterDown) {
    EnterDown = IsEnterPressed();
    Pump(!EnterDown);
  }
  GameOver = true;
  UnloadAllFormsExcept("frmMenu");
  DoEvents();
}

void Play() {
  for (int i = 0; i < kCells; ++i)
    frmMONDAI().Label("LL", i).SetVisible(true);
  StartTick = TickCount();
  while (!GameOver) {
    // Unsigned difference: play goes on across the wrap of the tick counter.
    uint32_t elapsed = static_cast<uint32_t>(TickCount()) - static_cast<uint32_t>(StartTick);
    std::string shown = FormatTime(TimeLimit - elapsed / 1000.0);
    // ENTER closes the result: only a press made once the end can be seen counts.
    if (TimeValue(shown) <= 0) DiscardPresses({VK_RETURN});
    frmKAITOU().Label("LT").SetCaption(shown);
    if (TimeValue(shown) > 0) {
      int digit = ReadDigitKey();
      if (digit == ExpectedDigit()) {
        TakeCorrectAnswer(digit);
      } else {
        // Nothing to do before a key arrives or the shown time changes.
        DoEventsAndWait(static_cast<uint32_t>(StartTick) + NextTimeChange(TimeLimit, elapsed));
      }
    } else {
      ShowResult();
    }
  }
}

}  // namespace

int32_t CursorWindowTop() {
  return WorkAreaHeight() - PresetHeight(0) - PresetHeight(1);
}

namespace {

void LayOut() {
  StripLeft = WholeDiv(Screen::Width() - kCells * PresetWidth(0), 2);
  CursorTop = CursorWindowTop();
  CellStep = PresetWidth(0);
}

}  // namespace

void FollowScreen() {
  LayOut();
  PlaceStrip();
  Form* cursor = FindLoadedForm("frmKAITOU");
  if (!cursor) return;
  const float dx = static_cast<float>(StripLeft + CellStep * PairPos) - cursor->Left();
  const float dy = static_cast<float>(CursorTop) - cursor->Top();
  cursor->Move(cursor->Left() + dx, cursor->Top() + dy);
  // The balloons hang on the cursor.
  for (const char* name : {"frmTALK", "frmTalk2"}) {
    if (Form* balloon = FindLoadedForm(name))
      balloon->Move(balloon->Left() + dx, balloon->Top() + dy);
  }
}

void TimeAttack() {
  LayOut();
  TimeLimit = 60;

  frmMONDAI().Show();
  frmKAITOU().Label("LT").SetCaption(FormatTime(TimeLimit));
  frmKAITOU().Show();
  PairPos = 0;
  CorrectCount = 0;
  GameOver = false;

  WaitForEnterRelease();
  StartPrompt();
  Countdown();
  Play();
}

void Main() {
  OnScreenChange(FollowScreen);
  SeedRandomDigits(
      static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  for (;;)
    TimeAttack();
}

}  // namespace mod_Main
