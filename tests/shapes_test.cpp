#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "game/forms.h"
#include "platform/form.h"
#include "platform/gdi.h"
#include "platform/testing.h"
#include "rgn/composite.h"
#include "rgn/decoration.h"
#include "rgn/mod_RGN_Data.h"
#include "rgn/shaping.h"
#include "rgn/talk_window.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels PixelsOf(HRGN region) {
  RECT box{};
  GetRgnBox(region, &box);
  Pixels pixels;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x)
      if (PtInRegion(region, x, y)) pixels.emplace(x, y);
  return pixels;
}

Pixels ShapePixels(int shape, float x = 0, float y = 0, int dx = 0, int dy = 0) {
  GdiObject region(MakeShapeRegion(shape, x, y));
  OffsetRgn(region.Get(), dx, dy);
  return PixelsOf(region.Get());
}

const FormDesign kPlain{.name = "frmPlain"};

class Shapes : public testing::Test {
 protected:
  void SetUp() override {
    InitRegionTables();
    InitTalkRegionTables();
  }
  void TearDown() override {
    UnloadAllFormsExcept("");
    EXPECT_EQ(LiveHandleCount(), handles_) << "every region, brush and surface freed";
  }
  size_t handles_ = LiveHandleCount();
};

TEST_F(Shapes, PositionsInTwipsBecomeWholePixelsTruncatedTowardZero) {
  EXPECT_EQ(ShapePixels(0, 150, 30), ShapePixels(0, 0, 0, 10, 2));
  EXPECT_EQ(ShapePixels(0, 7, 0), ShapePixels(0));
  EXPECT_EQ(ShapePixels(0, -20, 0), ShapePixels(0, 0, 0, -1, 0));
  EXPECT_EQ(ShapePixels(0, 22.5f, 0), ShapePixels(0, 0, 0, 1, 0)) << "22.5 rounds to the even 22";
}

// A second begin drops the shapes of the first, freeing them (the fixture counts the handles);
// apply makes the shapes added the outline.
TEST_F(Shapes, ACompositeWindowKeepsOnlyTheShapesOfItsLastBegin) {
  Form& form = Reference(kPlain);
  BeginCompositeWindow(form, 1);
  AddCompositeShape(0, form, 0, 0);
  AddCompositeShape(0, form, 270, 0);
  BeginCompositeWindow(form, 1);
  AddCompositeShape(0, form, 0, 0);
  ApplyCompositeWindow(form);
  GdiObject outline(CreateRectRgn(0, 0, 0, 0));
  GetWindowRgn(form.hWnd(), outline.Get());
  EXPECT_EQ(PixelsOf(outline.Get()), ShapePixels(0));
}

TEST_F(Shapes, EmptyTablesStopTheProgramWithTheRegionDataMessage) {
  auto make = [](int shape) {
    PostTask([] { DismissMessageBox(); });
    if (shape >= 10000) TalkRegionTables = {};
    MakeShapeRegion(shape, 0, 0);
  };
  for (int shape : {2, 10000})
    EXPECT_EXIT(make(shape), testing::ExitedWithCode(1), "It failed in reading of region data\\.");
}

TEST_F(Shapes, TheCursorPresetIsItsBoxAndArrowWithTheirPictures) {
  Form& form = Reference(kPlain);
  DecorateWindowPreset(1, form, true);
  Snapshot shot = Compose(form);
  ASSERT_EQ(std::pair(shot.width, shot.height), std::pair(34, 35));
  EXPECT_EQ(shot.ColorAt(5, 2), kWhite) << "the white line inside the top edge";
  EXPECT_EQ(shot.ColorAt(17, 31), Rgb(255, 0, 0)) << "the arrow's tip";
  for (auto [x, y] : {std::pair{1, 1}, {32, 16}, {11, 18}, {24, 19}, {18, 31}})
    EXPECT_TRUE(shot.Shows(x, y)) << x << "," << y;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      // One empty row between box and arrow, and the arrow's shaft 12 pixels wide.
      if (y == 17 || ((y == 20 || y == 21) && (x < 12 || x > 23))) {
        EXPECT_FALSE(shot.Shows(x, y)) << x << "," << y;
      } else if (shot.Shows(x, y)) {
        EXPECT_NE(shot.ColorAt(x, y), Rgb(255, 0, 255)) << x << "," << y;
      }
    }
  }
}

// Side 0 with a text 6 px wide: '#' black, '.' white, '-' outside the window's outline.
const std::vector<std::string> kBalloon = {
    "---------------------", "-------########------", "-----##........##----",
    "---##............##--", "---#..............#--", "--#................#-",
    "-#..................#", "-#..................#", "-#..................#",
    "-#..................#", "-#..................#", "--#................#-",
    "--##..............#--", "--#..............##--", "-#.............##----",
    "-#...##########------", "#..##----------------", "###------------------"};

std::vector<std::string> Picture(const Snapshot& shot) {
  std::vector<std::string> rows(static_cast<size_t>(shot.height), std::string(shot.width, '-'));
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const uint32_t colour = shot.ColorAt(x, y);
      if (shot.Shows(x, y)) rows[y][x] = colour == kBlack ? '#' : colour == kWhite ? '.' : '?';
    }
  }
  return rows;
}

using Balloon = Shapes;

TEST_F(Balloon, MatchesItsPixelsOnBothSidesAndHoldsItsText) {
  const std::string blank = "  ";  // two spaces: 90 twips, and no ink
  ASSERT_EQ(frmTALK().TextWidth(blank), 90) << "the font measures differently than designed";
  MakeRGNTalkWindow(frmTALK(), blank, 3000, 4500, 0);
  EXPECT_EQ(Picture(Compose(frmTALK())), kBalloon);
  MakeRGNTalkWindow(frmTalk2(), blank, 3000, 4500, 1);
  std::vector<std::string> mirrored = kBalloon;
  for (auto& row : mirrored)
    std::ranges::reverse(row);
  EXPECT_EQ(Picture(Compose(frmTalk2())), mirrored);
  EXPECT_EQ(frmTalk2().Left() + frmTalk2().Width(), 3000) << "side 1 ends at the anchor";

  const std::string text = "ENTERキーでタイムアタック開始！ESCキーで終了です。";
  MakeRGNTalkWindow(frmTALK(), text, 3000, 4500, 0);
  Snapshot shot = Compose(frmTALK());
  int ink = 0;  // the text, from 128 twips right and 52 down
  for (int y = 2; y < 15; ++y) {
    for (int x = 7; x < shot.width - 8; ++x) {
      if (!shot.Shows(x, y) || shot.ColorAt(x, y) == kWhite) continue;
      if (x == 7) ADD_FAILURE() << "ink left of the text";
      if (x > 8) ++ink;
    }
  }
  EXPECT_GT(ink, 100);
}

}  // namespace
