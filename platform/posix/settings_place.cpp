#include "platform/posix/settings_place.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <map>
#include <utility>

namespace {

// As many links as the kernel follows in one path.
constexpr int kMostLinks = 40;
const std::string kRoot = "/";

Found Failed(std::string reason, int error = 0) {
  return {std::nullopt, false, std::move(reason), error};
}
Found FailedWithErrno() {
  return Failed(std::strerror(errno), errno);
}
Found Missing() {
  return {std::nullopt, true, "", ENOENT};
}
Found At(FileDescriptor folder, std::string folder_path, std::string name,
         const struct stat& status) {
  return {Place{std::move(folder), std::move(folder_path), std::move(name), status}, false, "", 0};
}

bool IsIn(const std::string& path, const std::string& folder) {
  return path == folder ||
         (path.starts_with(folder) && (folder.ends_with('/') || path[folder.size()] == '/'));
}

std::deque<std::string> Names(std::string_view path) {
  std::deque<std::string> names;
  size_t at = 0;
  while (at < path.size()) {
    size_t end = std::min(path.find('/', at), path.size());
    if (end > at && path.substr(at, end - at) != ".") names.emplace_back(path.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

// Why a link may not be followed, or nothing when it may: it is the player's, or it lies in a
// folder that nobody but its owner may write, and that owner is the player or root. Anyone
// else who may write the folder could have put it there to send the game's writes where they
// choose, into a file of the player's or, under sudo, anywhere.
std::optional<std::string> LinkRefusal(const struct stat& link, const struct stat& folder) {
  const uid_t player = geteuid();
  if (link.st_uid == player) return std::nullopt;
  if ((folder.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    return "a link of another user, in a folder others may write";
  }
  if (folder.st_uid != player && folder.st_uid != 0) {
    return "a link of another user, in a folder of another user";
  }
  return std::nullopt;
}

std::optional<std::string> LinkTarget(int link) {
  std::string target(256, '\0');
  for (;;) {
    ssize_t got = readlinkat(link, "", target.data(), target.size());
    if (got < 0) return std::nullopt;
    if (static_cast<size_t>(got) < target.size()) {
      target.resize(static_cast<size_t>(got));
      return target;
    }
    target.resize(target.size() * 2);
  }
}

FileDescriptor OpenRoot() {
  return FileDescriptor(open(kRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == kRoot ? "/" + name : folder + "/" + name;
}

// Walks names from folder. Every name but the last must be a folder; with a name wanted, the
// last one is the place's name, which need not exist unless a link led to it.
Found Walk(FileDescriptor folder, std::string folder_path, std::deque<std::string> names,
           bool name_wanted) {
  if (!folder) return FailedWithErrno();
  int links = 0;
  bool last_through_link = false;
  while (!names.empty()) {
    std::string name = std::move(names.front());
    names.pop_front();
    const bool last = name_wanted && names.empty();
    const std::string path = Join(folder_path, name);
    // O_PATH opens nothing: a FIFO or a device here is looked at, never opened.
    FileDescriptor here(openat(folder.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!here || fstat(here.get(), &status) != 0) {
      if (errno != ENOENT || !last) return FailedWithErrno();
      // Nothing is made where a link points: it may be a drive not mounted, or a place
      // someone else chose.
      if (last_through_link) return Failed(path + " does not exist, and a link leads there");
      return At(std::move(folder), std::move(folder_path), std::move(name), {});
    }
    if (S_ISLNK(status.st_mode)) {
      struct stat holder {};
      if (fstat(folder.get(), &holder) != 0) return FailedWithErrno();
      if (auto refusal = LinkRefusal(status, holder)) return Failed(path + " is " + *refusal);
      std::optional<std::string> target = LinkTarget(here.get());
      if (!target) return FailedWithErrno();
      if (++links > kMostLinks) return Failed(std::strerror(ELOOP));
      if (target->starts_with('/')) {
        folder = OpenRoot();
        folder_path = kRoot;
        if (!folder) return FailedWithErrno();
      }
      std::deque<std::string> more = Names(*target);
      names.insert(names.begin(), more.begin(), more.end());
      if (last) last_through_link = true;
      continue;
    }
    if (last) return At(std::move(folder), std::move(folder_path), std::move(name), status);
    if (!S_ISDIR(status.st_mode)) return Failed(path + ": " + std::strerror(ENOTDIR));
    folder = std::move(here);
    folder_path = path;
  }
  // Only a link to a folder ends here when a name was wanted.
  if (name_wanted) return Failed(folder_path + ": " + std::strerror(EISDIR));
  struct stat status {};
  if (fstat(folder.get(), &status) != 0) return FailedWithErrno();
  return At(std::move(folder), std::move(folder_path), "", status);
}

Found WalkFolder(const std::string& path) {
  return Walk(OpenRoot(), kRoot, Names(path), false);
}

// The settings folders seen so far by the game, by path, with what they were.
struct FolderIdentity {
  dev_t device;
  ino_t inode;
  bool operator==(const FolderIdentity&) const = default;
};
std::map<std::string, FolderIdentity> seen_folders;

// Makes the folders of path that are missing below under, private to the player.
Found MakeFolders(const std::string& path, const std::string& under) {
  Found made = WalkFolder(under);
  if (!made.place) return Failed(under + ": " + made.reason);
  if (!IsIn(path, under)) return Failed(path + " is not in " + under);
  for (std::string& name : Names(path.substr(under.size()))) {
    Place& folder = *made.place;
    if (mkdirat(folder.folder.get(), name.c_str(), 0700) == 0) {
      FileDescriptor fresh(
          openat(folder.folder.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
      if (!fresh || !GiveToFolderOwner(fresh.get(), folder.folder.get())) return FailedWithErrno();
    } else if (errno != EEXIST) {
      return Failed(Join(folder.folder_path, name) + ": " + std::strerror(errno));
    }
    made = Walk(std::move(folder.folder), folder.folder_path, {std::move(name)}, false);
    if (!made.place) return made;
  }
  return made;
}

// The folder of the settings file, the same one as when the game first looked.
Found OpenFolder(const std::string& path, const std::string& make_under) {
  Found found = WalkFolder(path);
  auto seen = seen_folders.find(path);
  if (found.place) {
    FolderIdentity now{found.place->status.st_dev, found.place->status.st_ino};
    if (seen == seen_folders.end()) {
      seen_folders.emplace(path, now);
    } else if (seen->second != now) {
      return Failed("the folder " + path + " was replaced since the game started");
    }
    return found;
  }
  if (found.error != ENOENT) return found;
  if (seen != seen_folders.end()) {
    return Failed("the folder " + path + " was moved or removed since the game started");
  }
  if (make_under.empty()) return Missing();
  found = MakeFolders(path, make_under);
  if (found.place) {
    seen_folders.emplace(path,
                         FolderIdentity{found.place->status.st_dev, found.place->status.st_ino});
  }
  return found;
}

}  // namespace

Found FindSettingsFile(const SettingsLocation& where, bool make) {
  const std::string& file = where.file;
  // Without a home folder, say, there is no place for the file.
  if (!file.starts_with('/') || file.ends_with('/')) return Failed("not an absolute path");
  const size_t slash = file.rfind('/');
  std::string folder_path = slash == 0 ? "/" : file.substr(0, slash);
  Found folder = OpenFolder(folder_path, make ? where.make_under : "");
  if (!folder.place) {
    if (folder.missing && make) return Failed(folder_path + ": " + std::strerror(ENOENT));
    return folder;
  }
  return Walk(std::move(folder.place->folder), folder_path, {file.substr(slash + 1)}, true);
}

Found FindBeside(const Place& place, const std::string& name) {
  return Walk(FileDescriptor(dup(place.folder.get())), place.folder_path, {name}, true);
}

bool GiveToFolderOwner(int fd, int folder) {
  struct stat owner {};
  if (fstat(folder, &owner) != 0) return false;
  if (geteuid() != 0 || owner.st_uid == 0) return true;
  return fchown(fd, owner.st_uid, owner.st_gid) == 0;
}
