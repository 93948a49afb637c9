#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <vector>

#include "platform/executable.h"
#include "platform/failures.h"
#include "platform/testing.h"
#include "scores/high_scores.h"
#include "tests/copies_at_once.h"
#include "tests/files.h"
#include "tests/plain_sleep.h"
#include "tests/scratch_install.h"
#include "tests/stored_settings.h"

namespace {

namespace fs = std::filesystem;

// As the program starts: an executable it cannot find ends it with one line, signed with a
// fixed name.
TEST(Executable, AnUnreadableLinkToItEndsTheProgramWithOneLineUnderAFixedName) {
  auto start = [] {
    if (std::string why; !App::FindExecutable("/nonexistent/exe", &why)) FatalError(why);
    std::_Exit(3);
  };
  EXPECT_EXIT(start(), testing::ExitedWithCode(1),
              "(^|\n)noruka-keisan: cannot find the running executable: [^\n]*\n$");
}

TEST(RunningCopies, ReplacingOrRemovingTheBinaryWhileTheGameRunsChangesNothingAboutItsScores) {
  ScratchInstall install;
  const fs::path game = install.Directory() / "noruka-keisan";
  fs::copy_file(NORUKA_SCORE_RECORDER, game);
  FILE* running = popen((game.string() + " " + NORUKA_SCORE_RECORDER).c_str(), "r");
  ASSERT_NE(running, nullptr);
  char answers[64];
  const size_t got = fread(answers, 1, sizeof answers, running);
  EXPECT_EQ(pclose(running), 0);
  // Third place: all three went into one table, and it is the only settings file there.
  EXPECT_EQ(std::string(answers, got), "1 saved\n1 saved\n3 saved\n");
  EXPECT_EQ(FileNames(install.Directory()),
            (std::set<std::string>{"noruka-keisan.ini", "noruka-keisan.ini.lock"}));
}

// Rounds of five copies that record at the same moment into a table with room for all.
TEST(RunningCopies, CopiesRecordingAtTheSameMomentKeepEveryScore) {
  ScratchInstall install;
  PlainSleep pump;
  for (int round = 0; round < 40; ++round) {
    fs::remove(install.SettingsFile());
    const std::vector<int> statuses = RunCopiesAtOnce(
        5, [](int copy) { return !RecordHighScore(100 + copy) || !HighScoreSaved() ? 1 : 0; });
    for (int status : statuses)
      EXPECT_EQ(status, 0) << "told it ranked and was saved, round " << round;
    ASSERT_EQ(StoredScores(), (std::vector<std::string>{"104", "103", "102", "101", "100"}))
        << "round " << round;
  }
}

}  // namespace
