#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "game/forms.h"
#include "platform/form.h"
#include "platform/gdi.h"
#include "platform/system_metrics.h"
#include "platform/testing.h"
#include "platform/toolkit.h"
#include "rgn/mod_RGN_Data.h"
#include "rgn/mod_RGN_Proc.h"
#include "rgn/shaping.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;
constexpr Color kSilver = Rgb(192, 192, 192);

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

// The window's outline, read through the region calls.
Pixels OutlinePixels(const Form& form) {
  GdiObject copy(CreateRectRgn(0, 0, 0, 0));
  return GetWindowRgn(form.hWnd(), copy.Get()) != ERROR ? PixelsOf(copy.Get()) : Pixels{};
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

TEST_F(Shapes, EmptyTablesStopTheProgramWithTheRegionDataMessage) {
  auto make = [](int shape) {
    PostTask([] { DismissMessageBox(); });
    if (shape >= 10000) TalkRegionTables = {};
    MakeShapeRegion(shape, 0, 0);
  };
  for (int shape : {2, 10000})
    EXPECT_EXIT(make(shape), testing::ExitedWithCode(1), "It failed in reading of region data\\.");
}

TEST_F(Shapes, DecorateWindowStagesFollowTheFlagsAndShapesReplaceOrUniteOutlines) {
  Form& form = Reference(kPlain);
  form.SetBackColor(kWhite);
  form.SetWidth(1200);
  form.SetHeight(600);
  form.Line(0, 0, 150, 0, kBlack);
  DecorateWindow(0, form, kDecoratePicture, 0, 0, false);
  Snapshot shot = Compose(form);
  EXPECT_EQ(form.Width(), 1200);
  EXPECT_EQ(form.Outline(), nullptr);
  EXPECT_EQ(shot.ColorAt(2, 1), kBlack) << "the cell's rim";
  EXPECT_EQ(shot.ColorAt(8, 8), kSilver);
  EXPECT_EQ(shot.ColorAt(1, 1), kWhite) << "nothing painted outside the shape";

  ShapeWindow(0, form, 300, 0, true);
  Pixels both = ShapePixels(0, 300, 0);
  EXPECT_EQ(OutlinePixels(form), both) << "merging into no outline gives the shape alone";
  ShapeWindow(0, form, 0, 0, true);
  both.merge(ShapePixels(0));
  EXPECT_EQ(OutlinePixels(form), both);
  DecorateWindowPreset(1, form, false);
  EXPECT_EQ(OutlinePixels(form), ShapePixels(1)) << "the preset replaces the outline";
  EXPECT_EQ(Compose(form).ColorAt(5, 5), kWhite) << "without the picture";

  DecorateWindowPreset(1, form, true);
  shot = Compose(form);
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

// Composite windows cover this small screen's work area.
constexpr DisplayMetrics kScreen{
    .width_px = 64, .height_px = 48, .work_area_bottom_px = 40, .caption_px = 19};

TEST_F(Shapes, CompositeWindowsPaintAtApplyLaterShapesOverEarlierOnesAndFillByMode) {
  OverrideDisplayMetrics(&kScreen);
  Form& form = Reference(kPlain);
  form.SetBackColor(kWhite);
  BeginCompositeWindow(form, 1);
  AddCompositeShape(0, form, 0, 0);
  AddCompositeShape(0, form, 120, 0);  // overlaps the first cell from column 8
  EXPECT_EQ(form.Outline(), nullptr) << "the outline changes only at apply";
  ApplyCompositeWindow(form);
  Snapshot shot = Compose(form);
  EXPECT_EQ(shot.ColorAt(9, 8), kBlack) << "the later cell's rim covers the earlier face";
  EXPECT_EQ(shot.ColorAt(5, 8), kSilver);
  EXPECT_EQ(shot.ColorAt(16, 8), kSilver) << "the earlier rim is covered too";
  // A new batch: the new outline replaces the old one.
  AddCompositeShape(0, form, 300, 0);
  ApplyCompositeWindow(form);
  shot = Compose(form);
  EXPECT_FALSE(shot.Shows(5, 8));
  EXPECT_EQ(shot.ColorAt(28, 8), kSilver);

  // A begin before apply frees the pending region and reuses the work picture.
  const size_t handles = LiveHandleCount();
  AddCompositeShape(0, form, 0, 0);
  BeginCompositeWindow(form, 1);
  EXPECT_EQ(LiveHandleCount(), handles);
  // Nothing added: the window is cleared, rectangular, and the black work picture out of sight.
  ApplyCompositeWindow(form);
  EXPECT_EQ(form.Outline(), nullptr);
  EXPECT_EQ(Compose(form).ColorAt(30, 20), kWhite);

  // Solid fill keeps the earlier batches: everything the work picture holds, shown whole.
  form.SetBackColor(Rgb(0, 0, 255));
  BeginCompositeWindow(form, 2);
  AddCompositeShape(0, form, 0, 0, kWhite);
  ApplyCompositeWindow(form);
  AddCompositeShape(0, form, 300, 0);  // no colour: the window's background
  ApplyCompositeWindow(form);
  BitBlt(form.hDC(), 0, 0, 64, 40, form.FindPictureBox("WorkPicture")->hDC(), 0, 0, SRCCOPY);
  SetWindowRgn(form.hWnd(), 0, true);
  shot = Compose(form);
  EXPECT_EQ(shot.ColorAt(25, 8), Rgb(0, 0, 255));
  EXPECT_EQ(shot.ColorAt(5, 8), kWhite);
  EXPECT_EQ(shot.ColorAt(40, 8), kBlack);

  // Mode 0 leaves the image as it was and changes only the outline.
  form.Tag = "0,0";
  form.SetBackColor(kWhite);
  form.Cls();
  form.Line(0, 0, 960, 0, kBlack);
  AddCompositeShape(0, form, 0, 0);
  ApplyCompositeWindow(form);
  shot = Compose(form);
  EXPECT_EQ(shot.ColorAt(2, 1), kWhite);
  EXPECT_FALSE(shot.Shows(2, 0));
  OverrideDisplayMetrics(nullptr);
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

TEST_F(Balloon, MatchesItsPixelsOnBothSidesAndIsRedoneIdentically) {
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
  Snapshot first = Compose(frmTALK());
  int ink = 0;  // the text, from 128 twips right and 52 down
  for (int y = 2; y < 15; ++y) {
    for (int x = 7; x < first.width - 8; ++x) {
      if (!first.Shows(x, y) || first.ColorAt(x, y) == kWhite) continue;
      if (x == 7) ADD_FAILURE() << "ink left of the text";
      if (x > 8) ++ink;
    }
  }
  EXPECT_GT(ink, 100);
  Unload(frmTALK());
  MakeRGNTalkWindow(frmTALK(), text, 3000, 4500, 0);
  EXPECT_EQ(Compose(frmTALK()).argb, first.argb);
}

}  // namespace
