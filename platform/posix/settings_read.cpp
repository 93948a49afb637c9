#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/posix/file_descriptor.h"
#include "platform/posix/settings_place.h"
#include "platform/posix/settings_read.h"
#include "platform/settings_io.h"

namespace {

SettingsRead Missing() {
  return {SettingsRead::Status::kMissing, "", ""};
}
SettingsRead Unreadable(std::string reason) {
  return {SettingsRead::Status::kUnreadable, "", std::move(reason)};
}

// Why a file of this kind and size is not read, or nothing when it can be.
std::optional<std::string> Refusal(const struct stat& status) {
  if (S_ISDIR(status.st_mode)) return std::strerror(EISDIR);
  if (!S_ISREG(status.st_mode)) return "not a regular file";
  if (static_cast<size_t>(status.st_size) > kSettingsFileLimit) return "larger than 1 MiB";
  return std::nullopt;
}

}  // namespace

SettingsRead ReadPlace(const Place& place, FileDescriptor* opened) {
  if (!place.Exists()) return Missing();
  // Looked at before opening: opening a FIFO or a device can block or have effects.
  if (auto refusal = Refusal(place.status)) return Unreadable(*refusal);
  FileDescriptor fd(openat(place.folder.get(), place.name.c_str(),
                           O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd) return errno == ENOENT ? Missing() : Unreadable(std::strerror(errno));
  // And again, in case another file took its place in between.
  struct stat status {};
  if (fstat(fd.get(), &status) != 0) return Unreadable(std::strerror(errno));
  if (auto refusal = Refusal(status)) return Unreadable(*refusal);

  std::string text;
  char chunk[16384];
  while (text.size() <= kSettingsFileLimit) {
    ssize_t got = read(fd.get(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Unreadable(std::strerror(errno));
    if (got == 0) break;
    text.append(chunk, static_cast<size_t>(got));
  }
  // It may have grown since it was looked at.
  if (text.size() > kSettingsFileLimit) return Unreadable("larger than 1 MiB");
  if (opened) *opened = std::move(fd);
  return {SettingsRead::Status::kRead, std::move(text), ""};
}
