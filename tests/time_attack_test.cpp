#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "game/forms.h"
#include "game/mod_Main.h"
#include "platform/form.h"
#include "platform/testing.h"
#include "rgn/mod_RGN_Proc.h"
#include "scores/high_scores.h"
#include "tests/game_phases.h"
#include "tests/scripted_play.h"

namespace {

using namespace mod_Main;
using TimeAttackTest = GameTest;

float CursorLeft() {
  return FindLoadedForm("frmKAITOU")->Left();
}

// The rank balloon sits directly below the score's and fits its text.
void ExpectRankBalloon(const std::string& text) {
  Form& score = *FindLoadedForm("frmTALK");
  Form& rank = *FindLoadedForm("frmTalk2");
  EXPECT_EQ(rank.Width(), rank.TextWidth(text) + 225) << text;
  EXPECT_EQ(rank.Left(), score.Left());
  EXPECT_EQ(rank.Top(), score.Top() + score.Height());
}

// Play starts before the tick counter wraps and ends after it.
TEST_F(TimeAttackTest, FirstPassPromptsAtOncePlaysSixtySecondsAndClosesEverything) {
  ScriptedPlay play(UINT32_MAX - 30000);
  uint64_t prompt_at = 0;
  uint64_t play_at = 0;
  std::vector<std::string> probes;
  play.When(AtStartPrompt, [&](KeyTable&) {
    prompt_at = play.Elapsed();
    EXPECT_EQ(TimeShown(), "60.0");
  });
  StartAndFinish(play);
  play.When(Playing, [&](KeyTable&) {
    play_at = play.Elapsed();
    play.After(59940, [&](KeyTable&) { probes.push_back(TimeShown()); });
  });
  uint32_t result_after = 0;
  int32_t start = 0;
  play.When(AtResult, [&](KeyTable&) {
    result_after = PlayedMs();
    start = StartTick;
    probes.push_back(TimeShown());
    Form& balloon = *FindLoadedForm("frmTALK");
    EXPECT_EQ(balloon.Width(), balloon.TextWidth("0 回正解！ENTERキーで戻ります。") + 225);
    ExpectRankBalloon("1 位にランキングされました。おめでとう！");  // even 0 ranks first
  });

  TimeAttack();

  EXPECT_LT(prompt_at, 10u) << "no release wait on the first pass";
  // ENTER 5 ms after the prompt, then "Ready..." for 1.8 s and "GO!" for 0.3 s.
  EXPECT_GE(play_at - prompt_at, 5u + 2100);
  EXPECT_LE(play_at - prompt_at, 5u + 2120);
  EXPECT_EQ(probes, (std::vector<std::string>{"00.1", "00.0"}));
  EXPECT_GE(result_after, 59950u);
  EXPECT_LE(result_after, 59955u);
  EXPECT_LT(start, 0);
  EXPECT_GE(TickCount(), 0);
  EXPECT_EQ(CorrectCount, 0);
  EXPECT_TRUE(LoadedFormNames().empty());
  EXPECT_EQ(ReadHighScores().value()[0].substr(0, 2), "0,");
}

void ReleaseDigits(KeyTable& keys) {
  for (int digit = 0; digit <= 9; ++digit) {
    keys.Release(VK_0 + digit);
    keys.Release(VK_NUMPAD0 + digit);
  }
}

// Each answer comes after a wrong digit; row keys and keypad keys take turns.
TEST_F(TimeAttackTest, CorrectDigitsFillTheLeftCellAndMoveTheCursorAndTheRowWrapsAfterEighteen) {
  ScriptedPlay play;
  StartAndFinish(play);
  std::string row_before_wrap;
  std::vector<int> counts_after_wrong;
  std::vector<float> cursor;
  play.When(Playing, [&](KeyTable&) {
    for (int answer = 0; answer < 20; ++answer) {
      const uint64_t at = 10 + 40 * static_cast<uint64_t>(answer);
      play.After(at, [](KeyTable& keys) { keys.Press(VK_0 + (Expected() + 1) % 10); });
      play.After(at + 5, [&](KeyTable& keys) {
        ReleaseDigits(keys);
        counts_after_wrong.push_back(CorrectCount);
        if (PairPos == 18) {
          for (const auto& digit : DigitRow)
            row_before_wrap += digit;
        }
      });
      play.After(at + 20, [answer](KeyTable& keys) {
        keys.Press((answer % 2 ? VK_NUMPAD0 : VK_0) + Expected());
      });
      play.After(at + 25, [&](KeyTable& keys) {
        ReleaseDigits(keys);
        cursor.push_back(CursorLeft());
      });
    }
    play.After(900, [&](KeyTable&) {
      ASSERT_EQ(row_before_wrap.size(), 20u);
      const int answer = (row_before_wrap[18] - '0' + row_before_wrap[19] - '0') % 10;
      EXPECT_EQ(DigitRow[18], std::to_string(answer));
      EXPECT_EQ(PairPos, 1) << "the twentieth answer took cells 0 and 1 of the new sweep";
      Form& strip = *FindLoadedForm("frmMONDAI");
      for (int i = 0; i < kCells; ++i)
        EXPECT_EQ(strip.Label("LL", i).Caption(), DigitRow[i]) << i;
    });
  });

  TimeAttack();

  ASSERT_EQ(cursor.size(), 20u);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(counts_after_wrong[i], i) << "a wrong digit counted";
    EXPECT_EQ(cursor[i], 4980 + ((i + 1) % 19) * 270) << "after answer " << i;
  }
  EXPECT_EQ(CorrectCount, 20);
}

