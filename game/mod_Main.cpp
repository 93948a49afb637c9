#include "game/mod_Main.h"

#include <chrono>

#include "game/attack.h"
#include "game/forms.h"
#include "game/key_readings.h"
#include "game/layout.h"
#include "game/time_display.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/form.h"
#include "platform/keyboard.h"
#include "platform/pump.h"
#include "platform/system_metrics.h"
#include "rgn/talk_window.h"
#include "scores/high_scores.h"
#include "scores/history_store.h"

namespace mod_Main {

namespace {

constexpr const char* kStartPrompt = "ENTERキーでタイムアタック開始！ESCキーで終了です。";
constexpr const char* kScoreSuffix = " 回正解！ENTERキーで戻ります。";
constexpr const char* kRankSuffix = " 位にランキングされました。おめでとう！";
constexpr const char* kRankNotSavedSuffix = " 位の記録を保存できませんでした。";
constexpr const char* kNotSaved = "記録を保存できませんでした。";
constexpr int32_t kReadyMs = 1800;
constexpr int32_t kGoMs = 300;

// Every balloon is anchored at the cursor's top right corner, read afresh.
void ShowBalloon(Form& balloon, const std::string& text) {
  Form& cursor = frmKAITOU();
  MakeRGNTalkWindow(balloon, text, cursor.Left() + cursor.Width(), cursor.Top(), 0);
}

// Polls until done() says so, pumping after every poll: while nothing happens it sleeps until a
// key or a window event comes; the pass that ends the wait only pumps.
template <typename Poll>
void PollUntil(Poll done) {
  for (;;) {
    if (done()) {
      DoEvents();
      return;
    }
    DoEventsAndWait();
  }
}

void WaitForEnterRelease(LoopState& loop) {
  DiscardPresses({VK_RETURN});
  if (!loop.enter_down) return;
  PollUntil([&loop] {
    loop.enter_down = IsEnterPressed();
    return !loop.enter_down;
  });
}

void StartPrompt(LoopState& loop) {
  // Before the prompt can be seen: a press made on seeing it counts.
  loop.enter_down = false;
  bool esc_down = false;
  DiscardPresses({VK_RETURN, VK_ESCAPE});
  ShowBalloon(frmTALK(), kStartPrompt);
  // Where keys reach the game only through its own focused window, the cursor takes the focus.
  frmKAITOU().TakeKeyboardFocus();
  PollUntil([&] {
    loop.enter_down = IsEnterPressed();
    esc_down = IsEscPressed();
    return loop.enter_down || esc_down;
  });
  Unload(frmTALK());
  if (esc_down) {
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

void PlaceCursor(const Attack& attack) {
  const Layout layout = LayoutNow();
  frmKAITOU().Move(static_cast<float>(layout.CursorLeft(attack.PairPos())),
                   static_cast<float>(layout.cursor_top));
}

void ShowAnswer(const Attack& attack) {
  DrawRow(attack);
  PlaceCursor(attack);
  // One press counts once, however long it is held.
  PollUntil([] { return ReadDigitKey() == -1; });
}

void Play(Attack& attack) {
  RevealRow();
  attack.Start(TickCount());
  for (;;) {
    const uint32_t now = TickCount();
    const bool over = attack.Over(now);
    // ENTER closes the result: only a press made once the end can be seen counts.
    if (over) DiscardPresses({VK_RETURN});
    frmKAITOU().Label("LT").SetCaption(attack.TimeShown(now));
    if (over) return;
    if (attack.Take(ReadDigitKey(), now)) {
      ShowAnswer(attack);
    } else {
      // Nothing to do before a key arrives or the shown time changes.
      DoEventsAndWait(attack.NextTimeChange(now));
    }
  }
}

// The second balloon's text: the rank once it is in the file, or that the score could not be
// saved; nothing for a score that did not rank.
std::string RankMessage(int rank) {
  if (!HighScoreSaved()) return rank != 0 ? std::to_string(rank) + kRankNotSavedSuffix : kNotSaved;
  return rank != 0 ? std::to_string(rank) + kRankSuffix : "";
}

void ShowResult(const Attack& attack, LoopState& loop) {
  ShowBalloon(frmTALK(), std::to_string(attack.CorrectCount()) + kScoreSuffix);
  int rank = RecordHighScore(attack.CorrectCount());
  if (std::string rank_text = RankMessage(rank); !rank_text.empty()) {
    Form& cursor = frmKAITOU();
    Form& score_balloon = frmTALK();
    MakeRGNTalkWindow(frmTalk2(), rank_text, cursor.Left() + cursor.Width(),
                      score_balloon.Top() + 2 * score_balloon.Height(), 0);
  }
  // While the player reads the result; a failure is one line on standard error, nothing more.
  RecordTimeAttack(attack.Record());
  loop.enter_down = false;
  PollUntil([&loop] {
    loop.enter_down = IsEnterPressed();
    return loop.enter_down;
  });
  UnloadAllFormsExcept("frmMenu");
  DoEvents();
}

// The screen changed size, its primary monitor or its usable area: the strip, the cursor and
// the balloons go where a time attack begun now would put them.
void FollowScreen(const Attack& attack) {
  PlaceStrip();
  Form* cursor = FindLoadedForm("frmKAITOU");
  if (!cursor) return;
  const float left = cursor->Left();
  const float top = cursor->Top();
  PlaceCursor(attack);
  // The balloons hang on the cursor.
  for (const char* name : {"frmTALK", "frmTalk2"}) {
    if (Form* balloon = FindLoadedForm(name)) {
      balloon->Move(balloon->Left() + cursor->Left() - left, balloon->Top() + cursor->Top() - top);
    }
  }
}

}  // namespace

void TimeAttack(LoopState& loop) {
  Attack attack(loop.digits);
  OnScreenChange([&attack] { FollowScreen(attack); });
  frmMONDAI().Show();
  DrawRow(attack);
  frmKAITOU().Label("LT").SetCaption(FormatTime(Attack::kTimeLimit));
  frmKAITOU().Show();

  WaitForEnterRelease(loop);
  StartPrompt(loop);
  Countdown();
  Play(attack);
  ShowResult(attack, loop);
  OnScreenChange(nullptr);
}

void Main() {
  LoopState loop{RandomDigits(
      static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()))};
  for (;;)
    TimeAttack(loop);
}

}  // namespace mod_Main
