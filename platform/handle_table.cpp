#include "platform/handle_table.h"

#include <unordered_map>

#include "platform/testing.h"

namespace {

std::unordered_map<int32_t, HandleObject>& Table() {
  static std::unordered_map<int32_t, HandleObject> table;
  return table;
}
int32_t next_handle = 0x100;
HandleTally tally;

}  // namespace

int32_t AddHandle(HandleObject object) {
  int32_t handle = next_handle++;
  Table().emplace(handle, std::move(object));
  ++tally.added;
  return handle;
}

HandleObject* LookupHandle(int32_t handle) {
  auto it = Table().find(handle);
  return it == Table().end() ? nullptr : &it->second;
}

bool RemoveObject(int32_t handle) {
  auto it = Table().find(handle);
  if (it == Table().end() || std::holds_alternative<SurfaceRef>(it->second)) {
    ++tally.missed_deletes;
    return false;
  }
  Table().erase(it);
  ++tally.removed;
  return true;
}

std::optional<Region> TakeRegion(int32_t handle) {
  auto it = Table().find(handle);
  if (it == Table().end()) return std::nullopt;
  Region* region = std::get_if<Region>(&it->second);
  if (!region) return std::nullopt;
  std::optional<Region> taken(std::move(*region));
  Table().erase(it);
  ++tally.removed;
  return taken;
}

void RemoveSurfaceHandle(int32_t handle) {
  if (Table().erase(handle)) ++tally.removed;
}

size_t LiveHandleCount() {
  return Table().size();
}

HandleTally HandleTallies() {
  return tally;
}
