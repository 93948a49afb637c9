#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
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
    play.When(AtStartPrompt, [&play] {
      play.Happen({VK_ESCAPE, KeyEvent::Kind::kPress});
      play.Happen({VK_ESCAPE, KeyEvent::Kind::kRelease});
    });
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

// The menu opened during play leaves the holder loaded: the result's ENTER still leads to the
// next time attack's prompt.
TEST_F(Menu, OpenedDuringPlayItLeavesTheNextTimeAttackGoing) {
  auto attacks = [this] {
    ScriptedPlay play;
    StartAndFinish(play);
    play.When(Playing, [] { RightClickAndChoose({"ハイスコア", "１位：(なし)"}); });
    TimeAttack();
    Require(IsLoaded("frmMenu") && LoadedFormNames().size() == 1, "only the holder is left");
    play.When(AtStartPrompt, [] { std::_Exit(kAsExpected); });
    TimeAttack();
    std::_Exit(3);
  };
  EXPECT_EXIT(attacks(), testing::ExitedWithCode(kAsExpected), "");
}

// The high scores of the submenu are read afresh at every opening, an unreadable table as such.
TEST_F(Menu, ItsHighScoresFollowTheFileAtEveryOpening) {
  auto prompt = [this] {
    ScriptedPlay play;
    play.When(AtStartPrompt, [this] {
      RightClickAndChoose({"ハイスコア", "１位：(なし)"});
      Require(WriteSetting("Data", "HISCORE1", "37,,2024/01/05 09:03:07"), "written");
      RightClickAndChoose({"ハイスコア", "１位：2024年01月05日 09:03:07  スコア:   37 回"});
      std::filesystem::remove(install_.SettingsFile());
      std::filesystem::create_directory(install_.SettingsFile());
      RightClickAndChoose({"ハイスコア", "１位：(読めません)"});
      Require(frmMenu().Menu("mhiscore", 4).Caption() == "５位：(読めません)", "unreadable");
      std::_Exit(kAsExpected);
    });
    TimeAttack();
    std::_Exit(3);
  };
  EXPECT_EXIT(prompt(), testing::ExitedWithCode(kAsExpected), "");
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

// Another copy of the game, holding the table's lock until the returned pipe end is closed.
int HoldTheLock(const std::string& lock) {
  int ready[2], release[2];
  Require(pipe(ready) == 0 && pipe(release) == 0, "pipes");
  if (fork() == 0) {
    close(release[1]);
    const int fd = open(lock.c_str(), O_RDWR | O_CREAT, 0644);
    char byte = flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
    (void)!write(ready[1], &byte, 1);
    (void)!read(release[0], &byte, 1);
    _exit(0);
  }
  close(release[0]);
  close(ready[1]);
  char locked = 0;
  (void)!read(ready[0], &locked, 1);
  Require(locked == 'y', "the other copy took the lock");
  return release[1];
}

// While another copy of the game holds the table for longer than the game waits for it, the menu
// opens and shows the table; then the rank balloon says the score was not saved. Once the other
// copy lets go, the next save takes the lock at its next try.
TEST_F(Menu, OpensWhileTheSaveWaitsForAnotherCopyAndTheWaitEndsInTheTruth) {
  auto attack = [this] {
    const std::string told = "2 位の記録を保存できませんでした。";
    const auto pictures = BalloonPictures({told});
    WriteSetting("Data", "HISCORE1", "37,,2024/01/05 09:03:07");
    const int release = HoldTheLock(install_.SettingsFile() + ".lock");
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
                play.After(500, [release] {
                  close(release);
                  wait(nullptr);
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
