#include "platform/gdi.h"

#include <cstring>
#include <vector>

#include "platform/handle_table.h"
#include "platform/qt_internal.h"

namespace {

QRegion* RegionOf(HRGN handle) {
  auto* object = LookupAs<RegionObject>(handle);
  return object ? &object->region : nullptr;
}

Surface* WindowOf(HWND handle) {
  auto* object = LookupAs<SurfaceObject>(handle);
  return object && object->surface->hWnd() == handle ? object->surface : nullptr;
}

Surface* DrawingSurfaceOf(HDC handle) {
  auto* object = LookupAs<SurfaceObject>(handle);
  return object && object->surface->hDC() == handle ? object->surface : nullptr;
}

int Complexity(const QRegion& region) {
  if (region.isEmpty()) return NULLREGION;
  return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
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
  QRegion region;
  for (const RECT& r : rects) {
    if (r.right > r.left && r.bottom > r.top) {
      region += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
  }
  return AddHandle(RegionObject{region});
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  QRegion region;
  if (right > left && bottom > top) region = QRegion(left, top, right - left, bottom - top);
  return AddHandle(RegionObject{region});
}

int OffsetRgn(HRGN handle, int dx, int dy) {
  QRegion* region = RegionOf(handle);
  if (!region) return ERROR;
  region->translate(dx, dy);
  return Complexity(*region);
}

int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode) {
  QRegion* target = RegionOf(dest);
  const QRegion* first = RegionOf(source1);
  const QRegion* second = RegionOf(source2);
  if (!target || !first || !second || mode != RGN_OR) return ERROR;
  *target = first->united(*second);
  return Complexity(*target);
}

int GetRgnBox(HRGN handle, RECT* box) {
  const QRegion* region = RegionOf(handle);
  if (!region || !box) return ERROR;
  QRect bounds = region->boundingRect();
  *box = region->isEmpty() ? RECT{0, 0, 0, 0}
                           : RECT{bounds.left(), bounds.top(), bounds.left() + bounds.width(),
                                  bounds.top() + bounds.height()};
  return Complexity(*region);
}

bool PtInRegion(HRGN handle, int x, int y) {
  const QRegion* region = RegionOf(handle);
  return region && region->contains(QPoint(x, y));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush || brush->lbStyle != BS_SOLID) return 0;
  return AddHandle(BrushObject{ToQColor(brush->lbColor)});
}

bool DeleteObject(HGDIOBJ object) {
  HandleObject* entry = LookupHandle(object);
  if (!entry || std::holds_alternative<SurfaceObject>(*entry)) return false;
  if (auto* region = std::get_if<RegionObject>(entry); region && region->owner) return false;
  RemoveHandle(object);
  return true;
}

int SelectClipRgn(HDC dc, HRGN region) {
  Surface* surface = DrawingSurfaceOf(dc);
  if (!surface) return ERROR;
  Surface::Image& image = surface->PersistentImage();
  if (region == 0) {
    image.clip.reset();
    return SIMPLEREGION;
  }
  const QRegion* clip = RegionOf(region);
  if (!clip) return ERROR;
  image.clip = *clip;
  return Complexity(*clip);
}

bool FillRgn(HDC dc, HRGN region, HBRUSH brush) {
  Surface* surface = DrawingSurfaceOf(dc);
  const QRegion* area = RegionOf(region);
  const auto* fill = LookupAs<BrushObject>(brush);
  if (!surface || !area || !fill) return false;
  {
    ImagePainter painter(surface->PersistentImage());
    for (const QRect& rect : *area)
      painter.fillRect(rect, fill->color);
  }
  surface->InvalidateAll();
  return true;
}

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int source_x, int source_y,
            uint32_t rop) {
  Surface* to = DrawingSurfaceOf(dest);
  Surface* from = DrawingSurfaceOf(source);
  if (!to || !from || rop != SRCCOPY) return false;
  // Nothing to copy; QImage::copy would take an empty rectangle for the whole image.
  if (width <= 0 || height <= 0) return true;
  // A copy, in case both handles name one surface.
  QImage pixels = from->PersistentImage().pixels.copy(source_x, source_y, width, height);
  {
    ImagePainter painter(to->PersistentImage());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, y, pixels);
  }
  to->InvalidateAll();
  return true;
}

int SetWindowRgn(HWND window, HRGN region, bool redraw) {
  Surface* surface = WindowOf(window);
  if (!surface) return 0;
  if (region != 0) {
    auto* object = LookupAs<RegionObject>(region);
    if (!object || object->owner) return 0;
  }
  surface->SetOutline(region, redraw);
  return 1;
}

int GetWindowRgn(HWND window, HRGN region) {
  Surface* surface = WindowOf(window);
  QRegion* target = RegionOf(region);
  if (!surface || !target) return ERROR;
  const QRegion* outline = OutlineOf(*surface);
  if (!outline) return ERROR;
  *target = *outline;
  return Complexity(*target);
}
