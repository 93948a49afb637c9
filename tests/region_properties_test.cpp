// Properties of the region and drawing calls over many random inputs: each holds for every
// input, the empty and inverted rectangles among them.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <set>
#include <utility>

#include "platform/form.h"
#include "platform/gdi.h"
#include "platform/testing.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;
// Regions are drawn from -8 to 40 and moved by up to 12: looked at from -24 to 56, they show whole.
constexpr int kLow = -24;
constexpr int kHigh = 56;
const FormDesign kSource{.name = "frmSource"}, kTarget{.name = "frmTarget"};

class RegionProperties : public testing::Test {
 protected:
  void TearDown() override {
    UnloadAllFormsExcept("");
    EXPECT_EQ(LiveHandleCount(), handles_) << "every region, brush and surface freed";
  }

  // A region of up to four rectangles, some of them empty or inverted.
  GdiObject RandomRegion() {
    std::uniform_int_distribution<int> coordinate(-8, 40);
    GdiObject region(CreateRectRgn(0, 0, 0, 0));
    for (int n = std::uniform_int_distribution<int>(0, 4)(random_); n > 0; --n) {
      GdiObject rect(CreateRectRgn(coordinate(random_), coordinate(random_), coordinate(random_),
                                   coordinate(random_)));
      EXPECT_NE(CombineRgn(region.Get(), region.Get(), rect.Get(), RGN_OR), ERROR);
    }
    return region;
  }

  std::mt19937 random_{20261207};
  size_t handles_ = LiveHandleCount();
};

Pixels PixelsOf(HRGN region) {
  Pixels pixels;
  for (int y = kLow; y < kHigh; ++y)
    for (int x = kLow; x < kHigh; ++x)
      if (PtInRegion(region, x, y)) pixels.emplace(x, y);
  return pixels;
}

// A union holds the pixels of both, whatever they are, so it is also commutative and associative.
TEST_F(RegionProperties, UnionHoldsThePixelsOfBothAndOffsetMovesEveryPixel) {
  std::uniform_int_distribution<int> shift(-12, 12);
  for (int round = 0; round < 60; ++round) {
    GdiObject a = RandomRegion(), b = RandomRegion(), c = RandomRegion();
    const Pixels pixels = PixelsOf(c.Get());
    Pixels expected = PixelsOf(a.Get());
    expected.merge(PixelsOf(b.Get()));
    GdiObject ab(CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(CombineRgn(ab.Get(), a.Get(), b.Get(), RGN_OR), ERROR);
    EXPECT_EQ(PixelsOf(ab.Get()), expected);
    // The destination may be one of the sources.
    CombineRgn(a.Get(), a.Get(), a.Get(), RGN_OR);
    CombineRgn(b.Get(), a.Get(), b.Get(), RGN_OR);
    EXPECT_EQ(PixelsOf(b.Get()), expected);

    const int dx = shift(random_), dy = shift(random_);
    OffsetRgn(c.Get(), dx, dy);
    Pixels moved;
    for (auto [x, y] : pixels)
      moved.emplace(x + dx, y + dy);
    EXPECT_EQ(PixelsOf(c.Get()), moved);

    // The box bounds the pixels; the empty region's is all zeros.
    std::array<int, 4> bounds{kHigh, kHigh, kLow, kLow};
    for (auto [x, y] : moved)
      bounds = {std::min(bounds[0], x), std::min(bounds[1], y), std::max(bounds[2], x + 1),
                std::max(bounds[3], y + 1)};
    if (moved.empty()) bounds = {0, 0, 0, 0};
    RECT box{-1, -1, -1, -1};
    EXPECT_EQ(GetRgnBox(c.Get(), &box) == NULLREGION, moved.empty());
    EXPECT_EQ((std::array{box.left, box.top, box.right, box.bottom}), bounds);
  }
}

TEST_F(RegionProperties, EveryCallTakesEveryHandleAndStaleOnesAreRefusedAndCounted) {
  Form& form = Reference(kSource);
  HRGN stale = CreateRectRgn(0, 0, 4, 4);
  ASSERT_TRUE(DeleteObject(stale));
  LOGBRUSH solid{BS_SOLID, kBlack, 0};
  GdiObject brush(CreateBrushIndirect(&solid));
  GdiObject region(CreateRectRgn(5, 5, 1, 1));  // inverted: empty
  EXPECT_EQ(PixelsOf(region.Get()), Pixels{});
  // Wider than any int: nothing, rather than an overflowing width.
  GdiObject wide(CreateRectRgn(INT32_MIN, 0, INT32_MAX, 10));
  EXPECT_EQ(PixelsOf(wide.Get()), Pixels{});
  struct {
    RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 2, 0, {}};
    RECT rects[2]{{INT32_MIN, 0, INT32_MAX, 10}, {1, 1, 3, 2}};
  } table;
  GdiObject from_table(
      ExtCreateRegion(nullptr, sizeof table, reinterpret_cast<const std::byte*>(&table)));
  EXPECT_EQ(PixelsOf(from_table.Get()), (Pixels{{1, 1}, {2, 1}}));
  RECT box;
  const uint64_t missed = HandleTallies().missed_deletes;
  for (HRGN bad : {HRGN{0}, stale, brush.Get(), form.hWnd(), form.hDC()}) {
    EXPECT_EQ(OffsetRgn(bad, 1, 1), ERROR) << bad;
    EXPECT_EQ(CombineRgn(bad, region.Get(), region.Get(), RGN_OR), ERROR) << bad;
    EXPECT_EQ(CombineRgn(region.Get(), bad, region.Get(), RGN_OR), ERROR) << bad;
    EXPECT_EQ(GetRgnBox(bad, &box), ERROR) << bad;
    EXPECT_FALSE(FillRgn(form.hDC(), bad, brush.Get())) << bad;
    EXPECT_FALSE(PtInRegion(bad, 0, 0)) << bad;
  }
  EXPECT_FALSE(DeleteObject(stale)) << "a handle is deleted once";
  EXPECT_FALSE(DeleteObject(form.hWnd())) << "a window is no region";
  EXPECT_EQ(HandleTallies().missed_deletes, missed + 2);
  EXPECT_EQ(SetWindowRgn(form.hWnd(), stale, true), 0);
  EXPECT_EQ(SetWindowRgn(form.hDC(), region.Get(), true), 0);
  EXPECT_EQ(SetWindowRgn(form.hWnd(), brush.Get(), true), 0);
  EXPECT_EQ(form.Outline(), nullptr) << "nothing refused reached the window";
  EXPECT_EQ(CombineRgn(region.Get(), region.Get(), region.Get(), 1), ERROR) << "only RGN_OR";
}

