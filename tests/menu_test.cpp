#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/forms.h"
#include "game/mod_Main.h"
#include "menu/forms.h"
#include "platform/form.h"
#include "platform/testing.h"
#include "scores/high_scores.h"
#include "scores/settings.h"
#include "tests/game_phases.h"
#include "tests/scripted_play.h"
#include "tests/stored_settings.h"

namespace {

// Closing the menu holder ends the program, so these tests run in a child process, which
// reports a broken expectation by its exit status and message.
void Require(bool holds, const std::string& what) {
  if (!holds) {
    std::fprintf(stderr, "not so: %s\n", what.c_str());
    std::_Exit(2);
  }
}

// Right-clicks the cursor window and makes the given choices once the menu is open.
void RightClickAndChoose(std::vector<std::string> choices) {
  PostTask([choices] {
    for (const std::string& choice : choices)
      Require(ChoosePopupItem(choice), choice);
  });
  FindLoadedForm("frmKAITOU")->MousePressed(MouseButton::Right, 0, 10, 10);
}

using Menu = GameTest;

// A window that says, as it closes, whether the menu holder is still there: only the holder's
// own close handler closes the others while it is.
void SayWhoClosesMe(Form&) {
  std::fprintf(stderr, "probe closed, holder %s\n",
               FindLoadedForm("frmMenu") ? "closing" : "gone or never loaded");
}
const FormDesign kProbe{.name = "frmProbe", .close = SayWhoClosesMe};

void QuitAtThePrompt(bool holder_loaded) {
  if (holder_loaded) frmMenu();
  Reference(kProbe);
  ScriptedPlay play;
  if (holder_loaded) {
    // A tap the moment the prompt shows.
    play.When(AtStartPrompt, [&play] { play.Tap(VK_ESCAPE, 0, 0); });
  } else {
    // Both held from before the prompt: ESC wins over ENTER in the same poll.
    play.Happen({VK_RETURN, KeyEvent::Kind::kPress});
    play.Happen({VK_ESCAPE, KeyEvent::Kind::kPress});
  }
  mod_Main::LoopState loop{RandomDigits(1)};
  mod_Main::TimeAttack(loop);
  std::_Exit(3);
}

TEST_F(Menu, EscAtTheStartPromptClosesEveryWindowThroughTheHolderWhenItIsLoaded) {
  EXPECT_EXIT(QuitAtThePrompt(true), testing::ExitedWithCode(0), "probe closed, holder closing");
  EXPECT_EXIT(QuitAtThePrompt(false), testing::ExitedWithCode(0),
              "probe closed, holder gone or never loaded");
}

// What a child process reports by its exit status: all it was to check held.
constexpr int kAsExpected = 7;

// The menu opened during play reads its high scores afresh at every opening, an unreadable
// table as such, and leaves the holder loaded: the result's ENTER still leads to the next time
// attack's prompt.
TEST_F(Menu, OpenedDuringPlayItFollowsTheFileAndLeavesTheNextTimeAttackGoing) {
  auto attacks = [this] {
    ScriptedPlay play;
    StartAndFinish(play);
    play.When(Playing, [this] {
      RightClickAndChoose({"ハイスコア", "１位：(なし)"});
      Require(WriteSetting("Data", "HISCORE1", "37,,2024/01/05 09:03:07"), "written");
      RightClickAndChoose({"ハイスコア", "１位：2024年01月05日 09:03:07  スコア:   37 回"});
      std::filesystem::remove(install_.SettingsFile());
      std::filesystem::create_directory(install_.SettingsFile());
      RightClickAndChoose({"ハイスコア", "１位：(読めません)"});
      Require(frmMenu().Menu("mhiscore", 4).Caption() == "５位：(読めません)", "unreadable");
      std::filesystem::remove(install_.SettingsFile());
    });
    TimeAttack();
    Require(IsLoaded("frmMenu") && LoadedFormNames().size() == 1, "only the holder is left");
    play.When(AtStartPrompt, [] { std::_Exit(kAsExpected); });
    TimeAttack();
    std::_Exit(3);
  };
  EXPECT_EXIT(attacks(), testing::ExitedWithCode(kAsExpected), "");
}

// At the prompt, ESC that closes the menu and is still held when it has closed, and ENTER that
// chooses the about box and is let go while it is open, do not reach the game: it neither ends
// nor starts a time attack.
TEST_F(Menu, KeysThatWorkTheMenuOrTheAboutBoxAreNotTheGames) {
  auto prompt = [this] {
    ScriptedPlay play;
    play.When(AtStartPrompt, [&play] {
      PostTask([&play] {
        play.Happen({VK_ESCAPE, KeyEvent::Kind::kPress});
        Require(ChoosePopupItem("ハイスコア") && ChoosePopupItem("１位：(なし)"), "menu");
      });
      FindLoadedForm("frmKAITOU")->MousePressed(MouseButton::Right, 0, 10, 10);
      play.After(20, play.Release(VK_ESCAPE));
      play.After(40, [&play] {
        PostTask([&play] {
          play.Happen({VK_RETURN, KeyEvent::Kind::kPress});
          PostTask([&play] {
            play.Happen({VK_RETURN, KeyEvent::Kind::kRelease});
            play.Happen({VK_ESCAPE, KeyEvent::Kind::kPress});
            Form& about = *FindLoadedForm("frm_Version");
            about.Buttons().front()->Click()(about);
          });
          Require(ChoosePopupItem("バージョン情報"), "about");
        });
        FindLoadedForm("frmKAITOU")->MousePressed(MouseButton::Right, 0, 10, 10);
        play.After(20, play.Release(VK_ESCAPE));
      });
      play.After(1000, [] {
        Require(AtStartPrompt(), "the time attack started, or the game ended");
        std::_Exit(kAsExpected);
      });
    });
    TimeAttack();
    std::_Exit(3);
  };
  EXPECT_EXIT(prompt(), testing::ExitedWithCode(kAsExpected), "");
}

// While another copy of the game holds the table for longer than the game waits for it, the menu
// opens and shows the table; then the rank balloon says the score was not saved. Once the other
// copy lets go, the next save takes the lock at its next try.
TEST_F(Menu, OpensWhileTheSaveWaitsForAnotherCopyAndTheWaitEndsInTheTruth) {
  auto attack = [this] {
    const std::string told = "2 位の記録を保存できませんでした。";
    const auto pictures = BalloonPictures({told});
    WriteSetting("Data", "HISCORE1", "37,,2024/01/05 09:03:07");
    // Another copy of the game: a child holding the lock, which belongs to the open file the
    // child shares, until it is killed, by the test or with this process.
    const int lock = open((install_.SettingsFile() + ".lock").c_str(), O_RDWR | O_CREAT, 0644);
    Require(flock(lock, LOCK_EX) == 0, "locked");
    const pid_t other = fork();
    if (other == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      for (;;)
        pause();
    }
    close(lock);
    ScriptedPlay play;
    play.When(AtStartPrompt, [&play] { play.Tap(VK_RETURN, 5); });
    uint64_t result_at = 0;
    uint64_t menu_at = 0;
    play.When(AtResult, [&] {
      result_at = play.Elapsed();
      play.After(3000, [&] {
        menu_at = play.Elapsed();
        Require(!IsLoaded("frmTalk2"), "no rank told yet");
        RightClickAndChoose({"ハイスコア", "１位：2024年01月05日 09:03:07  スコア:   37 回"});
      });
    });
    play.When([] { return IsLoaded("frmTalk2"); },
              [&] {
                const uint64_t waited = play.Elapsed() - result_at;
                Require(menu_at == result_at + 3000, "the menu opened during the wait");
                Require(waited >= 10000 && waited < 10100,
                        "ten seconds: " + std::to_string(waited));
                Require(BalloonText("frmTalk2", pictures) == told, told);
                play.After(500, [other] {
                  kill(other, SIGKILL);
                  waitpid(other, nullptr, 0);
                });
                const uint64_t asked = play.Elapsed();
                Require(RecordHighScore(5) == 2 && HighScoreSaved(), "saved at last");
                Require(play.Elapsed() - asked < 500 + 20, "at the next try");
                std::_Exit(kAsExpected);
              });
    TimeAttack();
    std::_Exit(3);
  };
  EXPECT_EXIT(attack(), testing::ExitedWithCode(kAsExpected),
              "cannot save [^\n]*: another copy of the game keeps the file locked\n");
}

TEST(AboutBox, IsBuiltAfreshAtEveryOpeningAndClosesByOkOrItsCloseBox) {
  Form& about = frm_Version();
  Snapshot first = Compose(about);
  ASSERT_EQ(first.width, 263) << "a client area of 3945 x 1125 twips";
  ASSERT_EQ(first.height, 75);
  EXPECT_EQ(first.ColorAt(20, 59), kBlack) << "the darker line of the rule";
  EXPECT_EQ(first.ColorAt(20, 58), kWhite) << "its white line";
  EXPECT_NE(first.ColorAt(12 + 16, 14 + 3), Rgb(192, 192, 192)) << "the icon";

  PostTask([] {
    FindLoadedForm("frm_Version")->Buttons().front()->Click()(*FindLoadedForm("frm_Version"));
  });
  about.Show(ShowMode::Modal);
  EXPECT_FALSE(IsLoaded("frm_Version"));

  PostTask([] { FindLoadedForm("frm_Version")->WindowClosed(); });
  frm_Version().Show(ShowMode::Modal);
  EXPECT_FALSE(IsLoaded("frm_Version")) << "the close box acts like OK";
  EXPECT_EQ(Compose(frm_Version()).argb, first.argb) << "an identical dialog";
  Unload(frm_Version());
}

}  // namespace
