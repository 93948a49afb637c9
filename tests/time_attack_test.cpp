// Whole time attacks on a scripted clock and keyboard, each test one thing the player meets.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/time_display.h"
#include "platform/form.h"
#include "rgn/talk_window.h"
#include "scores/history_read.h"
#include "tests/files.h"
#include "tests/game_phases.h"
#include "tests/scripted_play.h"

namespace {

using TimeAttackTest = GameTest;

TEST_F(TimeAttackTest, TheFirstPromptShowsAtOnceThenReadyAndGoTakeTheirTime) {
  const std::string prompt = "ENTERキーでタイムアタック開始！ESCキーで終了です。";
  const auto pictures = BalloonPictures({prompt, "Ready...", "GO!"});
  ScriptedPlay play;
  uint64_t prompt_at = 0;
  uint64_t play_at = 0;
  std::vector<std::string> balloons;
  play.When(AtStartPrompt, [&] {
    prompt_at = play.Elapsed();
    balloons.push_back(BalloonText("frmTALK", pictures));
    play.Tap(VK_RETURN, 5);
    for (uint64_t at : {5 + 100, 5 + 1799, 5 + 1900, 5 + 2099})
      play.After(at, [&] { balloons.push_back(BalloonText("frmTALK", pictures)); });
  });
  play.When(Playing, [&] { play_at = play.Elapsed(); });
  play.When(AtResult, [&] { play.Tap(VK_RETURN, 100); });
  TimeAttack();
  EXPECT_LT(prompt_at, 10u) << "no release wait on the first pass";
  EXPECT_EQ(balloons, (std::vector<std::string>{prompt, "Ready...", "Ready...", "GO!", "GO!"}));
  // ENTER 5 ms after the prompt, then "Ready..." for 1.8 s and "GO!" for 0.3 s.
  EXPECT_GE(play_at - prompt_at, 5u + 2100);
  EXPECT_LE(play_at - prompt_at, 5u + 2120);
}

// Play across the wrap of the tick counter: the time shown follows every tenth on its first
// millisecond, from 60.0 down to 00.1, and play ends exactly as it shows 00.0, after 59.95 s.
TEST_F(TimeAttackTest, TheTimeShownFollowsEveryTenthAndPlayEndsAtZero) {
  ScriptedPlay play(UINT32_MAX - 30000);
  std::vector<std::pair<uint64_t, std::string>> changes;  // when each new text showed
  play.When(
      [&] {
        if (Playing() && (changes.empty() || changes.back().second != TimeShown()))
          changes.emplace_back(play.Elapsed(), TimeShown());
        return false;
      },
      nullptr);
  uint64_t result_at = 0;
  std::string final_time;
  play.When(AtStartPrompt, [&] { play.Tap(VK_RETURN, 5); });
  play.When(AtResult, [&] {
    result_at = play.Elapsed();
    final_time = TimeShown();
    play.Tap(VK_RETURN, 100);
  });
  TimeAttack();

  ASSERT_EQ(changes.size(), 600u) << "60.0, then every tenth down to 00.1";
  EXPECT_EQ(changes.front().second, "60.0");
  EXPECT_EQ(changes.back().second, "00.1");
  EXPECT_EQ(final_time, "00.0");
  // Some start of play explains every change as the first millisecond of its tenth.
  auto shown = [](uint64_t start, uint64_t at) { return FormatTime(60 - (at - start) / 1000.0); };
  std::optional<uint64_t> start;
  for (uint64_t from = changes.front().first; from + 10 > changes.front().first; --from) {
    if (std::all_of(changes.begin() + 1, changes.end(), [&](const auto& change) {
          return shown(from, change.first) == change.second &&
                 shown(from, change.first - 1) != change.second;
        }))
      start = from;
  }
  ASSERT_TRUE(start) << "a tenth was shown late";
  EXPECT_GE(result_at - *start, 59950u);
  EXPECT_LE(result_at - *start, 59955u);
}

// The rank balloon below the score's tells where the score stands in the file, or that it could
// not be saved there, and the player reads why on standard error.
TEST_F(TimeAttackTest, TheRankBalloonTellsTheRankOrThatTheScoreWasNotSaved) {
  const std::string path = install_.SettingsFile();
  const std::string ranked = "1 位にランキングされました。おめでとう！",
                    unsaved = "1 位の記録を保存できませんでした。",
                    unread = "記録を保存できませんでした。";
  const auto pictures = BalloonPictures({ranked, unsaved, unread});
  ScriptedPlay play;
  for (const std::string& expected : {ranked, unsaved, unread}) {
    if (expected == unsaved) {
      Store(path, "");
      chmod(path.c_str(), 0444);
    } else if (expected == unread) {
      std::filesystem::remove(path);
      std::filesystem::create_directory(path);
    }
    std::string told;
    play.When(AtStartPrompt, [&] { play.Tap(VK_RETURN, 5); });
    play.When([] { return AtResult() && IsLoaded("frmTalk2"); },
              [&] {
                told = BalloonText("frmTalk2", pictures);
                Form& score = *FindLoadedForm("frmTALK");
                Form& rank = *FindLoadedForm("frmTalk2");
                EXPECT_EQ(rank.Left(), score.Left());
                EXPECT_EQ(rank.Top(), score.Top() + score.Height());
                play.Tap(VK_RETURN, 100);
              });
    testing::internal::CaptureStderr();
    TimeAttack();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(told, expected);
    EXPECT_EQ(said.find(path) != std::string::npos, expected != ranked) << said;
  }
}

// ENTER held on from the result: the next prompt shows once it is let go, and the press that
// closed the result never starts the next time attack.
TEST_F(TimeAttackTest, EnterHeldFromTheResultDoesNotStartTheNextTimeAttack) {
  ScriptedPlay play;
  uint64_t released_at = 0;
  play.When(AtStartPrompt, [&] { play.Tap(VK_RETURN, 5); });
  play.When(AtResult, [&] {
    play.After(100, play.Press(VK_RETURN));
    play.After(5000, [&] {
      play.Happen({VK_RETURN, KeyEvent::Kind::kRelease});
      released_at = play.Elapsed();
    });
  });
  TimeAttack();
  uint64_t prompt_at = 0;
  bool still_waiting = false;
  play.When(AtStartPrompt, [&] {
    prompt_at = play.Elapsed();
    play.After(10000, [&] {
      still_waiting = AtStartPrompt();
      play.Tap(VK_RETURN);
    });
  });
  play.When(AtResult, [&] { play.Tap(VK_RETURN, 100); });
  TimeAttack();
  EXPECT_GE(prompt_at, released_at);
  EXPECT_LT(prompt_at, released_at + 10);
  EXPECT_TRUE(still_waiting);
}

// Waiting at the prompt or on the result costs nothing: the game sleeps until a key comes, and
// through the countdown. In play it wakes once or twice a tenth, for the time shown.
TEST_F(TimeAttackTest, AnIdleGameWakesOnlyForKeysAndForTheTenthsOfPlay) {
  ScriptedPlay play;
  constexpr uint64_t kIdleMs = 10000;
  std::vector<uint64_t> pumps;
  auto note_then = [&](uint64_t after, std::function<void()> then) {
    pumps.push_back(play.Pumps());
    play.After(after, [&, then] {
      pumps.push_back(play.Pumps());
      then();
    });
  };
  play.When(AtStartPrompt, [&] { note_then(kIdleMs, [&] { play.Tap(VK_RETURN); }); });
  play.When(Playing, [&] { pumps.push_back(play.Pumps()); });
  play.When(AtResult, [&] { note_then(kIdleMs, [&] { play.Tap(VK_RETURN); }); });
  TimeAttack();
  ASSERT_EQ(pumps.size(), 5u);
  EXPECT_LT(pumps[1] - pumps[0], 5u) << "at the prompt";
  EXPECT_LT(pumps[2] - pumps[1], 10u) << "in the countdown";
  EXPECT_LT(pumps[3] - pumps[2], 2 * 600u + 20) << "in play";
  EXPECT_LT(pumps[4] - pumps[3], 10u) << "on the result";
}

// The keyboard is read wherever the player types: digits typed into another window while the
// game waits at the prompt are no answers, not even with ENTER tapped in the same moment, but one
// tapped during "Ready..." answers the first pair. A wrong digit changes nothing; the right one
// held on counts once and stops the time shown until every digit is up, and a digit pressed
// meanwhile is no answer. Nor does an ENTER of play close the result.
TEST_F(TimeAttackTest, DigitsCountFromTheCountdownOnAndAHeldOneCountsOnce) {
  ScriptedPlay play;
  play.When(AtStartPrompt, [&] {
    for (int digit = 0; digit < 10; ++digit)
      play.Tap(VK_0 + digit, 0, 0);
    play.Tap(VK_RETURN, 0, 0);
    play.Tap(VK_NUMPAD0 + Expected(), 500);
  });
  std::vector<std::pair<int, std::string>> seen;  // the pair under the cursor, the time shown
  auto look = [&] { seen.emplace_back(CursorPair(), TimeShown()); };
  play.When(Playing, [&] {
    play.After(10, [&play] { play.Tap(VK_0 + (Expected() + 1) % 10, 0, 20); });
    play.After(20, look);
    play.After(30, [&play] { play.Tap(VK_0 + Expected(), 0, 1470); });
    play.After(1000, [&play] { play.Tap(VK_0 + Expected(), 0, 500); });
    play.After(1400, look);
    play.After(1600, look);
    play.Tap(VK_RETURN, 30000, 4);
  });
  bool closed_by_play = false;
  play.When(AtResult, [&] {
    play.After(50, [&] { closed_by_play = !AtResult(); });
    play.Tap(VK_RETURN, 100);
  });
  TimeAttack();
  EXPECT_EQ(seen,
            (std::vector<std::pair<int, std::string>>{{1, "60.0"}, {2, "60.0"}, {2, "58.4"}}));
  EXPECT_FALSE(closed_by_play);
  const History history = ReadWholeHistory();
  ASSERT_EQ(history.attacks.size(), 1u);
  const StoredAttack& kept = history.attacks[0];
  EXPECT_EQ(std::tuple(kept.score, kept.wrong, kept.presses.size()), std::tuple(2, 1, size_t{3}))
      << "a key outside play was kept, or one of play lost";
}

// Answers as fast as a player can type: the next digit goes down in the same moment the last
// one comes up, and the same digit twice in a row is two answers. ENTER is tapped the moment
// the prompt and the score show, faster than any look of the game.
TEST_F(TimeAttackTest, EveryAnswerAndEveryTapCountsWithNoTimeBetweenThem) {
  ScriptedPlay play;
  play.When(AtStartPrompt, [&play] { play.Tap(VK_RETURN, 0, 0); });
  play.When(AtResult, [&play] { play.Tap(VK_RETURN, 0, 0); });
  constexpr int kAnswers = 200;
  int held = -1;
  int pressed = 0;
  std::function<void()> next = [&] {
    if (held >= 0) play.Happen({held, KeyEvent::Kind::kRelease});
    if (pressed == kAnswers) return;
    held = VK_0 + Expected();
    play.Happen({held, KeyEvent::Kind::kPress});
    ++pressed;
    // The cursor moves once the answer is taken.
    play.When([&, pair = CursorPair()] { return CursorPair() != pair; }, next);
  };
  play.When(Playing, next);
  TimeAttack();
  // A press recorded out of order or out of play would not have been stored at all.
  const History history = ReadWholeHistory();
  ASSERT_EQ(history.attacks.size(), 1u);
  const StoredAttack& kept = history.attacks[0];
  EXPECT_EQ(std::tuple(kept.score, kept.wrong, kept.presses.size()),
            std::tuple(kAnswers, 0, size_t{kAnswers}));
}

}  // namespace