TEST_F(RegionProperties, ABlitChangesOnlyPixelsInsideItsRectangleAndClip) {
  constexpr int kSize = 32;
  Form& source = Reference(kSource);
  Form& target = Reference(kTarget);
  for (Form* form : {&source, &target}) {
    form->SetWidth(kSize * 15);
    form->SetHeight(kSize * 15);
  }
  // Every source pixel its own colour, so a pixel copied from the wrong place shows.
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      LOGBRUSH solid{BS_SOLID, Rgb(x * 8, y * 8, 77), 0};
      GdiObject brush(CreateBrushIndirect(&solid));
      GdiObject pixel(CreateRectRgn(x, y, x + 1, y + 1));
      FillRgn(source.hDC(), pixel.Get(), brush.Get());
    }
  }
  const Snapshot from = Compose(source);
  std::uniform_int_distribution<int> place(-6, kSize + 2);
  std::uniform_int_distribution<int> extent(-2, 20);
  for (int round = 0; round < 40; ++round) {
    target.SetBackColor(Rgb(1, 2, 3));
    target.Cls();
    GdiObject clip = RandomRegion();
    const bool clipped = round % 2 == 1;
    SelectClipRgn(target.hDC(), clipped ? clip.Get() : 0);
    const int x = place(random_), y = place(random_), w = extent(random_), h = extent(random_);
    // The source rectangle lies inside the source image.
    const int sx = std::uniform_int_distribution<int>(0, kSize - std::max(w, 0))(random_);
    const int sy = std::uniform_int_distribution<int>(0, kSize - std::max(h, 0))(random_);
    ASSERT_TRUE(BitBlt(target.hDC(), x, y, w, h, source.hDC(), sx, sy, SRCCOPY));
    SelectClipRgn(target.hDC(), 0);

    const Snapshot to = Compose(target);
    for (int py = 0; py < kSize; ++py) {
      for (int px = 0; px < kSize; ++px) {
        const bool inside = px >= x && px < x + w && py >= y && py < y + h &&
                            (!clipped || PtInRegion(clip.Get(), px, py));
        ASSERT_EQ(to.ColorAt(px, py),
                  inside ? from.ColorAt(sx + px - x, sy + py - y) : Rgb(1, 2, 3))
            << "pixel " << px << "," << py << " of a " << w << "x" << h << " blit to " << x << ","
            << y << (clipped ? " with a clip" : "");
      }
    }
  }
}

}  // namespace
