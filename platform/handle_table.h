#pragma once
// The one table behind the integer handles of regions, brushes and drawing surfaces. The
// objects are typed values owned by the table; a handle is never reused, so a stale one cannot
// reach a newer object.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
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

// What the table has seen over its life.
struct HandleTally {
  uint64_t added = 0;
  uint64_t removed = 0;
  uint64_t missed_deletes = 0;  // deletes of a stale, unknown or surface handle
};

class HandleTable {
 public:
  int32_t Add(HandleObject object);
  HandleObject* Lookup(int32_t handle);
  template <typename T>
  T* LookupAs(int32_t handle) {
    HandleObject* object = Lookup(handle);
    return object ? std::get_if<T>(object) : nullptr;
  }
  // Removes a region or a brush and destroys it; false for any other handle, a stale one among
  // them, which the table counts as a missed delete.
  bool Remove(int32_t handle);
  // Takes a region out of the table, retiring its handle; nothing for any other handle.
  std::optional<Region> TakeRegion(int32_t handle);
  // Retires the handles of a surface that is going away.
  void RemoveSurface(int32_t handle);

  // Live entries: a whole time attack leaves none behind.
  size_t LiveCount() const { return objects_.size(); }
  const HandleTally& Tally() const { return tally_; }

 private:
  std::unordered_map<int32_t, HandleObject> objects_;
  int32_t next_handle_ = 0x100;
  HandleTally tally_;
};

HandleTable& Handles();
