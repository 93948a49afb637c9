#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <tuple>

#include "platform/ini_text.h"
#include "platform/install_location.h"
#include "platform/testing.h"
#include "scores/settings.h"
#include "tests/files.h"
#include "tests/other_user.h"
#include "tests/scratch_install.h"
#include "tests/stored_settings.h"

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
  using Line = std::tuple<std::string_view, std::string_view, std::string_view>;
  for (auto [section, key, value] : {Line{"Data", "HISCORE1", "6\n[Data]\nHISCORE1=99"},
                                     {"Data", "HISCORE1", std::string_view("6\0", 2)},
                                     {"Data", "HI=SCORE1", "6"},
                                     {"Data", "[HISCORE1", "6"},
                                     {"Da]ta", "HISCORE1", "6"},
                                     {" ", "HISCORE1", "6"}})
    EXPECT_EQ(SetIniValue(text, section, key, value), std::nullopt) << key << "=" << value;
}

TEST(Settings, ValuesAreCutToFiveHundredTenBytesAndThePathHasOneSeparator) {
  const std::string kept = std::string(509, 'x') + "y";
  EXPECT_EQ(SettingValue("[Data]\nK=" + kept + "zz", "Data", "K"), kept);
  EXPECT_EQ(SettingsPathIn("/", "noruka-keisan"), "/noruka-keisan.ini");
}

// Sets an environment variable until the end of the scope.
struct Environment {
  Environment(const char* name, const std::string& value) : name(name) {
    if (const char* was = std::getenv(name)) old = was;
    setenv(name, value.c_str(), 1);
  }
  ~Environment() { old ? setenv(name, old->c_str(), 1) : unsetenv(name); }
  const char* name;
  std::optional<std::string> old;
};

// Beside the executable otherwise: every test of scores, and the played game, use that place.
// The data folder is made on the first save, in the home folder and for its owner, as root
// under sudo too. From then on it is the only one the game writes to: moved, removed or
// replaced while the game runs, it fails the save and is not made again, so the table never
// splits; nor is anything made without a home.
TEST(Settings, AnInstalledCopyKeepsItsScoresInItsDataFolderAndNeverMakesThatFolderAgain) {
  EXPECT_TRUE(IsInstallDirectory("/usr/games"));
  ScratchInstall install;
  const std::string beside = "[Data]\nHISCORE1=50,,2024/01/05 09:03:07\n";
  Store(install.SettingsFile(), beside);
  App::OverridePath((install.Directory() / "noruka-keisan").string(), true);
  const auto home = install.Directory() / "home";
  std::filesystem::create_directory(home);
  const uid_t owner = geteuid() == 0 ? kPlayer : geteuid();
  ASSERT_EQ(chown(home.c_str(), owner, static_cast<gid_t>(-1)), 0);
  unsetenv("XDG_DATA_HOME");
  Environment player_home("HOME", home.string());
  const auto expected = home / ".local/share/noruka-keisan/noruka-keisan.ini";
  const auto folder = expected.parent_path();
  EXPECT_EQ(SettingsFilePath(), expected.string());

  EXPECT_EQ(ReadSetting("Data", "HISCORE1"), "50,,2024/01/05 09:03:07") << "read until saved";
  EXPECT_TRUE(WriteSetting("Data", "HISCORE2", "12,,2024/01/06 10:00:00"));
  EXPECT_EQ(Contents(install.SettingsFile()), beside) << "nothing written beside the executable";
  for (auto made = folder; made != home; made = made.parent_path()) {
    struct stat status {};
    ASSERT_EQ(stat(made.c_str(), &status), 0);
    EXPECT_EQ(std::tie(status.st_mode, status.st_uid), std::tuple(S_IFDIR | 0700u, owner))
        << made << ": the player's own";
  }

  std::filesystem::rename(folder, home / "moved");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(WriteSetting("Data", "HISCORE3", "11,,x")) << "moved away";
  EXPECT_EQ(ReadSetting("Data", "HISCORE1"), std::nullopt) << "gone, not empty";
  EXPECT_FALSE(std::filesystem::exists(folder));
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(WriteSetting("Data", "HISCORE3", "11,,x")) << "another folder in its place";
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  std::filesystem::remove(folder);
  std::filesystem::rename(home / "moved", folder);
  EXPECT_TRUE(WriteSetting("Data", "HISCORE3", "11,,x")) << "back where it was";
  EXPECT_EQ(Contents(expected), beside + "HISCORE2=12,,2024/01/06 10:00:00\nHISCORE3=11,,x\n");
  const auto gone = install.Directory() / "gone";
  Environment no_home("HOME", gone.string());
  EXPECT_FALSE(WriteSetting("Data", "HISCORE3", "11,,x")) << "no home";

  // A data folder set elsewhere is made, in a folder that exists.
  Environment data_home("XDG_DATA_HOME", (install.Directory() / "data").string());
  EXPECT_TRUE(WriteSetting("Data", "HISCORE3", "11,,x"));
  EXPECT_TRUE(
      std::filesystem::exists(install.Directory() / "data/noruka-keisan/noruka-keisan.ini"));
  Environment deeper("XDG_DATA_HOME", (gone / "data").string());
  EXPECT_FALSE(WriteSetting("Data", "HISCORE3", "11,,x"));
  EXPECT_FALSE(std::filesystem::exists(gone));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("cannot save " + expected.string() + ": the folder " + folder.string() +
                      " was moved or removed since the game started\n"),
            std::string::npos)
      << said;
  EXPECT_NE(said.find(gone.string() + ": " + std::strerror(ENOENT) + "\n"), std::string::npos)
      << said;
}

}  // namespace
