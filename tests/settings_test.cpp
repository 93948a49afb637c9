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
  EXPECT_EQ(FindIniValue("[Data]\nHISCORE1=", "Data", "HISCORE1"), "");
}

TEST(IniText, WritingKeepsEveryOtherByteAndTheLineEnds) {
  const std::string head = "\xEF\xBB\xBF; scores\r\n[Data]\r\nHISCORE1=";
  const std::string section_end = "\r\nforeign line\r\n";
  const std::string rest = "\r\n[Other]\r\nx = 1\r\n";
  const std::string text = head + "50,,old" + section_end + rest;
  EXPECT_EQ(SetIniValue(text, "data", "hiscore1", "60,,new"),
            head + "60,,new" + section_end + rest);
  EXPECT_EQ(SetIniValue(text, "Data", "HISCORE2", "40,,"),
            head + "50,,old" + section_end + "HISCORE2=40,,\r\n" + rest)
      << "a new key goes to the end of its section, before the blank line";
  EXPECT_EQ(SetIniValue("[Other]\nx=1", "Data", "HISCORE1", "1"),
            "[Other]\nx=1\n[Data]\nHISCORE1=1")
      << "LF kept, and no final line end where there was none";
  EXPECT_EQ(SetIniValue("", "Data", "HISCORE1", "1"), "[Data]\nHISCORE1=1\n");
}

TEST(Settings, ValuesAreCutToFiveHundredTenBytesAndThePathHasOneSeparator) {
  const std::string kept = std::string(509, 'x') + "y";
  EXPECT_EQ(SettingValue("[Data]\nK=" + kept + "zz", "Data", "K"), kept);
  EXPECT_EQ(SettingsPathIn("/", "noruka-keisan"), "/noruka-keisan.ini");
}

// Beside the executable otherwise: every test of scores, and the played game, use that place.
TEST(Settings, AnInstalledCopyKeepsItsScoresInThePlayersDataDirectoryAndCarriesTheOldOnesOver) {
  EXPECT_TRUE(IsInstallDirectory("/usr/games"));
  ScratchInstall install;
  const std::string beside = "[Data]\nHISCORE1=50,,2024/01/05 09:03:07\n";
  Store(install.SettingsFile(), beside);
  App::OverridePath((install.Directory() / "noruka-keisan").string(), true);
  const auto data_home = install.Directory() / "data";
  setenv("XDG_DATA_HOME", data_home.c_str(), 1);
  const auto expected = data_home / "noruka-keisan" / "noruka-keisan.ini";
  EXPECT_EQ(SettingsFilePath(), expected.string());

  EXPECT_EQ(ReadSetting("Data", "HISCORE1"), "50,,2024/01/05 09:03:07") << "read until saved";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(WriteSetting("Data", "HISCORE1", "6\n[Data]\nHISCORE1=99")) << "a line break";
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(WriteSetting("Data", "HISCORE2", "12,,2024/01/06 10:00:00"));
  EXPECT_EQ(Contents(expected), beside + "HISCORE2=12,,2024/01/06 10:00:00\n");
  EXPECT_EQ(Contents(install.SettingsFile()), beside) << "nothing written beside the executable";
  struct stat status {};
  ASSERT_EQ(stat(expected.parent_path().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u) << "the player's own directory";
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
