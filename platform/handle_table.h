#pragma once
// The one table behind the integer handles of regions, brushes and drawing surfaces. The
// objects are typed values owned by the table; a handle is never reused, so a stale one cannot
// reach a newer object.

#include <cstdint>
#include <optional>
#include <variant>

#include "platform/colors_and_fonts.h"
#include "platform/region.h"

class Surface;

struct Brush {
  Color color;
};
// A window or its drawing surface: the handle names it, the surface owns itself.
struct SurfaceRef {
  Surface* surface;
};
using HandleObject = std::variant<Region, Brush, SurfaceRef>;

int32_t AddHandle(HandleObject object);
HandleObject* LookupHandle(int32_t handle);

template <typename T>
T* LookupAs(int32_t handle) {
  HandleObject* object = LookupHandle(handle);
  return object ? std::get_if<T>(object) : nullptr;
}

// Removes a region or a brush and destroys it; false for any other handle, a stale one among
// them, which the table counts as a missed delete.
bool RemoveObject(int32_t handle);
// Takes a region out of the table, retiring its handle; nothing for any other handle.
std::optional<Region> TakeRegion(int32_t handle);
// Retires the handles of a surface that is going away.
void RemoveSurfaceHandle(int32_t handle);
