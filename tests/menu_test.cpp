#include <gtest/gtest.h>

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
#include "platform/toolkit.h"
#include "rgn/mod_RGN_Proc.h"
#include "scores/settings.h"
#include "tests/game_phases.h"
#include "tests/scripted_play.h"

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
  mod_Main::TimeAttack();
  std::_Exit(3);
}

TEST_F(Menu, EscAtTheStartPromptClosesEveryWindowThroughTheHolderWhenItIsLoaded) {
  EXPECT_EXIT(QuitAtThePrompt(true), testing::ExitedWithCode(0), "probe closed, holder closing");
  EXPECT_EXIT(QuitAtThePrompt(false), testing::ExitedWithCode(0),
              "probe closed, holder gone or never loaded");
}

// The menu opened during play leaves the next time attack going, and the high scores it shows
// follow the file at every opening. At the start prompt, the keys that work the menu and the
// about box do not reach the game.
TEST_F(Menu, KeysThatWorkTheMenuOrTheAboutBoxAreNotTheGames) {
  constexpr int kStillAtThePrompt = 7;
  auto attacks = [this] {
    ScriptedPlay play;
    StartAndFinish(play);
    play.When(Playing, [] { RightClickAndChoose({"ハイスコア", "１位：(なし)"}); });
    mod_Main::TimeAttack();
    WriteSetting("Data", "HISCORE1", "37,,2024/01/05 09:03:07");
    play.When(AtStartPrompt, [this, &play] {
      // ESC closes the menu (here a rank entry does), and is still held when it has closed.
      PostTask([&play] {
        play.After(0, play.Press(VK_ESCAPE));
        Require(ChoosePopupItem("ハイスコア") &&
                    ChoosePopupItem("１位：2024年01月05日 09:03:07  スコア:   37 回"),
                "menu");
      });
      FindLoadedForm("frmKAITOU")->MousePressed(MouseButton::Right, 0, 10, 10);
      play.After(20, play.Release(VK_ESCAPE));
      // ENTER chooses the about box and is let go while it is open; ESC closes it.
      play.After(40, [&play] {
        PostTask([&play] {
          play.After(0, play.Press(VK_RETURN));
          PostTask([&play] {
            play.After(0, play.Release(VK_RETURN));
            play.After(0, play.Press(VK_ESCAPE));
            Form& about = *FindLoadedForm("frm_Version");
            about.Buttons().front()->Click()(about);
          });
          Require(ChoosePopupItem("バージョン情報"), "about");
        });
        FindLoadedForm("frmKAITOU")->MousePressed(MouseButton::Right, 0, 10, 10);
        play.After(20, play.Release(VK_ESCAPE));
      });
      play.After(1000, [this] {
        Require(AtStartPrompt(), "the time attack started");
        std::filesystem::remove(install_.SettingsFile());
        std::filesystem::create_directory(install_.SettingsFile());
        RightClickAndChoose({"ハイスコア", "１位：(読めません)"});
        Require(frmMenu().Menu("mhiscore", 4).Caption() == "５位：(読めません)", "unreadable");
        std::_Exit(kStillAtThePrompt);
      });
    });
    mod_Main::TimeAttack();
    std::_Exit(3);
  };
  EXPECT_EXIT(attacks(), testing::ExitedWithCode(kStillAtThePrompt), "");
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
