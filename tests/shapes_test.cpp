#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

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

Pixels PixelsOf(HRGN region) {
  RECT box{};
  GetRgnBox(region, &box);
  Pixels pixels;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      if (PtInRegion(region, x, y)) pixels.emplace(x, y);
    }
  }
  return pixels;
}

Pixels ShapePixels(int shape, float x = 0, float y = 0) {
  HRGN region = MakeShapeRegion(shape, x, y);
  Pixels pixels = PixelsOf(region);
  EXPECT_TRUE(DeleteObject(region));
  return pixels;
}

Pixels Moved(const Pixels& pixels, int dx, int dy) {
  Pixels moved;
  for (auto [x, y] : pixels)
    moved.emplace(x + dx, y + dy);
  return moved;
}

Pixels Mirrored(const Pixels& pixels, int last_column) {
  Pixels mirrored;
  for (auto [x, y] : pixels)
    mirrored.emplace(last_column - x, y);
  return mirrored;
}

bool Contains(const Pixels& outer, const Pixels& inner) {
  return std::includes(outer.begin(), outer.end(), inner.begin(), inner.end());
}

const FormDesign kPlain{.name = "frmPlain"};

class Shapes : public testing::Test {
 protected:
  void SetUp() override {
    InitRegionTables();
    InitTalkRegionTables();
    handles_ = LiveHandleCount();
  }
  void TearDown() override {
    UnloadAllFormsExcept("");
    EXPECT_EQ(LiveHandleCount(), handles_) << "every region, brush and surface freed";
  }
  size_t handles_ = 0;
};

TEST_F(Shapes, CellAndCursorTablesGiveTheirOutlines) {
  HRGN cell = MakeShapeRegion(0, 0, 0);
  RECT box{};
  GetRgnBox(cell, &box);
  EXPECT_EQ((std::array{box.left, box.top, box.right, box.bottom}), (std::array{1, 1, 17, 17}));
  for (auto [x, y] : {std::pair{2, 1}, {1, 2}, {16, 2}, {8, 8}})
    EXPECT_TRUE(PtInRegion(cell, x, y));
  for (auto [x, y] : {std::pair{1, 1}, {16, 1}, {1, 16}, {16, 16}}) {
    EXPECT_FALSE(PtInRegion(cell, x, y)) << x << "," << y;
  }
  DeleteObject(cell);

  Pixels cursor = ShapePixels(1);
  for (auto pixel : {std::pair{1, 1}, {32, 16}, {11, 18}, {24, 19}, {17, 31}, {18, 31}}) {
    EXPECT_TRUE(cursor.count(pixel)) << pixel.first << "," << pixel.second;
  }
  for (auto [x, y] : cursor) {
    EXPECT_NE(y, 17) << "one empty row between box and arrow";
    if (y == 20 || y == 21) {
      EXPECT_TRUE(x >= 12 && x <= 23) << x;
    }
  }
}

TEST_F(Shapes, PositionsInTwipsBecomeWholePixelsTruncatedTowardZero) {
  Pixels cell = ShapePixels(0);
  EXPECT_EQ(ShapePixels(0, 150, 30), Moved(cell, 10, 2));
  EXPECT_EQ(ShapePixels(0, 7, 0), cell);
  EXPECT_EQ(ShapePixels(0, -20, 0), Moved(cell, -1, 0));
  EXPECT_EQ(ShapePixels(0, 22.5f, 0), Moved(cell, 1, 0)) << "22.5 rounds to the even 22";
}

TEST_F(Shapes, BalloonEndsMirrorEachOtherAndRimsLieInsideTheirEnds) {
  EXPECT_EQ(ShapePixels(10003), Mirrored(ShapePixels(10000), 7));
  EXPECT_EQ(ShapePixels(10002), Mirrored(ShapePixels(10001), 6));
  EXPECT_EQ(ShapePixels(10007), Mirrored(ShapePixels(10004), 7));
  EXPECT_EQ(ShapePixels(10006), Mirrored(ShapePixels(10005), 6));
  for (int rim = 10004; rim <= 10007; ++rim) {
    EXPECT_TRUE(Contains(ShapePixels(rim - 4), ShapePixels(rim))) << rim;
  }
  Pixels right_rim = ShapePixels(10005);
  for (int y = 2; y <= 14; ++y)
    EXPECT_FALSE(right_rim.count({0, y})) << "open on the left";
}

