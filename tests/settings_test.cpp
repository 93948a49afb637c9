#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/ini_text.h"
#include "platform/install_location.h"
#include "platform/testing.h"
#include "scores/settings.h"
#include "tests/files.h"
#include "tests/scratch_install.h"

namespace {

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

TEST_F(Settings, AnInstalledCopyKeepsItsScoresInThePlayersDataDirectoryAndCarriesTheOldOnesOver) {
  EXPECT_TRUE(IsInstallDirectory("/usr/games"));
  EXPECT_TRUE(IsInstallDirectory("/usr/local/bin"));
  EXPECT_FALSE(IsInstallDirectory(install_.Directory().string())) << "a build or unpacked folder";

  const std::string beside = "[Data]\nHISCORE1=50,,2024/01/05 09:03:07\n";
  Store(install_.SettingsFile(), beside);
  App::OverridePath((install_.Directory() / "noruka-keisan").string(), true);
  const auto data_home = install_.Directory() / "data";
  setenv("XDG_DATA_HOME", data_home.c_str(), 1);
  const auto expected = data_home / "noruka-keisan" / "noruka-keisan.ini";
  EXPECT_EQ(SettingsFilePath(), expected.string());

  EXPECT_EQ(ReadSetting("Data", "HISCORE1"), "50,,2024/01/05 09:03:07") << "read until saved";
  EXPECT_TRUE(WriteSetting("Data", "HISCORE2", "12,,2024/01/06 10:00:00"));
  EXPECT_EQ(Contents(expected),
            "[Data]\nHISCORE1=50,,2024/01/05 09:03:07\nHISCORE2=12,,2024/01/06 10:00:00\n");
  EXPECT_EQ(Contents(install_.SettingsFile()), beside) << "nothing written beside the executable";
  struct stat status {};
  ASSERT_EQ(stat(expected.parent_path().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u) << "the player's own directory";
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

TEST_F(Settings, FailedWritesChangeNothingAndSayWhyInOneLine) {
  Store(install_.SettingsFile(), "[Data]\nHISCORE1=5,,x\n");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(WriteSetting("Data", "HISCORE1", "6\n[Data]\nHISCORE1=99"));
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Contents(install_.SettingsFile()), "[Data]\nHISCORE1=5,,x\n");
  EXPECT_NE(said.find(install_.SettingsFile()), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

  App::OverridePath(install_.SettingsFile() + "/noruka-keisan");  // under a file
  testing::internal::CaptureStderr();
  EXPECT_FALSE(WriteSetting("Data", "K", "V"));
  said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Not a directory"), std::string::npos) << said;
}

}  // namespace
