#include "platform/handle_table.h"

#include <unordered_map>

#include "platform/gdi.h"

namespace {
std::unordered_map<int32_t, HandleObject>& Table() {
  static std::unordered_map<int32_t, HandleObject> table;
  return table;
}
// Handles are never reused, so a stale handle cannot reach a newer object.
int32_t next_handle = 0x100;
}  // namespace

int32_t AddHandle(HandleObject object) {
  int32_t handle = next_handle++;
  Table().emplace(handle, std::move(object));
  return handle;
}

void RemoveHandle(int32_t handle) {
  Table().erase(handle);
}

HandleObject* LookupHandle(int32_t handle) {
  auto it = Table().find(handle);
  return it == Table().end() ? nullptr : &it->second;
}

size_t LiveHandleCount() {
  return Table().size();
}
