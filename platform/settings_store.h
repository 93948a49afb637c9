#pragma once
// What the file system offers the settings file's save: the file's folder held open, a look at
// the file, the lock beside it, and a replacement in one step. When to do which, and what a
// read-only or oversized file means, is decided above it (platform/settings_file.cpp).

#include <memory>
#include <optional>
#include <string>

#include "platform/settings_io.h"

// The settings file in its folder, found once and held: every later step works on that folder,
// whatever happens to its path meanwhile.
class SettingsFileAt {
 public:
  // The file's folder; with make, made first where the location allows it. Nothing, with why,
  // when there is none: missing says that the file does not exist yet either.
  static std::optional<SettingsFileAt> Find(const SettingsLocation& where, bool make,
                                            std::string* why, bool* missing);
  ~SettingsFileAt();
  SettingsFileAt(SettingsFileAt&&) noexcept;
  SettingsFileAt& operator=(SettingsFileAt&&) noexcept;

  // The file as it is now, looked at afresh; under the lock, the file that was read is the one
  // Access and Replace speak of, whatever the name holds by then.
  SettingsRead Read(bool under_lock);

  struct Access {
    bool has_write_bits = false;        // anyone at all may write it
    std::optional<std::string> denied;  // why this process may not
  };
  // Of the file last read.
  Access FileAccess() const;

  enum class LockTry { kTaken, kHeldElsewhere, kFailed };
  // The lock on a ".lock" file beside the settings file, without waiting for it; why is set
  // when it failed.
  LockTry TryLock(std::string* why);
  // Temporary files of saves that were killed; only while the lock is held.
  void RemoveStaleTemporaries();
  // A new file beside the old one with text in it, taking the old file's owner, group, mode and
  // attributes (for a first file, its folder's owner), flushed, renamed over the name, and the
  // folder flushed. Nothing when done, or why not; the old file then stays as it was.
  std::optional<std::string> Replace(const std::string& text);

  struct Data;

 private:
  explicit SettingsFileAt(std::unique_ptr<Data> data);
  std::unique_ptr<Data> data_;
};
