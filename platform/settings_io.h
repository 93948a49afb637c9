#pragma once
// The settings file's place, and what reading and saving it yield: what the save's rules and the
// file system's side of it speak of.

#include <cstddef>
#include <string>

// The largest file the reader accepts, and so the largest the writer writes.
inline constexpr size_t kSettingsFileLimit = 1024 * 1024;  // 1 MiB

// Where the settings file lies. Its folder is the one the game found when it started: the first
// look at it remembers which folder it is, and a folder that has since been removed, renamed or
// replaced fails every read and save. A folder that has never been there is made on the first
// save only when make_under is set: the missing folders below make_under, which must exist.
struct SettingsLocation {
  std::string file;        // absolute
  std::string make_under;  // "" when the folder is never made
};

// What one read of a settings file found.
struct SettingsRead {
  enum class Status { kRead, kMissing, kUnreadable };
  Status status = Status::kMissing;
  std::string text;    // kRead: the whole file
  std::string reason;  // kUnreadable: why, as a short phrase
};

struct SettingsSave {
  bool saved = false;
  std::string reason;  // why not, as a short phrase
};

// The steps of a save, in order.
enum class SaveStep {
  kOpenFolder,
  kOpenLock,
  kLock,
  kRemoveStale,
  kRead,
  kCreateTemp,
  kWrite,
  kKeepAttributes,
  kSyncFile,
  kClose,
  kRename,
  kSyncDirectory,
  kUnlock,
};
