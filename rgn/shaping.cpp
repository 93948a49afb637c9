#include "rgn/shaping.h"

#include "platform/failures.h"
#include "platform/form.h"
#include "platform/system_metrics.h"
#include "rgn/mod_RGN_Data.h"

HRGN MakeShapeRegion(int shapeNo, float x, float y) {
  static constexpr XFORM kIdentity{1, 0, 0, 1, 0, 0};
  uint32_t byte_count = 0;
  const std::byte* table = ShapeTable(shapeNo, &byte_count);
  HRGN region = table ? ExtCreateRegion(&kIdentity, byte_count, table) : 0;
  if (!region) FatalError(kRegionDataFailure);
  if (x != 0 || y != 0) {
    OffsetRgn(region, TwipsToPixelsX(x), TwipsToPixelsY(y));
  }
  return region;
}

void ShapeWindow(int shapeNo, Surface& window, float x, float y, bool merge) {
  GdiObject shape(MakeShapeRegion(shapeNo, x, y));
  if (merge) {
    GdiObject current(CreateRectRgn(0, 0, 0, 0));
    // A window without an outline leaves the copy empty: the result is the shape alone.
    GetWindowRgn(window.hWnd(), current.Get());
    CombineRgn(shape.Get(), shape.Get(), current.Get(), RGN_OR);
  }
  if (SetWindowRgn(window.hWnd(), std::move(shape), true) == 0) FatalError(kShapingFailure);
}

void PaintShapePicture(int shapeNo, Surface& window, float x, float y) {
  GdiObject clip(MakeShapeRegion(shapeNo, 0, 0));
  OffsetRgn(clip.Get(), TwipsToPixelsX(x), TwipsToPixelsY(y));
  SelectClipRgn(window.hDC(), clip.Get());
  window.PaintPicture(pPicture(shapeNo), x, y);
  SelectClipRgn(window.hDC(), 0);
}