TEST_F(Shapes, EmptyTablesStopTheProgramWithTheRegionDataMessage) {
  auto make = [](int shape) {
    PostTask([] { DismissMessageBox(); });
    MakeShapeRegion(shape, 0, 0);
  };
  EXPECT_EXIT(make(2), testing::ExitedWithCode(1), "It failed in reading of region data\\.");
  EXPECT_EXIT(
      {
        TalkRegionTables = {};
        make(10000);
      },
      testing::ExitedWithCode(1), "It failed in reading of region data\\.");
}

TEST_F(Shapes, ShapeWindowReplacesOrUnitesOutlines) {
  Form& form = Reference(kPlain);
  form.SetWidth(1200);
  form.SetHeight(600);
  auto outline = [&form] {
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(form.hWnd(), copy);
    Pixels pixels = PixelsOf(copy);
    DeleteObject(copy);
    return pixels;
  };
  ShapeWindow(0, form, 0, 0, true);
  EXPECT_EQ(outline(), ShapePixels(0)) << "merging into no outline gives the shape alone";
  ShapeWindow(0, form, 300, 0, true);
  Pixels both = ShapePixels(0);
  both.merge(ShapePixels(0, 300, 0));
  EXPECT_EQ(outline(), both);
  ShapeWindow(1, form, 0, 0, false);
  EXPECT_EQ(outline(), ShapePixels(1));
  HRGN given = CreateRectRgn(0, 0, 10, 10);
  ASSERT_EQ(SetWindowRgn(form.hWnd(), given, true), 1);
  EXPECT_FALSE(DeleteObject(given)) << "the window owns its outline";
  EXPECT_EQ(outline().size(), 100u) << "and keeps it";
}

TEST_F(Shapes, DecorateWindowStagesFollowTheFlags) {
  Form& form = Reference(kPlain);
  form.SetBackColor(kWhite);
  form.SetWidth(300);
  form.SetHeight(300);
  form.Line(0, 0, 150, 0, kBlack);

  DecorateWindow(1, form, 0, 0, 0, false);
  EXPECT_EQ(form.Width(), 300);
  EXPECT_EQ(form.Outline(), nullptr);
  EXPECT_EQ(Compose(form).ColorAt(0, 0), kWhite) << "flags 0 still clear the surface";

  DecorateWindow(0, form, 4, 0, 0, false);
  Snapshot shot = Compose(form);
  EXPECT_EQ(form.Outline(), nullptr);
  EXPECT_EQ(shot.ColorAt(2, 1), kBlack) << "the cell's rim";
  EXPECT_EQ(shot.ColorAt(8, 8), Rgb(192, 192, 192));
  EXPECT_EQ(shot.ColorAt(1, 1), kWhite) << "nothing painted outside the shape";

  DecorateWindowPreset(1, form, false);
  EXPECT_EQ(form.Width(), 510);
  EXPECT_EQ(form.Height(), 525);
  EXPECT_EQ(Compose(form).ColorAt(5, 5), kWhite) << "without the picture";

  DecorateWindowPreset(1, form, true);
  shot = Compose(form);
  ASSERT_EQ(shot.width, 34);
  ASSERT_EQ(shot.height, 35);
  EXPECT_EQ(shot.ColorAt(5, 2), kWhite) << "the white line inside the top edge";
  EXPECT_EQ(shot.ColorAt(17, 31), Rgb(255, 0, 0)) << "the arrow's tip";
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      if (shot.Shows(x, y)) {
        EXPECT_NE(shot.ColorAt(x, y), Rgb(255, 0, 255)) << x << "," << y;
      }
    }
    if (y == 17) {
      for (int x = 0; x < shot.width; ++x)
        EXPECT_FALSE(shot.Shows(x, y));
    }
  }
}

}  // namespace
