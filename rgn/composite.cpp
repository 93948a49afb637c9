// Composite windows. Between calls the state lives in the window itself: its pending region
// slot owns the shapes added so far (none: no shape pending), its paint mode says what each
// shape adds, and a "WorkPicture" box outside the visible area collects the painted shapes.

#include "rgn/composite.h"

#include "platform/failures.h"
#include "platform/form.h"
#include "platform/pump.h"
#include "platform/screen.h"
#include "platform/system_metrics.h"
#include "platform/twips.h"
#include "rgn/mod_RGN_Data.h"
#include "rgn/shaping.h"

namespace {

constexpr const char* kWorkPicture = "WorkPicture";

PictureBox& WorkPicture(Form& window) {
  PictureBox* work = window.FindPictureBox(kWorkPicture);
  if (!work) FatalError(window.Name() + " has no " + kWorkPicture + ": begin was not called");
  return *work;
}

// The pending region, if any, is deleted once united into the new one.
GdiObject UnionShapeRegion(GdiObject pending, int shapeNo, float x, float y) {
  GdiObject region(MakeShapeRegion(shapeNo, x, y));
  if (pending.Get() != 0) CombineRgn(region.Get(), region.Get(), pending.Get(), RGN_OR);
  return region;
}

void PaintShapeOnWorkPicture(int shapeNo, Form& window, float x, float y) {
  PaintShapePicture(shapeNo, WorkPicture(window), x, y);
}

}  // namespace

void BeginCompositeWindow(Form& window, int paintMode) {
  EnsureRegionTables();
  // Shapes added since a begin that was never applied are dropped with their region.
  window.PendingRegion.Reset();
  window.PaintMode = paintMode;
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
  const bool first_of_batch = window.PendingRegion.Get() == 0;
  window.PendingRegion = UnionShapeRegion(std::move(window.PendingRegion), shapeNo, x, y);
  if (window.PaintMode == kPaintPictures) {
    // The first shape of a batch starts on a clean work picture.
    if (first_of_batch) WorkPicture(window).Cls();
    PaintShapeOnWorkPicture(shapeNo, window, x, y);
  }
  if (window.PaintMode == kPaintSolid) {
    LOGBRUSH solid{BS_SOLID, fillColour.value_or(window.BackColor()), 0};
    GdiObject brush(CreateBrushIndirect(&solid));
    GdiObject region(MakeShapeRegion(shapeNo, x, y));
    FillRgn(WorkPicture(window).hDC(), region.Get(), brush.Get());
  }
}

void ApplyCompositeWindow(Form& window) {
  RECT box{0, 0, 0, 0};
  if (window.PendingRegion.Get() != 0) GetRgnBox(window.PendingRegion.Get(), &box);
  // The window takes the region over; a refused one is deleted, silently.
  SetWindowRgn(window.hWnd(), std::move(window.PendingRegion), true);
  if (window.PaintMode == kPaintPictures || window.PaintMode == kPaintSolid) {
    window.Cls();
    BitBlt(window.hDC(), box.left, box.top, box.right - box.left, box.bottom - box.top,
           WorkPicture(window).hDC(), box.left, box.top, SRCCOPY);
  }
  DoEvents();
}
