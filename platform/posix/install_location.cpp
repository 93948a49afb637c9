#include "platform/install_location.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>

namespace {

// Where this build installs the game, and where packages put programs.
constexpr std::array<const char*, 5> kInstallDirectories = {
    NORUKA_INSTALLED_BINDIR, "/usr/bin", "/usr/games", "/usr/local/bin", "/usr/local/games"};

}  // namespace

bool IsInstallDirectory(const std::string& directory) {
  std::error_code ignored;
  for (const char* candidate : kInstallDirectories) {
    if (std::filesystem::weakly_canonical(candidate, ignored) == std::filesystem::path(directory))
      return true;
  }
  return false;
}

std::string UserDataDirectory() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home && data_home[0] == '/') return data_home;
  std::string home = HomeDirectory();
  return home.empty() ? "" : home + "/.local/share";
}

std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return home;
  const passwd* entry = getpwuid(geteuid());
  if (entry && entry->pw_dir && entry->pw_dir[0] == '/') return entry->pw_dir;
  return "";
}
