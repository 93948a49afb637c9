#pragma once
// Profile strings: single values in INI files, under the names the settings code uses.
// Every call goes to the file; nothing is cached.

#include <cstdint>
#include <string>

// Copies the value (or the default, nullptr meaning empty) into buffer, cut to size - 1 bytes
// and NUL-terminated; a missing file, section or key gives the default. Returns the bytes copied.
uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* fallback,
                                  char* buffer, uint32_t size, const char* path);

// Stores the value, creating the file, section or key as needed. The file is replaced in one
// step, so it is never left torn. False when the value cannot be written; ProfileError says why.
bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* path);

// Why the last write failed.
std::string ProfileError();

// Whether the player may create files in the directory.
bool DirectoryWritable(const std::string& directory);
// Where the player's own data lives: $XDG_DATA_HOME, or ~/.local/share.
std::string UserDataDirectory();
