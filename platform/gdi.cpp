#include "platform/gdi.h"

#include <cstring>
#include <vector>

#include "platform/handle_table.h"
#include "platform/surface.h"

namespace {

Region* RegionOf(HRGN handle) {
  return Handles().LookupAs<Region>(handle);
}

Surface* WindowOf(HWND handle) {
  auto* object = Handles().LookupAs<SurfaceRef>(handle);
  return object && object->surface->hWnd() == handle ? object->surface : nullptr;
}

Surface* DrawingSurfaceOf(HDC handle) {
  auto* object = Handles().LookupAs<SurfaceRef>(handle);
  return object && object->surface->hDC() == handle ? object->surface : nullptr;
}

int Complexity(const Region& region) {
  if (region.Empty()) return NULLREGION;
  return region.RectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// The pixels from (left, top) up to (right, bottom); empty when inverted, and when wider or
// taller than an int holds, which the edges' difference in 32 bits would overflow.
Region EdgesRegion(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const int64_t width = int64_t{right} - left;
  const int64_t height = int64_t{bottom} - top;
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return Region();
  return Region(PixelRect{left, top, static_cast<int>(width), static_cast<int>(height)});
}

}  // namespace

HRGN ExtCreateRegion(const XFORM* transform, uint32_t byte_count, const std::byte* data) {
  if (transform && (transform->eM11 != 1 || transform->eM22 != 1 || transform->eM12 != 0 ||
                    transform->eM21 != 0 || transform->eDx != 0 || transform->eDy != 0)) {
    return 0;
  }
  RGNDATAHEADER header{};
  if (!data || byte_count < sizeof header) return 0;
  std::memcpy(&header, data, sizeof header);
  uint64_t rect_bytes = uint64_t{header.nCount} * sizeof(RECT);
  if (header.dwSize != sizeof header || header.iType != RDH_RECTANGLES || header.nCount == 0 ||
      rect_bytes > byte_count - sizeof header) {
    return 0;
  }
  std::vector<RECT> rects(header.nCount);
  std::memcpy(rects.data(), data + sizeof header, rect_bytes);
  Region region;
  for (const RECT& r : rects)
    region = region.United(EdgesRegion(r.left, r.top, r.right, r.bottom));
  return Handles().Add(std::move(region));
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return Handles().Add(EdgesRegion(left, top, right, bottom));
}

int OffsetRgn(HRGN handle, int dx, int dy) {
  Region* region = RegionOf(handle);
  if (!region) return ERROR;
  region->Translate(dx, dy);
  return Complexity(*region);
}

int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode) {
  Region* target = RegionOf(dest);
  const Region* first = RegionOf(source1);
  const Region* second = RegionOf(source2);
  if (!target || !first || !second || mode != RGN_OR) return ERROR;
  *target = first->United(*second);
  return Complexity(*target);
}

int GetRgnBox(HRGN handle, RECT* box) {
  const Region* region = RegionOf(handle);
  if (!region || !box) return ERROR;
  PixelRect bounds = region->Bounds();
  *box = RECT{bounds.x, bounds.y, bounds.x + bounds.width, bounds.y + bounds.height};
  return Complexity(*region);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush || brush->lbStyle != BS_SOLID) return 0;
  return Handles().Add(Brush{brush->lbColor});
}

bool DeleteObject(HGDIOBJ object) {
  return Handles().Remove(object);
}

void GdiObject::Reset(HGDIOBJ handle) {
  if (handle_ != 0) DeleteObject(handle_);
  handle_ = handle;
}

int SelectClipRgn(HDC dc, HRGN region) {
  Surface* surface = DrawingSurfaceOf(dc);
  if (!surface) return ERROR;
  if (region == 0) {
    surface->SetClip(nullptr);
    return SIMPLEREGION;
  }
  const Region* clip = RegionOf(region);
  if (!clip) return ERROR;
  surface->SetClip(clip);
  return Complexity(*clip);
}

bool FillRgn(HDC dc, HRGN region, HBRUSH brush) {
  Surface* surface = DrawingSurfaceOf(dc);
  const Region* area = RegionOf(region);
  const auto* fill = Handles().LookupAs<Brush>(brush);
  if (!surface || !area || !fill) return false;
  surface->FillRegion(*area, fill->color);
  return true;
}

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int source_x, int source_y,
            uint32_t rop) {
  Surface* to = DrawingSurfaceOf(dest);
  const Surface* from = DrawingSurfaceOf(source);
  if (!to || !from || rop != SRCCOPY) return false;
  to->CopyPixels(*from, source_x, source_y, width, height, x, y);
  return true;
}

int SetWindowRgn(HWND window, HRGN region, bool redraw) {
  Surface* surface = WindowOf(window);
  if (!surface) return 0;
  if (region == 0) {
    surface->SetOutline(std::nullopt, redraw);
    return 1;
  }
  std::optional<Region> outline = Handles().TakeRegion(region);
  if (!outline) return 0;
  surface->SetOutline(std::move(outline), redraw);
  return 1;
}

int SetWindowRgn(HWND window, GdiObject region, bool redraw) {
  int taken = SetWindowRgn(window, region.Get(), redraw);
  if (taken) region.Release();
  return taken;
}

int GetWindowRgn(HWND window, HRGN region) {
  Surface* surface = WindowOf(window);
  Region* target = RegionOf(region);
  if (!surface || !target) return ERROR;
  const Region* outline = surface->Outline();
  if (!outline) return ERROR;
  *target = outline->Copy();
  return Complexity(*target);
}
