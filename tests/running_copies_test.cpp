#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <vector>

#include "platform/testing.h"
#include "platform/toolkit.h"
#include "scores/high_scores.h"
#include "tests/files.h"
#include "tests/scratch_install.h"

namespace {

namespace fs = std::filesystem;

TEST(Executable, AnUnreadableLinkToItEndsTheProgramWithOneLineUnderAFixedName) {
  EXPECT_EXIT(App::FindExecutable("/nonexistent/exe"), testing::ExitedWithCode(1),
              "(^|\n)noruka-keisan: cannot find the running executable: [^\n]*\n$");
}

// A running copy of the score recorder, talked to through one socket as its standard input
// and output.
class Recorder {
 public:
  explicit Recorder(const fs::path& executable) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(ends[1], STDIN_FILENO);
      dup2(ends[1], STDOUT_FILENO);
      execl(executable.c_str(), executable.c_str(), nullptr);
      _exit(127);
    }
    close(ends[1]);
    socket_ = ends[0];
  }
  ~Recorder() { Finish(); }

  // Hands it a score and returns its answer.
  std::string Record(const std::string& score) {
    const std::string line = score + "\n";
    if (write(socket_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return "";
    std::string answer;
    for (char c; read(socket_, &c, 1) == 1 && c != '\n';)
      answer += c;
    return answer;
  }

  // Ends its input and returns its exit status.
  int Finish() {
    if (pid_ <= 0) return -1;
    close(socket_);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int socket_ = -1;
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
