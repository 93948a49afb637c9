#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

#include "platform/ini_text.h"
#include "platform/profile.h"
#include "scores/settings.h"
#include "tests/scratch_install.h"

namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Store(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(IniText, ReadsFilesWrittenElsewhere) {
  const std::string text =
      "\xEF\xBB\xBF[data]\r\n; a comment = not a key\r\n  HiScore1 =  37,,2024/01/05 09:03:07  \r\n"
      "HISCORE1=second\r\n[Other]\r\nHISCORE2=elsewhere\r\n";
  EXPECT_EQ(FindIniValue(text, "Data", "HISCORE1"), "37,,2024/01/05 09:03:07");
  EXPECT_EQ(FindIniValue(text, "DATA", "hiscore2"), std::nullopt) << "another section's key";
  EXPECT_EQ(FindIniValue(text, "Other", "HISCORE2"), "elsewhere");
  EXPECT_EQ(FindIniValue("", "Data", "HISCORE1"), std::nullopt);
  EXPECT_EQ(FindIniValue("[Data]\nHISCORE1=", "Data", "HISCORE1"), "");
}

TEST(IniText, WritingKeepsEveryOtherByteAndTheLineEnds) {
  const std::string text =
      "\xEF\xBB\xBF; scores\r\n[Data]\r\nHISCORE1=50,,old\r\nforeign line\r\n\r\n[Other]\r\nx = "
      "1\r\n";
  EXPECT_EQ(SetIniValue(text, "data", "hiscore1", "60,,new"),
            "\xEF\xBB\xBF; scores\r\n[Data]\r\nHISCORE1=60,,new\r\nforeign line\r\n\r\n[Other]\r\n"
            "x = 1\r\n");
  EXPECT_EQ(
      SetIniValue(text, "Data", "HISCORE2", "40,,"),
      "\xEF\xBB\xBF; scores\r\n[Data]\r\nHISCORE1=50,,old\r\nforeign line\r\nHISCORE2=40,,\r\n"
      "\r\n[Other]\r\nx = 1\r\n")
      << "a new key goes to the end of its section, before the blank line";
  EXPECT_EQ(SetIniValue("[Other]\nx=1", "Data", "HISCORE1", "1"),
            "[Other]\nx=1\n[Data]\nHISCORE1=1")
      << "LF kept, and no final line end where there was none";
  EXPECT_EQ(SetIniValue("", "Data", "HISCORE1", "1"), "[Data]\nHISCORE1=1\n");
}

class Settings : public testing::Test {
 protected:
  ScratchInstall install_;
};

TEST_F(Settings, PathIsBesideTheExecutableWithOneSeparator) {
  EXPECT_EQ(SettingsPathIn("/", "noruka-keisan"), "/noruka-keisan.ini");
  EXPECT_EQ(SettingsPathIn("/usr/games", "noruka-keisan"), "/usr/games/noruka-keisan.ini");
  EXPECT_EQ(SettingsFilePath(), install_.SettingsFile());
}

TEST_F(Settings, AnInstalledCopyKeepsItsScoresInThePlayersDataDirectory) {
  App::OverridePath("/nonexistent-install/games/noruka-keisan");
  setenv("XDG_DATA_HOME", install_.Directory().c_str(), 1);
  std::string expected = (install_.Directory() / "noruka-keisan" / "noruka-keisan.ini").string();
  EXPECT_EQ(SettingsFilePath(), expected);
  WriteSetting("Data", "HISCORE1", "12,,2024/01/05 09:03:07");
  EXPECT_EQ(ReadSetting("Data", "HISCORE1"), "12,,2024/01/05 09:03:07");
  EXPECT_TRUE(std::filesystem::exists(expected));
  unsetenv("XDG_DATA_HOME");
}

TEST_F(Settings, ValuesReadBackTrimmedAndCutToFiveHundredTenBytes) {
  EXPECT_EQ(ReadSetting("Data", "HISCORE1"), "") << "no file yet";
  WriteSetting("Data", "HISCORE1", "  37,,2024/01/05 09:03:07  ");
  EXPECT_EQ(ReadSetting("Data", "HISCORE1"), "37,,2024/01/05 09:03:07");
  WriteSetting("Data", "HISCORE2", "     ");
  EXPECT_EQ(ReadSetting("Data", "HISCORE2"), "");
  WriteSetting("Data", "HISCORE3", "");
  EXPECT_EQ(ReadSetting("Data", "HISCORE3"), "");
  std::string long_value(600, 'x');
  long_value[509] = 'y';
  WriteSetting("Data", "HISCORE4", long_value);
  EXPECT_EQ(ReadSetting("Data", "HISCORE4"), long_value.substr(0, 510));
  EXPECT_EQ(ReadSetting("Nothing", "HISCORE1"), "");
}

TEST_F(Settings, FailedWritesChangeNothingAndSayWhy) {
  Store(install_.SettingsFile(), "[Data]\nHISCORE1=5,,x\n");
  testing::internal::CaptureStderr();
  WriteSetting("Data", "HISCORE1", "6\n[Data]\nHISCORE1=99");
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Contents(install_.SettingsFile()), "[Data]\nHISCORE1=5,,x\n");
  EXPECT_NE(said.find(install_.SettingsFile()), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

  std::string blocked = (install_.Directory() / "file").string();
  Store(blocked, "");
  EXPECT_FALSE(WritePrivateProfileStringA("Data", "K", "V", (blocked + "/x.ini").c_str()));
  EXPECT_NE(ProfileError(), "");
}

TEST_F(Settings, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  const std::string path = install_.SettingsFile();
  // Large enough values that a write takes a while.
  const std::string old_value(400, 'a');
  const std::string new_value(400, 'b');
  ASSERT_TRUE(WritePrivateProfileStringA("Data", "HISCORE1", old_value.c_str(), path.c_str()));
  for (int key = 2; key <= 200; ++key) {
    // Appended rather than "K" + std::to_string(key), on which gcc 12 warns falsely at -O2.
    std::string name = "K";
    name += std::to_string(key);
    ASSERT_TRUE(WritePrivateProfileStringA("Data", name.c_str(), old_value.c_str(), path.c_str()));
  }
  const std::string old_file = Contents(path);
  const std::string new_file = SetIniValue(old_file, "Data", "HISCORE1", new_value);

  std::mt19937 random(12345);
  for (int round = 0; round < 100; ++round) {
    Store(path, old_file);
    pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      WritePrivateProfileStringA("Data", "HISCORE1", new_value.c_str(), path.c_str());
      _exit(0);
    }
    usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    std::string now = Contents(path);
    ASSERT_TRUE(now == old_file || now == new_file) << "round " << round << ": torn file";
  }
}

}  // namespace
