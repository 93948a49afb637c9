#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "resources/version.h"
#include "scores/history_store.h"
#include "tests/files.h"
#include "tests/history/attacks.h"
#include "tests/scratch_install.h"

namespace {

namespace fs = std::filesystem;

struct Answer {
  int status;
  std::string out, err;
};

// The game beside its history, run without a display.
class CommandLine : public testing::Test {
 protected:
  void SetUp() override { fs::copy_file(NORUKA_GAME, Game()); }
  fs::path Game() const { return install_.Directory() / "noruka-keisan"; }
  fs::path File(const char* name) const { return install_.Directory() / name; }
  Answer Run(const std::string& arguments) const {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + Game().string() + " " +
                                arguments + " >" + File("out").string() + " 2>" +
                                File("err").string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Contents(File("out")),
            Contents(File("err"))};
  }
  ScratchInstall install_;
};

TEST_F(CommandLine, AnswersWithoutADisplayAndLeavesTheHistoryAsItIs) {
  Answer help = Run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: noruka-keisan [OPTION]\n")) << help.out;
  EXPECT_NE(help.out.find(HistoryFilePath()), std::string::npos) << help.out;
  EXPECT_EQ(Run("--version").out, std::string("noruka-keisan ") + kVersion + "\n");

  Answer nothing = Run("--stats");
  EXPECT_EQ(std::tie(nothing.status, nothing.out, nothing.err),
            std::tuple(0, std::string("タイムアタック: 0 回\n"), std::string()));
  EXPECT_FALSE(fs::exists(HistoryFilePath())) << "reading makes no file";

  // Time attacks of every kind: carried over (a high score dated before the first time attack,
  // once), with a wrong press, at the end of play, none typed.
  Store(install_.SettingsFile(),
        "[Data]\nHISCORE1=52,,2023/12/30 21:14:03\nHISCORE2=52,,2023/12/30 21:14:03\n"
        "HISCORE3=41,,2024/01/05 09:30:00\nHISCORE4=12,,no date\n");
  ASSERT_TRUE(RecordTimeAttack(
      Attack({2024, 1, 5, 9, 3, 7}, {{812, 3, 4, 7}, {1500, 7, 9, 5}, {1900, 7, 9, 6}}, 540)));
  ASSERT_TRUE(RecordTimeAttack(Attack({2024, 3, 31, 3, 30, 0}, {{kPlayMs, 5, 5, 0}}, 120)));
  ASSERT_TRUE(RecordTimeAttack(Attack({2024, 11, 3, 23, 30, 0}, {}, -300)));
  const std::string before = Contents(HistoryFilePath());
  // Far from 2024 in days: no day of this week, no streak going on.
  Answer stats = Run("--stats");
  EXPECT_EQ(stats.status, 0) << stats.err;
  EXPECT_EQ(stats.out, Contents(NORUKA_TEST_DATA "/history_stats.txt"));
  for (const char* format : {"csv", "json"}) {
    SCOPED_TRACE(format);
    const std::string expected = Contents(std::string(NORUKA_TEST_DATA "/history.") + format);
    Answer exported = Run(std::string("--export ") + format + " " + File("export").string());
    EXPECT_EQ(std::tie(exported.status, exported.out, exported.err),
              std::tuple(0, std::string(), std::string()));
    EXPECT_EQ(Contents(File("export")), expected);
    EXPECT_EQ(Run(std::string("--export ") + format + " -").out, expected) << "standard output";
  }
  EXPECT_EQ(Contents(HistoryFilePath()), before);
}

TEST_F(CommandLine, AnUnknownOptionOrAMissingArgumentIsOneLineAndStatus2) {
  for (const char* arguments : {"--bogus", "-x", "--export", "--export csv", "--export xml out",
                                "--stats extra", "--help --version"}) {
    SCOPED_TRACE(arguments);
    const Answer answer = Run(arguments);
    EXPECT_EQ(answer.status, 2);
    EXPECT_EQ(answer.out, "");
    EXPECT_TRUE(answer.err.starts_with("noruka-keisan: ")) << answer.err;
    EXPECT_EQ(std::count(answer.err.begin(), answer.err.end(), '\n'), 1) << answer.err;
  }
  const Answer unwritable = Run("--export csv " + File("no/such/folder/out.csv").string());
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
}

}  // namespace
