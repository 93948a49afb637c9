// Where the running executable lies, read once at start.

#include <filesystem>
#include <optional>

#include "platform/executable.h"
#include "platform/install_location.h"
#include "platform/posix/executable_place.h"

namespace {

namespace fs = std::filesystem;

// What messages are signed with while the executable is not known.
constexpr const char* kProgramName = "noruka-keisan";

std::optional<Executable> found;

// The one the program found at start; none while it has not looked, or could not tell.
const Executable& Current() {
  static const Executable unknown;
  if (const std::optional<Executable>& instead = ExecutableOverride()) return *instead;
  return found ? *found : unknown;
}

}  // namespace

std::optional<Executable>& ExecutableOverride() {
  static std::optional<Executable> instead;
  return instead;
}

bool App::FindExecutable(std::string* why) {
  // The kernel's link to the running executable.
  return FindExecutableThrough("/proc/self/exe", why);
}

bool FindExecutableThrough(const char* link, std::string* why) {
  std::error_code error;
  fs::path path = fs::read_symlink(link, error);
  if (error) {
    *why = "cannot find the running executable: " + error.message();
    return false;
  }
  found = Executable{path, IsInstallDirectory(path.parent_path().string())};
  return true;
}

std::string App::Path() {
  return Current().path.parent_path().string();
}

std::string App::EXEName() {
  return Current().path.stem().string();
}

bool App::Installed() {
  return Current().installed;
}

std::string App::ProgramName() {
  const fs::path& path = Current().path;
  return path.empty() ? kProgramName : path.stem().string();
}
