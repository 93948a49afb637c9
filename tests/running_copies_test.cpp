#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <vector>

#include "scores/high_scores.h"
#include "tests/files.h"
#include "tests/scratch_install.h"

namespace {

namespace fs = std::filesystem;

// A running copy of the score recorder, talked to through its standard input and output.
class Recorder {
 public:
  explicit Recorder(const fs::path& executable) {
    int to_child[2];
    int from_child[2];
    if (pipe(to_child) != 0 || pipe(from_child) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(to_child[0], STDIN_FILENO);
      dup2(from_child[1], STDOUT_FILENO);
      for (int fd : {to_child[0], to_child[1], from_child[0], from_child[1]})
        close(fd);
      execl(executable.c_str(), executable.c_str(), nullptr);
      _exit(127);
    }
    close(to_child[0]);
    close(from_child[1]);
    in_ = fdopen(to_child[1], "w");
    out_ = fdopen(from_child[0], "r");
  }
  ~Recorder() { Finish(); }

  // Hands it a score and returns its answer.
  std::string Record(const std::string& score) {
    std::fprintf(in_, "%s\n", score.c_str());
    std::fflush(in_);
    char line[64] = {};
    if (!std::fgets(line, sizeof line, out_)) return "no answer";
    return std::string(line, std::strcspn(line, "\n"));
  }

  // Ends its input and returns its exit status.
  int Finish() {
    if (pid_ <= 0) return -1;
    std::fclose(in_);
    std::fclose(out_);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  FILE* in_ = nullptr;
  FILE* out_ = nullptr;
};

TEST(RunningCopies, ReplacingOrRemovingTheBinaryWhileTheGameRunsChangesNothingAboutItsScores) {
  ScratchInstall install;
  const fs::path game = install.Directory() / "noruka-keisan";
  fs::copy_file(NORUKA_SCORE_RECORDER, game);
  Recorder running(game);
  EXPECT_EQ(running.Record("30"), "1 saved");

  // As a package upgrade does it: the new binary is written beside the old one and renamed
  // over it, so the running one is now a deleted file.
  fs::copy_file(NORUKA_SCORE_RECORDER, game.string() + ".new");
  fs::rename(game.string() + ".new", game);
  EXPECT_EQ(running.Record("40"), "1 saved");
  fs::remove(game);
  EXPECT_EQ(running.Record("20"), "3 saved");
  EXPECT_EQ(running.Finish(), 0);

  EXPECT_EQ(FileNames(install.Directory()),
            (std::set<std::string>{"noruka-keisan.ini", "noruka-keisan.ini.lock"}));
  std::string table = Contents(install.SettingsFile());
  EXPECT_NE(table.find("HISCORE1=40,,"), std::string::npos) << table;
  EXPECT_NE(table.find("HISCORE2=30,,"), std::string::npos) << table;
  EXPECT_NE(table.find("HISCORE3=20,,"), std::string::npos) << table;
}

// Rounds of copies that record at the same moment into a table with room for all of them.
TEST(RunningCopies, CopiesRecordingAtTheSameMomentKeepEveryScore) {
  ScratchInstall install;
  constexpr int kCopies = 5;
  constexpr int kRounds = 40;
  int made = 0;
  int kept = 0;
  for (int round = 0; round < kRounds; ++round) {
    fs::remove(install.SettingsFile());
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::vector<pid_t> copies;
    for (int copy = 0; copy < kCopies; ++copy) {
      pid_t pid = fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        close(start[1]);
        char byte;
        (void)!read(start[0], &byte, 1);  // returns when the test closes the pipe
        int rank = RecordHighScore(std::to_string(100 + copy), "", HigherFirst);
        _exit(rank != 0 && HighScoreSaved() ? 0 : 1);
      }
      copies.push_back(pid);
    }
    close(start[0]);
    close(start[1]);
    for (pid_t pid : copies) {
      int status = 0;
      waitpid(pid, &status, 0);
      made += WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    std::set<std::string> distinct;
    for (const std::string& entry : ReadHighScores().value_or(std::array<std::string, 5>{})) {
      if (!entry.empty()) distinct.insert(entry.substr(0, entry.find(',')));
    }
    kept += static_cast<int>(distinct.size());
  }
  EXPECT_EQ(made, kCopies * kRounds) << "every copy was told its score ranked and was saved";
  EXPECT_EQ(kept, made);
}

}  // namespace
