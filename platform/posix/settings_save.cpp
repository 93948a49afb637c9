#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/posix/file_descriptor.h"
#include "platform/settings_file.h"
#include "platform/testing.h"

namespace {

namespace fs = std::filesystem;

// Temporary files are named after the settings file: "noruka-keisan.ini.tmp-" and six
// letters or digits. Only names of this pattern are ever removed as stale.
constexpr std::string_view kTempInfix = ".tmp-";
constexpr size_t kTempSuffixLength = 6;
constexpr std::string_view kTempLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Another copy saves in milliseconds; one that holds the lock longer has stopped or hung, and
// the game must not hang with it.
constexpr auto kLockPatience = std::chrono::seconds(10);
constexpr auto kLockRetry = std::chrono::milliseconds(5);

int (*save_fault)(SaveStep) = nullptr;

// True, with errno set, when a test makes this step fail.
bool Faulted(SaveStep step) {
  if (!save_fault) return false;
  int error = save_fault(step);
  if (error == 0) return false;
  errno = error;
  return true;
}

SettingsSave Failed(std::string reason) {
  return {false, std::move(reason)};
}
SettingsSave FailedWithErrno() {
  return Failed(std::strerror(errno));
}

// The file a chain of symbolic links ends at, which need not exist yet; the path itself when
// it is no link. Nothing, with errno set, for a loop or an unreadable link.
std::optional<fs::path> FinalTarget(fs::path path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::error_code error;
    fs::path target = fs::read_symlink(path, error);
    if (error) {
      errno = error.value();
      return std::nullopt;
    }
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  errno = ELOOP;
  return std::nullopt;
}

bool MakeDirectories(const fs::path& directory) {
  if (directory.empty()) return true;
  struct stat status {};
  if (stat(directory.c_str(), &status) == 0) return true;
  if (errno != ENOENT) return false;
  if (directory.has_relative_path() && !MakeDirectories(directory.parent_path())) return false;
  return mkdir(directory.c_str(), 0700) == 0 || errno == EEXIST;
}

// Waits, within reason, for the lock on the ".lock" file beside the settings file. The lock
// file is left in place: removing it would let a copy that opened it before the removal and
// one that creates it afresh both hold "the" lock.
std::optional<FileDescriptor> Lock(const fs::path& target) {
  std::string path = target.string() + ".lock";
  if (Faulted(SaveStep::kOpenLock)) return std::nullopt;
  FileDescriptor fd(open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666));
  // Created by another player of a shared folder: reading is enough to lock it.
  if (!fd && errno == EACCES) {
    fd = FileDescriptor(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  }
  if (!fd) return std::nullopt;
  if (Faulted(SaveStep::kLock)) return std::nullopt;
  const auto give_up = std::chrono::steady_clock::now() + kLockPatience;
  while (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() > give_up) return std::nullopt;
    std::this_thread::sleep_for(kLockRetry);
  }
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
void RemoveStaleTemporaries(const fs::path& target) {
  if (Faulted(SaveStep::kRemoveStale)) return;
  fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string name = target.filename().string();
  std::error_code error;
  for (fs::directory_iterator entry(directory, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    if (IsTemporaryOf(entry->path().filename().string(), name) &&
        !fs::is_directory(entry->symlink_status(ignored))) {
      fs::remove(entry->path(), ignored);
    }
  }
}

// A new file beside the target. In place of an existing file it starts private, and takes the
// old file's mode once it has the old file's owner.
std::optional<FileDescriptor> CreateTemporary(const fs::path& target, bool private_mode,
                                              std::string& temp) {
  if (Faulted(SaveStep::kCreateTemp)) return std::nullopt;
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<size_t> letter(0, kTempLetters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = target.string() + std::string(kTempInfix);
    for (size_t i = 0; i < kTempSuffixLength; ++i)
      temp += kTempLetters[letter(random)];
    FileDescriptor fd(open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                           private_mode ? 0600 : 0666));
    if (fd) return fd;
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

// The replacement takes the old file's owner, group and mode. When the owner cannot be kept
// (another player's file in a shared folder), the group and mode are, so the same people can
// read and write it as before.
bool KeepOwnerAndMode(int fd, const struct stat& old) {
  if (Faulted(SaveStep::kKeepOwner)) return false;
  if (fchown(fd, old.st_uid, old.st_gid) != 0 &&
      fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    return false;
  }
  return fchmod(fd, old.st_mode & 07777) == 0;
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

bool SyncDirectory(const fs::path& target) {
  if (Faulted(SaveStep::kSyncDirectory)) return false;
  fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
  FileDescriptor fd(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // Some file systems cannot flush a directory; the rename is all there is to wait for then.
  return fd && (fsync(fd.get()) == 0 || errno == EINVAL);
}

// The rules of writing, checked by the permission bits themselves: a file that nobody may
// write is a player's way of keeping the table as it is, so not even root replaces it.
std::optional<std::string> WriteRefusal(const fs::path& target, const struct stat& status) {
  if ((status.st_mode & 0222) == 0) return "the file is read-only";
  if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return std::strerror(errno);
  return std::nullopt;
}

// Writes text into a new file and renames it over the target.
SettingsSave Replace(const fs::path& target, const struct stat* old, const std::string& text) {
  std::string temp;
  std::optional<FileDescriptor> fd = CreateTemporary(target, old != nullptr, temp);
  if (!fd) return FailedWithErrno();
  bool written = (!old || KeepOwnerAndMode(fd->get(), *old)) && WriteAll(fd->get(), text) &&
                 !Faulted(SaveStep::kSyncFile) && fsync(fd->get()) == 0;
  int error = errno;
  if (written && (Faulted(SaveStep::kClose) || !fd->Close())) {
    written = false;
    error = errno;
  }
  if (written && (Faulted(SaveStep::kRename) || rename(temp.c_str(), target.c_str()) != 0)) {
    written = false;
    error = errno;
  }
  if (!written) {
    unlink(temp.c_str());
    return Failed(std::strerror(error));
  }
  // Renamed, but until the directory is on the disk a power cut can undo it.
  if (!SyncDirectory(target)) return FailedWithErrno();
  return {true, ""};
}

// The outcome of a save decided by a look at the file as it is: saved when edit changes
// nothing, failed when the file cannot be read or replaced; nothing when the save goes on.
std::optional<SettingsSave> DecidedWithoutLock(const std::string& path, const SettingsEdit& edit) {
  SettingsRead file = ReadSettingsFile(path);
  if (file.status == SettingsRead::Status::kUnreadable) return Failed(file.reason);
  const bool exists = file.status == SettingsRead::Status::kRead;
  if (!edit(exists ? std::optional(file.text) : std::nullopt)) return SettingsSave{true, ""};
  struct stat status {};
  if (exists && stat(path.c_str(), &status) == 0) {
    if (auto refusal = WriteRefusal(path, status)) return Failed(*refusal);
  }
  return std::nullopt;
}

}  // namespace

SettingsSave UpdateSettingsFile(const std::string& path, const SettingsEdit& edit) {
  // A first look without the lock: nothing to change needs no lock, and a file that is not
  // ours to replace gets no lock file beside it.
  if (auto outcome = DecidedWithoutLock(path, edit)) return *outcome;

  std::optional<fs::path> target = FinalTarget(path);
  if (!target) return FailedWithErrno();
  if (Faulted(SaveStep::kMakeDirectory) || !MakeDirectories(target->parent_path())) {
    return FailedWithErrno();
  }
  std::optional<FileDescriptor> lock = Lock(*target);
  if (!lock) {
    return errno == EWOULDBLOCK ? Failed("another copy of the game keeps the file locked")
                                : FailedWithErrno();
  }
  RemoveStaleTemporaries(*target);

  if (Faulted(SaveStep::kRead)) return FailedWithErrno();
  SettingsRead now = ReadSettingsFile(target->string());
  if (now.status == SettingsRead::Status::kUnreadable) return Failed(now.reason);
  const bool exists = now.status == SettingsRead::Status::kRead;
  std::optional<std::string> text = edit(exists ? std::optional(now.text) : std::nullopt);
  if (!text) return {true, ""};
  struct stat old {};
  if (exists) {
    if (stat(target->c_str(), &old) != 0) return FailedWithErrno();
    if (auto refusal = WriteRefusal(*target, old)) return Failed(*refusal);
  }
  SettingsSave saved = Replace(*target, exists ? &old : nullptr, *text);
  // A test may stop here, with the new file in place and the lock still held.
  if (saved.saved) Faulted(SaveStep::kUnlock);
  return saved;
}

void SetSaveFaultForTesting(int (*fault)(SaveStep step)) {
  save_fault = fault;
}
