#pragma once
// The settings file on disk: read whole after checking what it is, and replaced in one locked
// step, so that two copies of the game, a kill or a full disk never lose or tear it.

#include <functional>
#include <optional>
#include <string>

// What one read of a settings file found.
struct SettingsRead {
  enum class Status { kRead, kMissing, kUnreadable };
  Status status = Status::kMissing;
  std::string text;    // kRead: the whole file
  std::string reason;  // kUnreadable: why, as a short phrase
};

// The file whole, from an absolute path. Only a regular file of at most 1 MiB is read; anything
// else that exists, or a file that cannot be opened, is unreadable. Never blocks: a FIFO or a
// device is not opened.
SettingsRead ReadSettingsFile(const std::string& path);

struct SettingsSave {
  bool saved = false;
  std::string reason;  // why not, as a short phrase
};

// The new text for the current one (nothing when the file does not exist yet), or nothing to
// leave the file as it is. Called once without the lock to see whether anything changes, and
// again under it.
using SettingsEdit =
    std::function<std::optional<std::string>(const std::optional<std::string>& text)>;

// Applies edit to the file in one step, under an advisory lock that every copy of the game
// takes on a ".lock" file beside it: reads the file, and replaces it once with the result (a
// temporary file in the same directory, flushed, renamed over it, the directory flushed).
// A symbolic link is followed and its target replaced in the target's directory, keeping its
// mode, owner and group. A file that cannot be read, is not a regular file or has no write
// permission is left as it is and the save fails. Temporary files of killed saves are removed
// first; missing directories are created, private to the player.
SettingsSave UpdateSettingsFile(const std::string& path, const SettingsEdit& edit);

// The steps of a save, in order.
enum class SaveStep {
  kMakeDirectory,
  kOpenLock,
  kLock,
  kRemoveStale,
  kRead,
  kCreateTemp,
  kKeepOwner,
  kWrite,
  kSyncFile,
  kClose,
  kRename,
  kSyncDirectory,
  kUnlock,
};
