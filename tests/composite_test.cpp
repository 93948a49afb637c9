#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "platform/form.h"
#include "platform/gdi.h"
#include "platform/system_metrics.h"
#include "platform/testing.h"
#include "rgn/mod_RGN_Proc.h"

namespace {

constexpr DisplayMetrics kScreen{
    .width_px = 64, .height_px = 48, .work_area_bottom_px = 40, .caption_px = 19};
constexpr Color kSilver = Rgb(192, 192, 192);
constexpr Color kBlue = Rgb(0, 0, 255);
const FormDesign kComposite{.name = "frmComposite"};

class Composite : public testing::Test {
 protected:
  void SetUp() override {
    OverrideDisplayMetrics(&kScreen);
    handles_ = LiveHandleCount();
  }
  void TearDown() override {
    UnloadAllFormsExcept("");
    EXPECT_EQ(LiveHandleCount(), handles_);
    OverrideDisplayMetrics(nullptr);
  }
  size_t handles_ = 0;
};

std::string PendingPart(const Form& form) {
  return form.Tag.substr(0, form.Tag.find(','));
}

// The window's outline as a set of pixels, read through the region calls.
std::set<std::pair<int, int>> OutlinePixels(const Form& form) {
  std::set<std::pair<int, int>> pixels;
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(form.hWnd(), copy) != ERROR) {
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x)
        if (PtInRegion(copy, x, y)) pixels.emplace(x, y);
  }
  DeleteObject(copy);
  return pixels;
}

TEST_F(Composite, TagShowsThePendingRegionUntilApplyHandsItToTheWindow) {
  Form& form = Reference(kComposite);
  BeginCompositeWindow(form, 1);
  EXPECT_EQ(form.Tag, "0,1");
  EXPECT_EQ(form.Width(), 64 * 15);
  EXPECT_EQ(form.Height(), 40 * 15);
  AddCompositeShape(0, form, 0, 0);
  EXPECT_EQ(form.Tag, std::to_string(form.PendingRegion.Get()) + ",1");
  const std::string first = PendingPart(form);
  AddCompositeShape(0, form, 270, 0);
  EXPECT_NE(PendingPart(form), first) << "the union replaces the previous pending region";
  EXPECT_FALSE(DeleteObject(static_cast<HRGN>(std::stoi(first)))) << "and the first is gone";
  EXPECT_TRUE(OutlinePixels(form).empty()) << "the outline changes only at apply";
  ApplyCompositeWindow(form);
  EXPECT_EQ(form.Tag, "0,1");
  EXPECT_EQ(form.PendingRegion.Get(), 0);
  auto outline = OutlinePixels(form);
  EXPECT_TRUE(outline.count({8, 8}) && outline.count({18 + 8, 8})) << "both cells";
  EXPECT_FALSE(outline.count({40, 8})) << "nothing beyond the second cell";

  BeginCompositeWindow(form, 1);
  int work_pictures = 0;
  for (const auto& box : form.PictureBoxes())
    work_pictures += box->Name() == "WorkPicture";
  EXPECT_EQ(work_pictures, 1) << "a second begin reuses the work picture";
}

TEST_F(Composite, ABeginBeforeApplyDropsThePendingShapesAndAnEmptyApplyCopiesNoPicture) {
  Form& form = Reference(kComposite);
  form.SetBackColor(kWhite);
  BeginCompositeWindow(form, 1);
  AddCompositeShape(0, form, 0, 0);  // loads the face pictures
  BeginCompositeWindow(form, 1);
  const size_t handles = LiveHandleCount();
  AddCompositeShape(0, form, 0, 0);
  BeginCompositeWindow(form, 1);
  EXPECT_EQ(LiveHandleCount(), handles) << "the pending region was freed";

  // Nothing added: the window is cleared and the black work picture stays out of sight.
  ApplyCompositeWindow(form);
  EXPECT_EQ(Compose(form).ColorAt(30, 20), kWhite);
}

TEST_F(Composite, PicturesAreCopiedInsideTheOutlineAndLaterShapesCoverEarlierOnes) {
  Form& form = Reference(kComposite);
  form.SetBackColor(kWhite);
  BeginCompositeWindow(form, 1);
  AddCompositeShape(0, form, 0, 0);
  AddCompositeShape(0, form, 120, 0);  // overlaps the first cell from column 8
  ApplyCompositeWindow(form);
  Snapshot shot = Compose(form);
  EXPECT_FALSE(shot.Shows(1, 1)) << "a cut corner";
  EXPECT_FALSE(shot.Shows(30, 8)) << "outside both cells";
  EXPECT_EQ(shot.ColorAt(9, 8), kBlack) << "the later cell's rim covers the earlier face";
  EXPECT_EQ(shot.ColorAt(5, 8), kSilver);
  EXPECT_EQ(shot.ColorAt(16, 8), kSilver) << "the earlier rim is covered too";

  // A new batch starts from a clean work picture: the old faces do not come back.
  AddCompositeShape(0, form, 300, 0);
  ApplyCompositeWindow(form);
  shot = Compose(form);
  EXPECT_FALSE(shot.Shows(5, 8)) << "the new outline replaces the old one";
  EXPECT_EQ(shot.ColorAt(28, 8), kSilver);
}

TEST_F(Composite, SolidFillKeepsEarlierBatchesAndModeZeroOnlyShapes) {
  Form& form = Reference(kComposite);
  form.SetBackColor(kBlue);
  BeginCompositeWindow(form, 2);
  AddCompositeShape(0, form, 0, 0, kWhite);
  ApplyCompositeWindow(form);
  AddCompositeShape(0, form, 300, 0);  // no colour: the window's background
  ApplyCompositeWindow(form);
  // Everything the work picture holds, shown whole.
  BitBlt(form.hDC(), 0, 0, 64, 40, form.FindPictureBox("WorkPicture")->hDC(), 0, 0, SRCCOPY);
  SetWindowRgn(form.hWnd(), 0, true);
  Snapshot shot = Compose(form);
  EXPECT_EQ(shot.ColorAt(25, 8), kBlue);
  EXPECT_EQ(shot.ColorAt(5, 8), kWhite) << "the fill of the earlier batch is kept";
  EXPECT_EQ(shot.ColorAt(40, 8), kBlack);

  form.Tag = "0,0";
  form.SetBackColor(kWhite);
  form.Cls();
  form.Line(0, 0, 960, 0, kBlack);
  AddCompositeShape(0, form, 0, 0);
  ApplyCompositeWindow(form);
  shot = Compose(form);
  EXPECT_EQ(shot.ColorAt(2, 1), kWhite) << "mode 0 leaves the image as it was";
  EXPECT_FALSE(shot.Shows(2, 0)) << "but the outline changed";

  ApplyCompositeWindow(form);
  EXPECT_EQ(form.Outline(), nullptr) << "apply without shapes makes the window rectangular";
  EXPECT_TRUE(Compose(form).Shows(2, 0));
}

}  // namespace
