#include "rgn/shaping.h"

#include "platform/form.h"
#include "platform/system_metrics.h"
#include "platform/toolkit.h"
#include "rgn/mod_RGN_Data.h"
#include "rgn/mod_RGN_Proc.h"

namespace {
constexpr const char* kRegionDataFailure = "It failed in reading of region data.";
constexpr const char* kShapingFailure = "It failed in plastic surgery of a window.";
}  // namespace

void StopWithMessage(std::string_view message) {
  MsgBox(message);
  FatalError(message);
}

HRGN MakeShapeRegion(int shapeNo, float x, float y) {
  static constexpr XFORM kIdentity{1, 0, 0, 1, 0, 0};
  uint32_t byte_count = 0;
  const std::byte* table = ShapeTable(shapeNo, &byte_count);
  HRGN region = table ? ExtCreateRegion(&kIdentity, byte_count, table) : 0;
  if (!region) StopWithMessage(kRegionDataFailure);
  if (x != 0 || y != 0) {
    OffsetRgn(region, TwipsToPixelsX(x), TwipsToPixelsY(y));
  }
  return region;
}

void ShapeWindow(int shapeNo, Surface& window, float x, float y, bool merge) {
  HRGN shape = MakeShapeRegion(shapeNo, x, y);
  if (merge) {
    HRGN current = CreateRectRgn(0, 0, 0, 0);
    // A window without an outline leaves the copy empty: the result is the shape alone.
    GetWindowRgn(window.hWnd(), current);
    CombineRgn(shape, shape, current, RGN_OR);
    DeleteObject(current);
  }
  if (SetWindowRgn(window.hWnd(), shape, true) == 0) StopWithMessage(kShapingFailure);
}

void PaintShapePicture(int shapeNo, Surface& window, float x, float y) {
  HRGN clip = MakeShapeRegion(shapeNo, 0, 0);
  OffsetRgn(clip, TwipsToPixelsX(x), TwipsToPixelsY(y));
  SelectClipRgn(window.hDC(), clip);
  window.PaintPicture(pPicture(shapeNo), x, y);
  SelectClipRgn(window.hDC(), 0);
  DeleteObject(clip);
}

void DecorateWindow(int shape, Surface& window, int flags, float x, float y, bool merge) {
  EnsureRegionTables();
  if (flags & kDecorateSize) ApplyPresetSize(shape, window);
  if (flags & kDecorateShape) ShapeWindow(shape, window, x, y, merge);
  window.Cls();
  if (flags & kDecoratePicture) PaintShapePicture(shape, window, x, y);
}

void DecorateWindowPreset(int shape, Surface& window, bool withPicture) {
  DecorateWindow(shape, window, withPicture ? 7 : 3, 0, 0, false);
}
