#pragma once
// The running executable as the POSIX backend finds it, and what a test puts in its place.

#include <filesystem>
#include <optional>
#include <string>

struct Executable {
  std::filesystem::path path;
  bool installed = false;
};

// Reads where the executable lies through a link to it, as the kernel's /proc/self/exe is.
bool FindExecutableThrough(const char* link, std::string* why);
// An executable the program takes instead of its own, so that what it keeps beside it goes
// elsewhere.
std::optional<Executable>& ExecutableOverride();
