#include "rgn/decoration.h"

#include "platform/surface.h"
#include "rgn/mod_RGN_Data.h"
#include "rgn/shaping.h"
#include "rgn/size_presets.h"

void DecorateWindow(int shape, Surface& window, int flags, float x, float y, bool merge) {
  EnsureRegionTables();
  if (flags & kDecorateSize) ApplyPresetSize(shape, window);
  if (flags & kDecorateShape) ShapeWindow(shape, window, x, y, merge);
  window.Cls();
  if (flags & kDecoratePicture) PaintShapePicture(shape, window, x, y);
}

void DecorateWindowPreset(int shape, Surface& window, bool withPicture) {
  constexpr int kSizeAndShape = kDecorateSize | kDecorateShape;
  DecorateWindow(shape, window, withPicture ? kSizeAndShape | kDecoratePicture : kSizeAndShape, 0,
                 0, false);
}
