#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/settings_file.h"
#include "platform/testing.h"
#include "scores/high_score_display.h"
#include "scores/high_scores.h"
#include "scores/settings.h"
#include "tests/scratch_install.h"
#include "tests/stored_settings.h"

namespace {

class HighScores : public testing::Test {
 protected:
  static void Fill(const std::vector<std::string>& scores) {
    for (size_t i = 0; i < scores.size(); ++i)
      WriteSetting("Data", "HISCORE" + std::to_string(i + 1),
                   scores[i].empty() ? "" : scores[i] + ",,x");
  }
  ScratchInstall install_;
};

TEST_F(HighScores, ScoresGoInAtTheirRankPushingTheRestDownOrLeaveTheFileUntouched) {
  Fill({"50", "40", "30", "", ""});
  EXPECT_EQ(RecordHighScore(10), 4) << "the first empty slot";
  EXPECT_EQ(RecordHighScore(45), 2);
  EXPECT_EQ(StoredScores(), (std::vector<std::string>{"50", "45", "40", "30", "10"}));

  Fill({"50", "40", "40", "30", "20"});
  EXPECT_EQ(RecordHighScore(40), 4) << "below the equal scores";
  EXPECT_EQ(StoredScores(), (std::vector<std::string>{"50", "40", "40", "40", "30"}));
  const auto before = std::filesystem::last_write_time(install_.SettingsFile());
  EXPECT_EQ(RecordHighScore(30), 0);
  EXPECT_EQ(std::filesystem::last_write_time(install_.SettingsFile()), before);

  // A rank that cannot be saved is still told, and why it was not saved in one line; the file
  // as it was after a failed save is in the settings file's tests.
  SetSaveFaultForTesting([](SaveStep step) { return step == SaveStep::kWrite ? ENOSPC : 0; });
  testing::internal::CaptureStderr();
  EXPECT_EQ(RecordHighScore(45), 2) << "where it would stand";
  const std::string said = testing::internal::GetCapturedStderr();
  SetSaveFaultForTesting(nullptr);
  EXPECT_FALSE(HighScoreSaved());
  EXPECT_NE(said.find(install_.SettingsFile() + ": " + std::strerror(ENOSPC)), std::string::npos)
      << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(RecordHighScore(5), 0);
  EXPECT_TRUE(HighScoreSaved()) << "nothing to save is no failure";

  // Slots edited by hand count by their leading number.
  EXPECT_EQ(StoredScore("35 points"), 35);
  EXPECT_EQ(StoredScore("lots,,x"), 0);
  EXPECT_EQ(StoredScore(" 1 2,,x"), 12) << "blanks are ignored";
}

// The plain caption, "(なし)" and "(読めません)" are in the menu's test.
TEST_F(HighScores, CaptionsShowRankTimeAndARightAlignedScore) {
  EXPECT_EQ(HighScoreCaption(3, "1234,abc,2024/1/5 9:03:07"),
            "３位：2024年01月05日 09:03:07  スコア: 1234 回");
  EXPECT_EQ(HighScoreCaption(4, "12345,,2024/01/05 09:03:07"),
            "４位：2024年01月05日 09:03:07  スコア: 2345 回");
  EXPECT_EQ(HighScoreCaption(1, "37,,2024/02/30 09:03:07"),
            "１位：2024/02/30 09:03:07  スコア:   37 回");
  EXPECT_EQ(HighScoreCaption(1, "35 points"), "１位：  スコア: ints 回");
  EXPECT_EQ(HighScoreCaption(1, "スコア高,,x"), "１位：x  スコア: スコア高 回")
      << "four characters, not four bytes";
}

}  // namespace
