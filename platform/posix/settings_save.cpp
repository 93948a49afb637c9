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
#include "platform/settings_file.h"

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

SettingsSave Failed(std::string reason) {
  return {false, std::move(reason)};
}
SettingsSave FailedWithErrno() {
  return Failed(std::strerror(errno));
}
const SettingsSave kSaved{true, ""};

std::optional<std::string> TooLarge(const std::string& text) {
  if (text.size() <= kSettingsFileLimit) return std::nullopt;
  return "the file would grow past 1 MiB";
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

// Takes the lock without blocking, and while another copy holds it, lets wait decide.
std::optional<FileDescriptor> Lock(const Place& file, const LockWait& wait, std::string& reason) {
  std::optional<FileDescriptor> fd = OpenLock(file, reason);
  if (!fd) return std::nullopt;
  if (Faulted(SaveStep::kLock)) {
    reason = std::strerror(errno);
    return std::nullopt;
  }
  while (flock(fd->get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    reason = errno == EWOULDBLOCK ? "another copy of the game keeps the file locked"
                                  : std::strerror(errno);
    if (errno != EWOULDBLOCK || !wait()) return std::nullopt;
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
void RemoveStaleTemporaries(const Place& file) {
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

// The rules of writing, checked by the permission bits themselves: a file that nobody may
// write is a player's way of keeping the table as it is, so not even root replaces it.
std::optional<std::string> WriteRefusal(const Place& file) {
  if ((file.status.st_mode & 0222) == 0) return "the file is read-only";
  if (faccessat(file.folder.get(), file.name.c_str(), W_OK, AT_EACCESS) != 0) {
    return std::strerror(errno);
  }
  return std::nullopt;
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
SettingsSave Replace(const Place& file, int old_fd, const std::string& text) {
  std::string temp;
  std::optional<FileDescriptor> fd = CreateTemporary(file, old_fd >= 0, temp);
  if (!fd) return FailedWithErrno();
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
    return Failed(*problem);
  }
  // Renamed, but until the directory is on the disk a power cut can undo it.
  if (!SyncDirectory(file)) return FailedWithErrno();
  return kSaved;
}

// The outcome of a save decided by a look at the file as it is: saved when edit changes
// nothing, failed when the file cannot be read or replaced; nothing when the save goes on.
std::optional<SettingsSave> DecidedWithoutLock(const SettingsLocation& where,
                                               const SettingsEdit& edit) {
  Found found = FindSettingsFile(where, false);
  if (!found.place && !found.missing) return Failed(found.reason);
  SettingsRead file = found.place ? ReadPlace(*found.place) : SettingsRead{};
  if (file.status == SettingsRead::Status::kUnreadable) return Failed(file.reason);
  const bool exists = file.status == SettingsRead::Status::kRead;
  std::optional<std::string> text = edit(exists ? std::optional(file.text) : std::nullopt);
  if (!text) return kSaved;
  if (auto refusal = TooLarge(*text)) return Failed(*refusal);
  if (exists) {
    if (auto refusal = WriteRefusal(*found.place)) return Failed(*refusal);
  }
  return std::nullopt;
}

}  // namespace

SettingsSave UpdateSettingsFile(const SettingsLocation& where, const SettingsEdit& edit,
                                const LockWait& wait) {
  // A first look without the lock: nothing to change needs no lock, and a file that is not
  // ours to replace gets no lock file beside it.
  if (auto outcome = DecidedWithoutLock(where, edit)) return *outcome;

  if (Faulted(SaveStep::kOpenFolder)) return FailedWithErrno();
  Found found = FindSettingsFile(where, true);
  if (!found.place) return Failed(found.reason);
  Place& file = *found.place;
  std::string reason;
  std::optional<FileDescriptor> lock = Lock(file, wait, reason);
  if (!lock) return Failed(reason);
  RemoveStaleTemporaries(file);

  if (Faulted(SaveStep::kRead)) return FailedWithErrno();
  // Looked at afresh: another copy may have replaced the file while this one waited.
  struct stat now {};
  if (fstatat(file.folder.get(), file.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT) return FailedWithErrno();
    now = {};
  }
  file.status = now;
  FileDescriptor old;
  SettingsRead read = ReadPlace(file, &old);
  if (read.status == SettingsRead::Status::kUnreadable) return Failed(read.reason);
  const bool exists = read.status == SettingsRead::Status::kRead;
  std::optional<std::string> text = edit(exists ? std::optional(read.text) : std::nullopt);
  if (!text) return kSaved;
  if (auto refusal = TooLarge(*text)) return Failed(*refusal);
  if (exists) {
    // The file that was read, whatever the name holds by now.
    if (fstat(old.get(), &file.status) != 0) return FailedWithErrno();
    if (auto refusal = WriteRefusal(file)) return Failed(*refusal);
  }
  SettingsSave saved = Replace(file, exists ? old.get() : -1, *text);
  // A test may stop here, with the new file in place and the lock still held.
  if (saved.saved) Faulted(SaveStep::kUnlock);
  return saved;
}

SaveFault& SaveFaultHook() {
  static SaveFault fault = nullptr;
  return fault;
}
