#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/forms.h"
#include "platform/form.h"
#include "platform/gdi.h"
#include "platform/testing.h"
#include "rgn/mod_RGN_Proc.h"

namespace {

// Side 0 with a text 6 px wide: '#' black, '.' white, '-' outside the window's outline.
const std::vector<std::string> kBalloon = {
    "---------------------", "-------########------", "-----##........##----",
    "---##............##--", "---#..............#--", "--#................#-",
    "-#..................#", "-#..................#", "-#..................#",
    "-#..................#", "-#..................#", "--#................#-",
    "--##..............#--", "--#..............##--", "-#.............##----",
    "-#...##########------", "#..##----------------", "###------------------"};

std::vector<std::string> Picture(const Snapshot& shot) {
  std::vector<std::string> rows;
  for (int y = 0; y < shot.height; ++y) {
    std::string row;
    for (int x = 0; x < shot.width; ++x) {
      if (!shot.Shows(x, y)) {
        row += '-';
      } else {
        row += shot.ColorAt(x, y) == kBlack ? '#' : shot.ColorAt(x, y) == kWhite ? '.' : '?';
      }
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> Mirror(std::vector<std::string> rows) {
  for (auto& row : rows)
    row = std::string(row.rbegin(), row.rend());
  return rows;
}

class Balloon : public testing::Test {
 protected:
  void SetUp() override { handles_ = LiveHandleCount(); }
  void TearDown() override {
    UnloadAllFormsExcept("");
    EXPECT_EQ(LiveHandleCount(), handles_);
  }
  size_t handles_ = 0;
};

TEST_F(Balloon, SmallBalloonMatchesItsPixelsOnBothSides) {
  const std::string text = "  ";  // two spaces: 90 twips, and no ink
  ASSERT_EQ(frmTALK().TextWidth(text), 90) << "the font measures differently than designed";
  MakeRGNTalkWindow(frmTALK(), text, 3000, 4500, 0);
  EXPECT_EQ(Picture(Compose(frmTALK())), kBalloon);
  EXPECT_EQ(frmTALK().Left(), 3000);
  EXPECT_EQ(frmTALK().Top(), 4500 - 270);
  EXPECT_TRUE(frmTALK().Visible());

  MakeRGNTalkWindow(frmTalk2(), text, 3000, 4500, 1);
  EXPECT_EQ(Picture(Compose(frmTalk2())), Mirror(kBalloon));
  EXPECT_EQ(frmTalk2().Left() + frmTalk2().Width(), 3000) << "side 1 ends at the anchor";
}

TEST_F(Balloon, ReopenedWindowGivesAnIdenticalBalloonAndTextGrowsIt) {
  const std::string text = "ENTERキーでタイムアタック開始！ESCキーで終了です。";
  MakeRGNTalkWindow(frmTALK(), text, 3000, 4500, 0);
  Snapshot first = Compose(frmTALK());
  EXPECT_EQ(frmTALK().Width(), frmTALK().TextWidth(text) + 225);
  EXPECT_EQ(frmTALK().Caption(), "MakeRGNTalkWindowTitle");
  int ink = 0;  // the text, from 128 twips right and 52 down
  for (int y = 0; y < first.height; ++y) {
    for (int x = 0; x < first.width; ++x) {
      bool dark = first.Shows(x, y) && first.ColorAt(x, y) != kWhite;
      if (dark && x > 8 && x < first.width - 8 && y > 1 && y < 15) ++ink;
      if (dark && y > 1 && y < 15 && x > 6 && x < 8) ADD_FAILURE() << "ink left of the text";
    }
  }
  EXPECT_GT(ink, 100);
  Unload(frmTALK());
  MakeRGNTalkWindow(frmTALK(), text, 3000, 4500, 0);
  EXPECT_EQ(Compose(frmTALK()).argb, first.argb);

  Unload(frmTALK());
  MakeRGNTalkWindow(frmTALK(), "", 3000, 4500, 0);
  EXPECT_EQ(frmTALK().Width(), 225) << "the two ends side by side";
}

}  // namespace
