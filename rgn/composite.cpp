// Composite windows. Between calls the state lives in the window itself: its tag "P,M" holds
// the pending region's handle P (0: none) and the paint mode M, and a "WorkPicture" box
// outside the visible area collects the painted shapes.

#include <string>

#include "platform/form.h"
#include "platform/toolkit.h"
#include "platform/twips.h"
#include "platform/val.h"
#include "rgn/mod_RGN_Data.h"
#include "rgn/mod_RGN_Proc.h"
#include "rgn/shaping.h"

namespace {

constexpr int kPaintPictures = 1;
constexpr int kPaintSolid = 2;
constexpr const char* kWorkPicture = "WorkPicture";

struct CompositeTag {
  HRGN pending;
  double mode;
  std::string after_comma;  // M as it stands in the tag
};

CompositeTag ReadTag(const Form& window) {
  const std::string& tag = window.Tag;
  size_t comma = tag.find(',');
  std::string before = tag.substr(0, comma);
  std::string after = comma == std::string::npos ? "" : tag.substr(comma + 1);
  return {static_cast<HRGN>(Val(before)), Val(after), after};
}

PictureBox& WorkPicture(Form& window) {
  PictureBox* work = window.FindPictureBox(kWorkPicture);
  if (!work) FatalError(window.Name() + " has no " + kWorkPicture + ": begin was not called");
  return *work;
}

HRGN UnionShapeRegion(HRGN pending, int shapeNo, float x, float y) {
  HRGN region = MakeShapeRegion(shapeNo, x, y);
  if (pending != 0) {
    CombineRgn(region, region, pending, RGN_OR);
    DeleteObject(pending);
  }
  return region;
}

void PaintShapeOnWorkPicture(int shapeNo, Form& window, float x, float y) {
  PaintShapePicture(shapeNo, WorkPicture(window), x, y);
}

}  // namespace

void BeginCompositeWindow(Form& window, int paintMode) {
  EnsureRegionTables();
  // Shapes added since a begin that was never applied are dropped with their region.
  if (HRGN pending = ReadTag(window).pending; pending != 0) DeleteObject(pending);
  window.Tag = "0," + std::to_string(paintMode);
  window.Move(0, 0);
  window.SetWidth(Screen::Width());
  window.SetHeight(static_cast<float>(WorkAreaHeight()));
  window.Cls();

  // A second begin on the same window reuses its work picture.
  PictureBox* found = window.FindPictureBox(kWorkPicture);
  PictureBox& work = found ? *found : window.AddPictureBox(kWorkPicture);
  work.SetWidth(Screen::Width());
  work.SetHeight(static_cast<float>(WorkAreaHeight()));
  work.Move(-work.Width(), 0);
  work.SetBackColor(kBlack);
  work.SetVisible(true);
  work.Cls();
}

void AddCompositeShape(int shapeNo, Form& window, float x, float y,
                       std::optional<Color> fillColour) {
  CompositeTag tag = ReadTag(window);
  HRGN pending = UnionShapeRegion(tag.pending, shapeNo, x, y);
  if (tag.mode == kPaintPictures) {
    // The first shape of a batch starts on a clean work picture.
    if (tag.pending == 0) WorkPicture(window).Cls();
    PaintShapeOnWorkPicture(shapeNo, window, x, y);
  }
  window.Tag = std::to_string(pending) + "," + ShortestDecimal(tag.mode);
  if (tag.mode == kPaintSolid) {
    LOGBRUSH solid{BS_SOLID, fillColour.value_or(window.BackColor()), 0};
    HBRUSH brush = CreateBrushIndirect(&solid);
    HRGN region = MakeShapeRegion(shapeNo, x, y);
    FillRgn(WorkPicture(window).hDC(), region, brush);
    DeleteObject(brush);
    DeleteObject(region);
  }
}

void ApplyCompositeWindow(Form& window) {
  CompositeTag tag = ReadTag(window);
  RECT box{0, 0, 0, 0};
  if (tag.pending != 0) GetRgnBox(tag.pending, &box);
  // The window takes the region over; a refused one is still ours to free.
  if (SetWindowRgn(window.hWnd(), tag.pending, true) == 0 && tag.pending != 0) {
    DeleteObject(tag.pending);
  }
  if (tag.mode == kPaintPictures || tag.mode == kPaintSolid) {
    window.Cls();
    BitBlt(window.hDC(), box.left, box.top, box.right - box.left, box.bottom - box.top,
           WorkPicture(window).hDC(), box.left, box.top, SRCCOPY);
  }
  window.Tag = "0," + tag.after_comma;
  DoEvents();
}
