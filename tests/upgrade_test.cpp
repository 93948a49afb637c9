#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

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

TEST(Upgrade, ReplacingOrRemovingTheBinaryWhileTheGameRunsChangesNothingAboutItsScores) {
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

}  // namespace
