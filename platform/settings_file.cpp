#include "platform/settings_file.h"

#include "platform/settings_store.h"

namespace {

const SettingsSave kSaved{true, ""};

SettingsSave Failed(std::string reason) {
  return {false, std::move(reason)};
}

// Why the new text may not replace the file that was read, or nothing when it may. A file that
// nobody may write is a player's way of keeping the table as it is: not even root replaces it.
// And a file the reader would refuse is never written.
std::optional<std::string> Refusal(SettingsFileAt& file, const SettingsRead& read,
                                   const std::string& text) {
  if (text.size() > kSettingsFileLimit) return "the file would grow past 1 MiB";
  if (read.status != SettingsRead::Status::kRead) return std::nullopt;
  const SettingsFileAt::Access access = file.FileAccess();
  if (!access.has_write_bits) return "the file is read-only";
  return access.denied;
}

// The new text, from the file as read: nothing when it stays as it is.
std::optional<std::string> Edited(const SettingsRead& read, const SettingsEdit& edit) {
  return edit(read.status == SettingsRead::Status::kRead ? std::optional(read.text) : std::nullopt);
}

// The outcome of a save decided by a look at the file as it is: saved when edit changes
// nothing, failed when the file cannot be read or replaced; nothing when the save goes on.
std::optional<SettingsSave> DecidedWithoutLock(const SettingsLocation& where,
                                               const SettingsEdit& edit) {
  std::string why;
  bool missing = false;
  std::optional<SettingsFileAt> file = SettingsFileAt::Find(where, false, &why, &missing);
  if (!file && !missing) return Failed(why);
  const SettingsRead read = file ? file->Read(false) : SettingsRead{};
  if (read.status == SettingsRead::Status::kUnreadable) return Failed(read.reason);
  std::optional<std::string> text = Edited(read, edit);
  if (!text) return kSaved;
  if (file) {
    if (auto refusal = Refusal(*file, read, *text)) return Failed(*refusal);
  } else if (text->size() > kSettingsFileLimit) {
    return Failed("the file would grow past 1 MiB");
  }
  return std::nullopt;
}

}  // namespace

SettingsRead ReadSettingsFile(const SettingsLocation& where) {
  std::string why;
  bool missing = false;
  std::optional<SettingsFileAt> file = SettingsFileAt::Find(where, false, &why, &missing);
  if (!file) {
    return missing ? SettingsRead{} : SettingsRead{SettingsRead::Status::kUnreadable, "", why};
  }
  return file->Read(false);
}

void RememberSettingsFolder(const SettingsLocation& where) {
  std::string why;
  bool missing = false;
  SettingsFileAt::Find(where, false, &why, &missing);
}

SettingsSave UpdateSettingsFile(const SettingsLocation& where, const SettingsEdit& edit,
                                const LockWait& wait) {
  // A first look without the lock: nothing to change needs no lock, and a file that is not
  // ours to replace gets no lock file beside it.
  if (auto outcome = DecidedWithoutLock(where, edit)) return *outcome;

  std::string why;
  bool missing = false;
  std::optional<SettingsFileAt> file = SettingsFileAt::Find(where, true, &why, &missing);
  if (!file) return Failed(why);
  for (;;) {
    const SettingsFileAt::LockTry tried = file->TryLock(&why);
    if (tried == SettingsFileAt::LockTry::kTaken) break;
    if (tried == SettingsFileAt::LockTry::kFailed) return Failed(why);
    // Another copy saves in milliseconds; the caller says how long to give it.
    if (!wait()) return Failed("another copy of the game keeps the file locked");
  }
  file->RemoveStaleTemporaries();

  // Looked at afresh: another copy may have replaced the file while this one waited.
  const SettingsRead read = file->Read(true);
  if (read.status == SettingsRead::Status::kUnreadable) return Failed(read.reason);
  std::optional<std::string> text = Edited(read, edit);
  if (!text) return kSaved;
  if (auto refusal = Refusal(*file, read, *text)) return Failed(*refusal);
  if (auto problem = file->Replace(*text)) return Failed(*problem);
  return kSaved;
}
