#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "platform/posix/file_attributes.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/save_fault.h"
#include "platform/posix/settings_place.h"
#include "platform/posix/settings_read.h"
#include "platform/settings_io.h"
#include "platform/settings_store.h"

namespace {

// Temporary files are named after the settings file: "noruka-keisan.ini.tmp-" and six
// letters or digits. Only names of this pattern are ever removed as stale.
constexpr std::string_view kTempInfix = ".tmp-";
constexpr size_t kTempSuffixLength = 6;
constexpr std::string_view kTempLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// True, with errno set, when a test makes this step fail.
bool Faulted(SaveStep step) {
  const SaveFault fault = SaveFaultHook();
  if (!fault) return false;
  int error = fault(step);
  if (error == 0) return false;
  errno = error;
  return true;
}

// The ".lock" file beside the settings file, made when missing. It is left in place: removing
// it would let a copy that opened it before the removal and one that makes it afresh both hold
// "the" lock. Nothing, with the reason, when it cannot be opened.
std::optional<FileDescriptor> OpenLock(const Place& file, std::string& reason) {
  auto failed = [&reason] {
    reason = std::strerror(errno);
    return std::nullopt;
  };
  if (Faulted(SaveStep::kOpenLock)) return failed();
  Found found = FindBeside(file, file.name + ".lock");
  if (!found.place) {
    reason = found.reason;
    return std::nullopt;
  }
  const Place& lock = *found.place;
  const char* name = lock.name.c_str();
  if (!lock.Exists()) {
    FileDescriptor made(
        openat(lock.folder.get(), name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (made && GiveToFolderOwner(made.get(), lock.folder.get())) return made;
    // The first reason counts: a folder without write permission says so.
    if (made || errno != EEXIST) return failed();
  }
  FileDescriptor fd(openat(lock.folder.get(), name, O_RDWR | O_NOFOLLOW | O_CLOEXEC));
  // Made by another player of a shared folder: reading is enough to lock it.
  if (!fd && errno == EACCES) {
    fd = FileDescriptor(openat(lock.folder.get(), name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  }
  if (!fd) return failed();
  return fd;
}

bool IsTemporaryOf(std::string_view file, std::string_view name) {
  if (file.size() != name.size() + kTempInfix.size() + kTempSuffixLength) return false;
  if (file.substr(0, name.size()) != name) return false;
  if (file.substr(name.size(), kTempInfix.size()) != kTempInfix) return false;
  return file.substr(name.size() + kTempInfix.size()).find_first_not_of(kTempLetters) ==
         std::string_view::npos;
}

// Only while the lock is held: then no save is under way that could still need one.
void RemoveStaleTemporariesOf(const Place& file) {
  if (Faulted(SaveStep::kRemoveStale)) return;
  int fd = openat(file.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  DIR* folder = fdopendir(fd);
  if (!folder) {
    close(fd);
    return;
  }
  while (const dirent* entry = readdir(folder)) {
    struct stat status {};
    if (IsTemporaryOf(entry->d_name, file.name) &&
        fstatat(fd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(status.st_mode)) {
      unlinkat(fd, entry->d_name, 0);
    }
  }
  closedir(folder);
}

// A new file beside the target. In place of an existing file it starts private, and takes the
// old file's mode once it has the old file's owner.
std::optional<FileDescriptor> CreateTemporary(const Place& file, bool private_mode,
                                              std::string& temp) {
  if (Faulted(SaveStep::kCreateTemp)) return std::nullopt;
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<size_t> letter(0, kTempLetters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = file.name + std::string(kTempInfix);
    for (size_t i = 0; i < kTempSuffixLength; ++i)
      temp += kTempLetters[letter(random)];
    FileDescriptor fd(openat(file.folder.get(), temp.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                             private_mode ? 0600 : 0666));
    if (fd) return fd;
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

bool WriteAll(int fd, const std::string& bytes) {
  if (Faulted(SaveStep::kWrite)) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

bool SyncDirectory(const Place& file) {
  if (Faulted(SaveStep::kSyncDirectory)) return false;
  FileDescriptor fd(openat(file.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // Some file systems cannot flush a directory; the rename is all there is to wait for then.
  return fd && (fsync(fd.get()) == 0 || errno == EINVAL);
}

// What the new file takes from the old one, or, for a first file, from its folder. The
// attributes come after the writing: writing clears a file's capabilities.
std::optional<std::string> KeepWhatTheFileHad(const Place& file, int fd, int old_fd) {
  if (Faulted(SaveStep::kKeepAttributes)) return std::strerror(errno);
  if (old_fd >= 0) return KeepAttributes(fd, old_fd, file.status);
  if (!GiveToFolderOwner(fd, file.folder.get())) {
    return std::string("cannot give the file to its folder's owner: ") + std::strerror(errno);
  }
  return std::nullopt;
}

// Writes text into a new file and renames it over the file's name.
std::optional<std::string> ReplaceFile(const Place& file, int old_fd, const std::string& text) {
  std::string temp;
  std::optional<FileDescriptor> fd = CreateTemporary(file, old_fd >= 0, temp);
  if (!fd) return std::strerror(errno);
  std::optional<std::string> problem;
  if (!WriteAll(fd->get(), text)) problem = std::strerror(errno);
  if (!problem) problem = KeepWhatTheFileHad(file, fd->get(), old_fd);
  if (!problem && (Faulted(SaveStep::kSyncFile) || fsync(fd->get()) != 0)) {
    problem = std::strerror(errno);
  }
  if (!problem && (Faulted(SaveStep::kClose) || !fd->Close())) problem = std::strerror(errno);
  const int folder = file.folder.get();
  if (!problem && (Faulted(SaveStep::kRename) ||
                   renameat(folder, temp.c_str(), folder, file.name.c_str()) != 0)) {
    problem = std::strerror(errno);
  }
  if (problem) {
    unlinkat(folder, temp.c_str(), 0);
    return problem;
  }
  // Renamed, but until the directory is on the disk a power cut can undo it.
  if (!SyncDirectory(file)) return std::strerror(errno);
  return std::nullopt;
}

}  // namespace

struct SettingsFileAt::Data {
  Place file;
  FileDescriptor lock;
  FileDescriptor read;  // the file read under the lock
};

SettingsFileAt::SettingsFileAt(std::unique_ptr<Data> data) : data_(std::move(data)) {}
SettingsFileAt::~SettingsFileAt() = default;
SettingsFileAt::SettingsFileAt(SettingsFileAt&&) noexcept = default;
SettingsFileAt& SettingsFileAt::operator=(SettingsFileAt&&) noexcept = default;

std::optional<SettingsFileAt> SettingsFileAt::Find(const SettingsLocation& where, bool make,
                                                   std::string* why, bool* missing) {
  *missing = false;
  if (make && Faulted(SaveStep::kOpenFolder)) {
    *why = std::strerror(errno);
    return std::nullopt;
  }
  Found found = FindSettingsFile(where, make);
  if (!found.place) {
    *why = found.reason;
    *missing = found.missing;
    return std::nullopt;
  }
  return SettingsFileAt(
      std::make_unique<Data>(Data{std::move(*found.place), FileDescriptor(), FileDescriptor()}));
}

SettingsRead SettingsFileAt::Read(bool under_lock) {
  Place& file = data_->file;
  if (under_lock) {
    if (Faulted(SaveStep::kRead))
      return {SettingsRead::Status::kUnreadable, "", std::strerror(errno)};
    struct stat now {};
    if (fstatat(file.folder.get(), file.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno != ENOENT) return {SettingsRead::Status::kUnreadable, "", std::strerror(errno)};
      now = {};
    }
    file.status = now;
  }
  data_->read = FileDescriptor();
  SettingsRead read = ReadPlace(file, &data_->read);
  // The file that was read, whatever the name holds by now.
  if (read.status == SettingsRead::Status::kRead && fstat(data_->read.get(), &file.status) != 0) {
    return {SettingsRead::Status::kUnreadable, "", std::strerror(errno)};
  }
  return read;
}

SettingsFileAt::Access SettingsFileAt::FileAccess() const {
  const Place& file = data_->file;
  Access access;
  access.has_write_bits = (file.status.st_mode & 0222) != 0;
  if (faccessat(file.folder.get(), file.name.c_str(), W_OK, AT_EACCESS) != 0) {
    access.denied = std::strerror(errno);
  }
  return access;
}

SettingsFileAt::LockTry SettingsFileAt::TryLock(std::string* why) {
  if (!data_->lock) {
    std::optional<FileDescriptor> fd = OpenLock(data_->file, *why);
    if (!fd) return LockTry::kFailed;
    data_->lock = std::move(*fd);
    if (Faulted(SaveStep::kLock)) {
      *why = std::strerror(errno);
      return LockTry::kFailed;
    }
  }
  while (flock(data_->lock.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) return LockTry::kHeldElsewhere;
    *why = std::strerror(errno);
    return LockTry::kFailed;
  }
  return LockTry::kTaken;
}

void SettingsFileAt::RemoveStaleTemporaries() {
  RemoveStaleTemporariesOf(data_->file);
}

std::optional<std::string> SettingsFileAt::Replace(const std::string& text) {
  const bool exists = static_cast<bool>(data_->read);
  std::optional<std::string> problem =
      ReplaceFile(data_->file, exists ? data_->read.get() : -1, text);
  // A test may stop here, with the new file in place and the lock still held.
  if (!problem) Faulted(SaveStep::kUnlock);
  return problem;
}

SaveFault& SaveFaultHook() {
  static SaveFault fault = nullptr;
  return fault;
}
