#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "game/forms.h"
#include "game/mod_Main.h"
#include "game/random_digits.h"
#include "platform/form.h"
#include "platform/testing.h"
#include "rgn/mod_RGN_Proc.h"
#include "scores/high_scores.h"
#include "tests/game_phases.h"
#include "tests/scratch_install.h"
#include "tests/scripted_play.h"

namespace {

using namespace mod_Main;

uint32_t PlayedMs() {
  return static_cast<uint32_t>(TickCount()) - static_cast<uint32_t>(StartTick);
}
std::string TimeShown() {
  return FindLoadedForm("frmKAITOU")->Label("LT").Caption();
}
float CursorLeft() {
  return FindLoadedForm("frmKAITOU")->Left();
}

void SetRow(const std::string& digits) {
  for (size_t i = 0; i < digits.size(); ++i) {
    DigitRow[i] = digits.substr(i, 1);
    frmMONDAI().Label("LL", static_cast<int>(i)).SetCaption(DigitRow[i]);
  }
}

class TimeAttackTest : public testing::Test {
 protected:
  void SetUp() override {
    OverrideDisplayMetrics(&kTestScreen);
    SeedRandomDigits(2024);
  }
  void TearDown() override {
    UnloadAllFormsExcept("");
    OverrideDisplayMetrics(nullptr);
  }
  ScratchInstall install_;
};

TEST_F(TimeAttackTest, FirstPassPromptsAtOncePlaysSixtySecondsAndClosesEverything) {
  ScriptedPlay play;
  uint64_t prompt_at = 0;
  std::vector<std::string> probes;
  play.When(AtStartPrompt, [&](KeyTable&) {
    prompt_at = play.Elapsed();
    EXPECT_EQ(TimeShown(), "60.0");
  });
  StartAndFinish(play);
  play.When(Playing, [&](KeyTable&) {
    play.After(59940, [&](KeyTable&) { probes.push_back(TimeShown()); });
  });
  uint32_t result_after = 0;
  play.When(AtResult, [&](KeyTable&) {
    result_after = PlayedMs();
    probes.push_back(TimeShown());
    Form& balloon = *FindLoadedForm("frmTALK");
    EXPECT_EQ(balloon.Width(), balloon.TextWidth("0 回正解！ENTERキーで戻ります。") + 225);
    // Even no correct answer ranks in an empty table.
    Form& rank = *FindLoadedForm("frmTalk2");
    EXPECT_EQ(rank.Width(), rank.TextWidth("1 位にランキングされました。おめでとう！") + 225);
    EXPECT_EQ(rank.Left(), balloon.Left());
    EXPECT_EQ(rank.Top(), balloon.Top() + balloon.Height()) << "directly below the score";
  });

  TimeAttack();

  EXPECT_LT(prompt_at, 10u) << "no release wait on the first pass";
  EXPECT_EQ(probes, (std::vector<std::string>{"00.1", "00.0"}));
  EXPECT_GE(result_after, 59950u);
  EXPECT_LE(result_after, 59955u);
  EXPECT_EQ(CorrectCount, 0);
  EXPECT_TRUE(LoadedFormNames().empty());
  EXPECT_EQ(ReadHighScores().value()[0].substr(0, 2), "0,");
}

TEST_F(TimeAttackTest, CorrectDigitsReplaceTheLeftCellAndMoveTheCursorWrongOnesChangeNothing) {
  ScriptedPlay play;
  StartAndFinish(play);
  play.When(AtStartPrompt, [](KeyTable&) { SetRow("78599"); });
  std::vector<int> pairs;
  play.When(Playing, [&](KeyTable&) {
    Tap(play, VK_0 + 5, 10);         // 7 + 8 = 15
    Tap(play, VK_NUMPAD0 + 3, 100);  // 8 + 5 = 13
    Tap(play, VK_0 + 1, 200);        // wrong: 5 + 9 = 14
    Tap(play, VK_0 + 4, 300);
    Tap(play, VK_0 + 8, 400);  // 9 + 9 = 18
    for (uint64_t at : {50, 150, 250, 350, 450}) {
      play.After(at, [&](KeyTable&) { pairs.push_back(PairPos); });
    }
    play.After(60, [](KeyTable&) {
      EXPECT_EQ(FindLoadedForm("frmMONDAI")->Label("LL", 0).Caption(), "5");
      EXPECT_EQ(CursorLeft(), 4980 + 270);
    });
  });

  TimeAttack();

  EXPECT_EQ(pairs, (std::vector<int>{1, 2, 2, 3, 4}));
  EXPECT_EQ(CorrectCount, 4);
  EXPECT_EQ(DigitRow[0] + DigitRow[1] + DigitRow[2] + DigitRow[3], "5348");
}

TEST_F(TimeAttackTest, RowWrapsAfterPositionEighteenWithAFreshLastDigit) {
  ScriptedPlay play;
  StartAndFinish(play);
  std::string row_before_wrap;
  std::vector<float> cursor;
  play.When(Playing, [&](KeyTable&) {
    for (int answer = 0; answer < 20; ++answer) {
      uint64_t at = 10 + 20 * static_cast<uint64_t>(answer);
      play.After(at, [&](KeyTable& keys) {
        if (PairPos == 18) {
          for (const auto& digit : DigitRow)
            row_before_wrap += digit;
        }
        keys.Press(VK_0 + Expected());
      });
      play.After(at + 5, [&](KeyTable& keys) {
        for (int vk = VK_0; vk <= VK_0 + 9; ++vk)
          keys.Release(vk);
        cursor.push_back(CursorLeft());
      });
    }
    play.After(395, [&](KeyTable&) {
      ASSERT_EQ(row_before_wrap.size(), 20u);
      int answer = (row_before_wrap[18] - '0' + row_before_wrap[19] - '0') % 10;
      EXPECT_EQ(DigitRow[18], std::to_string(answer));
      Form& strip = *FindLoadedForm("frmMONDAI");
      EXPECT_EQ(strip.Label("LL", 19).Caption(), DigitRow[19]);
      EXPECT_EQ(PairPos, 1) << "the twentieth answer took cells 0 and 1 of the new sweep";
    });
  });

  TimeAttack();

  ASSERT_EQ(cursor.size(), 20u);
  EXPECT_EQ(cursor[0], 4980 + 270);
  EXPECT_EQ(cursor[17], 4980 + 18 * 270);
  EXPECT_EQ(cursor[18], 4980) << "back over cells 0 and 1";
  EXPECT_EQ(cursor[19], 4980 + 270);
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
    play.After(1500, [&](KeyTable& held) {
      for (int vk = VK_0; vk <= VK_0 + 9; ++vk)
        held.Release(vk);
    });
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
  play.When(AtStartPrompt, [&](KeyTable&) {
    SetRow("34");
    Tap(play, VK_NUMPAD0 + 7, 500);  // during "Ready..."
  });
  int count_early_in_play = -1;
  play.When(Playing, [&](KeyTable&) {
    play.After(20, [&](KeyTable&) { count_early_in_play = CorrectCount; });
  });

  TimeAttack();

  EXPECT_EQ(count_early_in_play, 1);
  EXPECT_EQ(DigitRow[0], "7");
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

TEST_F(TimeAttackTest, PlayLastsSixtySecondsAcrossTheWrapOfTheTickCounter) {
  ScriptedPlay play(UINT32_MAX - 30000);
  StartAndFinish(play);
  uint32_t played = 0;
  int32_t start = 0;
  play.When(AtResult, [&](KeyTable&) {
    played = PlayedMs();
    start = StartTick;
  });

  TimeAttack();

  EXPECT_LT(start, 0) << "play started before the wrap";
  EXPECT_GE(TickCount(), 0) << "and ended after it";
  EXPECT_GE(played, 59950u);
  EXPECT_LE(played, 59955u);
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
    play.When(AtResult, [&](KeyTable&) {
      Form& score = *FindLoadedForm("frmTALK");
      Form& rank = *FindLoadedForm("frmTalk2");
      EXPECT_EQ(rank.Width(), rank.TextWidth(spoilt.said) + 225) << spoilt.said;
      EXPECT_EQ(rank.Left(), score.Left());
      EXPECT_EQ(rank.Top(), score.Top() + score.Height());
    });
    testing::internal::CaptureStderr();
    TimeAttack();
    std::string stderr_text = testing::internal::GetCapturedStderr();
    EXPECT_NE(stderr_text.find(path), std::string::npos) << stderr_text;
  }
}

using TimeAttackEndsTest = TimeAttackTest;

void QuitAtPrompt(std::initializer_list<int> keys) {
  ScriptedPlay play;
  play.When(AtStartPrompt, [&play, keys](KeyTable&) {
    for (int vk : keys)
      play.After(5, Press(vk));
  });
  TimeAttack();
}

TEST_F(TimeAttackEndsTest, EscAtTheStartPromptEndsTheProgramEvenWithEnterInTheSamePoll) {
  EXPECT_EXIT(QuitAtPrompt({VK_ESCAPE}), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(QuitAtPrompt({VK_RETURN, VK_ESCAPE}), testing::ExitedWithCode(0), "");
}

}  // namespace
