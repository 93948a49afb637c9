#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "game/mod_Main.h"
#include "game/time_display.h"
#include "platform/form.h"
#include "tests/game_phases.h"
#include "tests/scripted_play.h"

namespace {

using namespace mod_Main;
using TimeAttackTest = GameTest;

// The rank balloon sits directly below the score's and fits its text.
void ExpectRankBalloon(const std::string& text) {
  Form& score = *FindLoadedForm("frmTALK");
  Form& rank = *FindLoadedForm("frmTalk2");
  EXPECT_EQ(rank.Width(), rank.TextWidth(text) + 225) << text;
  EXPECT_EQ(rank.Left(), score.Left());
  EXPECT_EQ(rank.Top(), score.Top() + score.Height());
}

// Two passes. The first plays across the wrap of the tick counter. Neither score can be saved:
// first the empty table may not be written, so the score ranks first unsaved; then whether it
// ranks is not known at all. ENTER is held on from the first result into the second pass.
// Every phase sleeps while idle, play until the time shown next changes and the others until a
// key comes: spinning would pump once or twice every scripted millisecond.
TEST_F(TimeAttackTest, FirstPassPromptsAtOnceAndEveryPhaseRunsItsCourseWithoutSpinning) {
  const std::string path = install_.SettingsFile();
  std::ofstream(path).close();
  chmod(path.c_str(), 0444);
  ScriptedPlay play(UINT32_MAX - 30000);
  constexpr uint64_t kIdleMs = 10000;
  uint64_t prompt_at = 0;
  uint64_t play_at = 0;
  uint64_t released_at = 0;
  uint32_t result_after = 0;
  std::vector<std::string> shown;
  std::vector<uint64_t> pumps;  // at the start of play, of the result, and at ENTER's release
  play.When(AtStartPrompt, [&] {
    prompt_at = play.Elapsed();
    play.Tap(VK_RETURN, 5);
  });
  play.When(Playing, [&] {
    play_at = play.Elapsed();
    pumps.push_back(play.Pumps());
    play.After(59940, [&] { shown.push_back(TimeShown()); });
  });
  play.When(RankShown, [&] {
    result_after = PlayedMs();
    shown.push_back(TimeShown());
    pumps.push_back(play.Pumps());
    ExpectRankBalloon("1 位の記録を保存できませんでした。");
    play.After(kIdleMs, play.Press(VK_RETURN));
    play.After(2 * kIdleMs, [&] {
      play.Happen({VK_RETURN, KeyEvent::Kind::kRelease});
      released_at = play.Elapsed();
      pumps.push_back(play.Pumps());
    });
  });
  // Each time the label changes, the time shown a millisecond earlier was still the old one.
  std::string label;
  int changes = 0;
  int late = 0;
  auto look = [&] {
    if (!Playing() || TimeShown() == label) return false;
    label = TimeShown();
    if (changes++ > 0 && FormatTime(60 - (PlayedMs() - 1) / 1000.0) == label) ++late;
    return false;
  };
  play.When(look, nullptr);  // asked at every query, never true

  testing::internal::CaptureStderr();
  TimeAttack();
  EXPECT_NE(testing::internal::GetCapturedStderr().find(path), std::string::npos);

  EXPECT_LT(prompt_at, 10u) << "no release wait on the first pass";
  // ENTER 5 ms after the prompt, then "Ready..." for 1.8 s and "GO!" for 0.3 s.
  EXPECT_GE(play_at - prompt_at, 5u + 2100);
  EXPECT_LE(play_at - prompt_at, 5u + 2120);
  EXPECT_EQ(shown, (std::vector<std::string>{"00.1", "00.0"}));
  EXPECT_GE(result_after, 59950u);
  EXPECT_LE(result_after, 59955u);
  EXPECT_EQ(changes, 600) << "60.0 is shown first, then every tenth down to 00.1";
  EXPECT_EQ(late, 0) << "tenths shown after their first millisecond";
  EXPECT_TRUE(LoadedFormNames().empty());

  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  bool still_waiting = false;
  play.When(AtStartPrompt, [&] {
    prompt_at = play.Elapsed();
    pumps.push_back(play.Pumps());
    play.After(kIdleMs, [&] {
      still_waiting = AtStartPrompt();
      pumps.push_back(play.Pumps());
      play.Tap(VK_RETURN);
    });
  });
  play.When(RankShown, [&] {
    ExpectRankBalloon("記録を保存できませんでした。");
    play.Tap(VK_RETURN, 100);
  });
  testing::internal::CaptureStderr();
  TimeAttack();
  EXPECT_NE(testing::internal::GetCapturedStderr().find(path), std::string::npos);

  EXPECT_GE(prompt_at, released_at);
  EXPECT_LT(prompt_at, released_at + 10);
  EXPECT_TRUE(still_waiting) << "the held ENTER did not start the time attack";
  ASSERT_EQ(pumps.size(), 5u);
  EXPECT_LT(pumps[1] - pumps[0], 60000u / 20) << "play polls without sleeping";
  EXPECT_LT(pumps[2] - pumps[1], 10u) << "the result and the release wait poll while idle";
  EXPECT_LT(pumps[4] - pumps[3], 5u) << "the start prompt polls while idle";
}

// A digit tapped during the countdown answers at the first poll, a wrong one counts nothing,
// and a correct one held on counts once and freezes the time shown until every digit is up.
TEST_F(TimeAttackTest, DigitsFromTheCountdownOnCountOnceAndAHeldOneFreezesTheTime) {
  ScriptedPlay play;
  StartAndFinish(play);
  // During "Ready...", the first pair's answer.
  play.When(AtStartPrompt, [&] { play.Tap(VK_NUMPAD0 + Expected(), 500); });
  std::vector<std::string> shown;
  std::vector<int> counts;
  auto look = [&] {
    shown.push_back(TimeShown());
    counts.push_back(CorrectCount);
  };
  play.When(Playing, [&] {
    // A wrong digit, then the right one, held on past the press of the next answer.
    play.After(10, [&play] { play.Tap(VK_0 + (Expected() + 1) % 10, 0, 20); });
    play.After(20, look);
    play.After(30, [&play] { play.Tap(VK_0 + Expected(), 0, 1470); });
    play.After(1000, [&play] { play.Tap(VK_0 + Expected(), 0, 500); });
    play.After(1400, look);
    play.After(1600, look);
  });

  TimeAttack();

  EXPECT_EQ(counts, (std::vector<int>{1, 2, 2}));
  EXPECT_EQ(shown, (std::vector<std::string>{"60.0", "60.0", "58.4"}));
}

// The player taps the moment something can be seen, faster than any look of the game: ENTER as
// the prompt shows, ENTER as the score shows. Digits typed into another window while the game waits
// at the prompt are not answers, nor is an ENTER pressed during play the result's.
TEST_F(TimeAttackTest, PressesMadeTheMomentThePromptOrTheScoreShowsCountAndNoOthers) {
  ScriptedPlay play;
  play.When(AtStartPrompt, [&] {
    for (int digit : {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}) {
      play.Happen({VK_0 + digit, KeyEvent::Kind::kPress});
      play.Happen({VK_0 + digit, KeyEvent::Kind::kRelease});
    }
    play.Happen({VK_RETURN, KeyEvent::Kind::kPress});
    play.Happen({VK_RETURN, KeyEvent::Kind::kRelease});
  });
  play.When(Playing, [&] { play.Tap(VK_RETURN, 30000, 4); });
  int score_at_result = -1;
  play.When(AtResult, [&] {
    score_at_result = CorrectCount;
    play.Happen({VK_RETURN, KeyEvent::Kind::kPress});
    play.Happen({VK_RETURN, KeyEvent::Kind::kRelease});
  });
  TimeAttack();
  EXPECT_EQ(score_at_result, 0) << "digits typed at the prompt were taken as answers";
  EXPECT_TRUE(LoadedFormNames().empty());
}

// Answers as fast as a player can type: the next digit goes down in the same moment the last
// one comes up, and the same digit twice in a row is two answers.
TEST_F(TimeAttackTest, EveryAnswerCountsWhenTheNextPressComesWithTheLastRelease) {
  ScriptedPlay play;
  StartAndFinish(play);
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
    play.When([&, taken = pressed] { return CorrectCount == taken; }, next);
  };
  play.When(Playing, next);
  int score_at_result = -1;
  play.When(AtResult, [&] { score_at_result = CorrectCount; });
  TimeAttack();
  EXPECT_EQ(score_at_result, kAnswers);
}

}  // namespace
