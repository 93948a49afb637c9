#pragma once
// The settings file: one small INI file named after the executable.

#include <string>
#include <string_view>

// directory + separator + name + ".ini", the separator added only when the directory does not
// already end with one.
std::string SettingsPathIn(std::string_view directory, std::string_view exe_name);

// Beside the executable; when the player cannot write there (an installed copy), in the
// player's data directory, so that scores are not lost.
std::string SettingsFilePath();

// The stored value without surrounding spaces, cut to 510 bytes; "" for anything missing.
std::string ReadSetting(std::string_view section, std::string_view key);
// Stores the value. A failure is not the player's concern: it is told on standard error only.
void WriteSetting(std::string_view section, std::string_view key, std::string_view value);
