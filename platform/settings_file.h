#pragma once
// The settings file on disk: read whole after checking what it is, and replaced in one locked
// step, so that two copies of the game, a kill or a full disk never lose or tear it, and so that
// nobody else can make the game read or write a file of their choosing.
//
// Symbolic links on the way to the file, or at the file or its lock, are followed only as the
// kernel's protected_symlinks would follow them in a world-writable sticky folder, but in every
// folder: a link owned by the player, or one in a folder that nobody but its owner may write and
// whose owner is the player or root. Any other link stops the read or save.

#include <functional>
#include <optional>
#include <string>

#include "platform/settings_io.h"

// The file whole. Only a regular file of at most kSettingsFileLimit is read; anything else that
// exists, a file that cannot be opened, a link that leads nowhere and a link not to be followed
// are unreadable. Never blocks: a FIFO or a device is not opened.
SettingsRead ReadSettingsFile(const SettingsLocation& where);

// Notes which folder holds the file, as its first read would; the game does it at start.
void RememberSettingsFolder(const SettingsLocation& where);

// The new text for the current one (nothing when the file does not exist yet), or nothing to
// leave the file as it is. Called once without the lock to see whether anything changes, and
// again under it.
using SettingsEdit =
    std::function<std::optional<std::string>(const std::optional<std::string>& text)>;

// Called while another copy of the game holds the lock, between two tries to take it: waits a
// little and says whether to try again.
using LockWait = std::function<bool()>;

// Applies edit to the file in one step, under an advisory lock that every copy of the game
// takes on a ".lock" file beside it: reads the file, and replaces it once with the result (a
// temporary file in the same folder, flushed, renamed over it, the folder flushed).
// A link that may be followed stays, and its target is replaced in the target's folder; a link
// that leads nowhere gets no file made for it. The replacement keeps the old file's group, mode,
// access control list and other extended attributes, and its owner where the player may set it;
// when it cannot, the file stays as it is and the save fails. A file made by root in a folder
// of another user belongs to that user. A file that cannot be read, is not a regular file, has
// no write permission or would grow past kSettingsFileLimit is left as it is and the save
// fails. Temporary files of killed saves are removed first.
SettingsSave UpdateSettingsFile(const SettingsLocation& where, const SettingsEdit& edit,
                                const LockWait& wait);