TEST_F(TimeAttackTest, HeldCorrectKeyCountsOnceAndFreezesTheClockDisplayUntilAllDigitsAreUp) {
  ScriptedPlay play;
  StartAndFinish(play);
  std::vector<std::string> shown;
  std::vector<int> counts;
  play.When(Playing, [&](KeyTable& keys) {
    keys.Press(VK_0 + Expected());
    play.After(1000, [&](KeyTable& held) {
      held.Press(VK_0 + Expected());  // the next answer, while the first key is still down
    });
    play.After(1500, ReleaseDigits);
    for (uint64_t at : {500, 1400, 1600}) {
      play.After(at, [&](KeyTable&) {
        shown.push_back(TimeShown());
        counts.push_back(CorrectCount);
      });
    }
  });

  TimeAttack();

  EXPECT_EQ(counts, (std::vector<int>{1, 1, 1}));
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], "60.0");
  EXPECT_EQ(shown[1], "60.0") << "frozen while a digit key is held";
  EXPECT_EQ(shown[2], "58.4");
}

TEST_F(TimeAttackTest, DigitTappedDuringTheCountdownAnswersTheFirstPair) {
  ScriptedPlay play;
  StartAndFinish(play);
  int answer = -1;
  play.When(AtStartPrompt, [&](KeyTable&) {
    answer = Expected();
    Tap(play, VK_NUMPAD0 + answer, 500);  // during "Ready..."
  });
  int count_early_in_play = -1;
  play.When(Playing, [&](KeyTable&) {
    play.After(20, [&](KeyTable&) { count_early_in_play = CorrectCount; });
  });

  TimeAttack();

  EXPECT_EQ(count_early_in_play, 1);
  EXPECT_EQ(DigitRow[0], std::to_string(answer));
}

TEST_F(TimeAttackTest, EnterHeldFromTheResultDelaysTheNextStartPromptAndDoesNotStartIt) {
  ScriptedPlay play;
  play.When(AtStartPrompt, [&](KeyTable&) { Tap(play, VK_RETURN, 5); });
  uint64_t released_at = 0;
  play.When(AtResult, [&](KeyTable&) {
    play.After(100, Press(VK_RETURN));  // held on into the next pass
    play.After(1000, [&](KeyTable& keys) {
      EXPECT_FALSE(IsLoaded("frmTALK")) << "no prompt while ENTER is still down";
      EXPECT_TRUE(IsLoaded("frmMONDAI"));
      keys.Release(VK_RETURN);
      released_at = play.Elapsed();
    });
  });
  TimeAttack();

  uint64_t prompt_at = 0;
  bool still_waiting = false;
  play.When(AtStartPrompt, [&](KeyTable&) {
    prompt_at = play.Elapsed();
    play.After(2000, [&](KeyTable&) {
      still_waiting = AtStartPrompt();
      Tap(play, VK_RETURN);
    });
  });
  play.When(AtResult, [&](KeyTable&) { Tap(play, VK_RETURN, 100); });
  TimeAttack();

  EXPECT_GE(prompt_at, released_at);
  EXPECT_LT(prompt_at, released_at + 10);
  EXPECT_TRUE(still_waiting) << "the held ENTER did not start the time attack";
}

TEST_F(TimeAttackTest, AScoreThatCannotBeSavedIsNotCongratulatedAndThePlayerIsTold) {
  struct Case {
    std::function<void()> spoil;
    const char* said;
  };
  const std::string path = install_.SettingsFile();
  const Case cases[] = {
      // The score ranks first in the empty table, which may not be written.
      {[&] {
         std::ofstream(path).close();
         chmod(path.c_str(), 0444);
       },
       "1 位の記録を保存できませんでした。"},
      // Whether it ranks is not known.
      {[&] {
         std::filesystem::remove(path);
         std::filesystem::create_directory(path);
       },
       "記録を保存できませんでした。"},
  };
  for (const Case& spoilt : cases) {
    spoilt.spoil();
    ScriptedPlay play;
    StartAndFinish(play);
    play.When(AtResult, [&](KeyTable&) { ExpectRankBalloon(spoilt.said); });
    testing::internal::CaptureStderr();
    TimeAttack();
    std::string stderr_text = testing::internal::GetCapturedStderr();
    EXPECT_NE(stderr_text.find(path), std::string::npos) << stderr_text;
  }
}

}  // namespace
