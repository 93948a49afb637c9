#pragma once
// The one table of region, brush and drawing-surface handles; platform sources only.

#include <QColor>
#include <QRegion>
#include <cstdint>
#include <variant>

class Surface;

struct RegionObject {
  QRegion region;
  const Surface* owner = nullptr;  // the window whose outline it is
};
struct BrushObject {
  QColor color;
};
struct SurfaceObject {
  Surface* surface;
};
using HandleObject = std::variant<RegionObject, BrushObject, SurfaceObject>;

int32_t AddHandle(HandleObject object);
void RemoveHandle(int32_t handle);
HandleObject* LookupHandle(int32_t handle);

template <typename T>
T* LookupAs(int32_t handle) {
  HandleObject* object = LookupHandle(handle);
  return object ? std::get_if<T>(object) : nullptr;
}
