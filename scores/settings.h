#pragma once
// The settings file: one small INI file named after the executable.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// directory + separator + name + ".ini", the separator added only when the directory does not
// already end with one.
std::string SettingsPathIn(std::string_view directory, std::string_view exe_name);

// Beside the executable. An installed copy writes nothing into the system's directories: it
// keeps the file in the player's data directory, as noruka-keisan/noruka-keisan.ini, and makes
// that folder on its first save. "" when there is no home directory.
std::string SettingsFilePath();

// Notes which folder holds the file, so that no save goes into another that takes its place or
// makes it again once it has gone. The game calls it when it starts.
void NoteSettingsFolder();

// The whole file: "" while there is none, nothing when it exists but cannot be read (standard
// error says why). An installed copy without a file of its own yet reads the one beside its
// executable, if there is one, and carries its content over on its first save.
std::optional<std::string> ReadSettingsText();

// A value of the text: without surrounding spaces, cut to 510 bytes, "" for anything missing.
std::string SettingValue(std::string_view text, std::string_view section, std::string_view key);

// Changes the file in one step, safe against other copies of the game: edit gets the current
// text and returns the new one, or nothing to leave the file as it is. While another copy
// holds the file, the windows keep answering, for up to ten seconds. False when the change
// could not be saved; standard error then names the file and the reason.
bool EditSettings(const std::function<std::optional<std::string>(const std::string&)>& edit);
