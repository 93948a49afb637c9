#include "platform/posix/file_attributes.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

std::string Because(const std::string& what) {
  return what + ": " + std::strerror(errno);
}
std::string Cannot(const std::string& what) {
  return Because("cannot keep " + what);
}

// The names of the file's extended attributes, an access control list among them
// (system.posix_acl_access); none where the file system keeps none.
std::optional<std::vector<std::string>> AttributeNames(int fd) {
  std::string list;
  for (;;) {
    ssize_t size = flistxattr(fd, nullptr, 0);
    if (size < 0) {
      if (errno == ENOTSUP) return std::vector<std::string>{};
      return std::nullopt;
    }
    list.resize(static_cast<size_t>(size));
    size = flistxattr(fd, list.data(), list.size());
    if (size >= 0) {
      list.resize(static_cast<size_t>(size));
      break;
    }
    if (errno != ERANGE) return std::nullopt;
  }
  std::vector<std::string> names;
  for (size_t at = 0; at < list.size();) {
    size_t end = std::min(list.find('\0', at), list.size());
    names.emplace_back(list, at, end - at);
    at = end + 1;
  }
  return names;
}

std::optional<std::string> AttributeValue(int fd, const std::string& name) {
  std::string value;
  for (;;) {
    ssize_t size = fgetxattr(fd, name.c_str(), nullptr, 0);
    if (size < 0) return std::nullopt;
    value.resize(static_cast<size_t>(size));
    size = fgetxattr(fd, name.c_str(), value.data(), value.size());
    if (size >= 0) {
      value.resize(static_cast<size_t>(size));
      return value;
    }
    if (errno != ERANGE) return std::nullopt;
  }
}

// Leaves the new file with exactly the old one's attributes: an access control list it got from
// its folder's default goes, and a security label it already has is not set again.
std::optional<std::string> KeepExtendedAttributes(int fd, int old_fd) {
  auto wanted = AttributeNames(old_fd);
  if (!wanted) return Cannot("the extended attributes");
  auto present = AttributeNames(fd);
  if (!present) return Cannot("the extended attributes");
  for (const std::string& name : *present) {
    if (std::find(wanted->begin(), wanted->end(), name) != wanted->end()) continue;
    if (fremovexattr(fd, name.c_str()) != 0 && errno != ENODATA)
      return Because("cannot drop " + name);
  }
  for (const std::string& name : *wanted) {
    std::optional<std::string> value = AttributeValue(old_fd, name);
    if (!value) return Cannot(name);
    if (AttributeValue(fd, name) == value) continue;
    if (fsetxattr(fd, name.c_str(), value->data(), value->size(), 0) != 0) return Cannot(name);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> KeepAttributes(int fd, int old_fd, const struct stat& old) {
  // Another player's file in a shared folder becomes the saving player's: only root may give a
  // file away. Its group and mode still let the same people read and write it.
  if (fchown(fd, old.st_uid, old.st_gid) != 0 &&
      fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    return Cannot("its group");
  }
  if (auto problem = KeepExtendedAttributes(fd, old_fd)) return problem;
  // Last, as a change of owner clears set-user-ID bits; an access control list's mask is the
  // mode's group part, so this keeps the list as it is.
  if (fchmod(fd, old.st_mode & 07777) != 0) return Cannot("its mode");
  return std::nullopt;
}
