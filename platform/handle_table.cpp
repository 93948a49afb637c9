#include "platform/handle_table.h"

HandleTable& Handles() {
  static HandleTable table;
  return table;
}

int32_t HandleTable::Add(HandleObject object) {
  int32_t handle = next_handle_++;
  objects_.emplace(handle, std::move(object));
  ++tally_.added;
  return handle;
}

HandleObject* HandleTable::Lookup(int32_t handle) {
  auto it = objects_.find(handle);
  return it == objects_.end() ? nullptr : &it->second;
}

bool HandleTable::Remove(int32_t handle) {
  auto it = objects_.find(handle);
  if (it == objects_.end() || std::holds_alternative<SurfaceRef>(it->second)) {
    ++tally_.missed_deletes;
    return false;
  }
  objects_.erase(it);
  ++tally_.removed;
  return true;
}

std::optional<Region> HandleTable::TakeRegion(int32_t handle) {
  auto it = objects_.find(handle);
  if (it == objects_.end()) return std::nullopt;
  Region* region = std::get_if<Region>(&it->second);
  if (!region) return std::nullopt;
  std::optional<Region> taken(std::move(*region));
  objects_.erase(it);
  ++tally_.removed;
  return taken;
}

void HandleTable::RemoveSurface(int32_t handle) {
  if (objects_.erase(handle)) ++tally_.removed;
}
