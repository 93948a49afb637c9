// Where the running executable lies, read once at start.

#include <filesystem>
#include <optional>

#include "platform/failures.h"
#include "platform/install_location.h"
#include "platform/testing.h"
#include "platform/toolkit.h"

namespace {

namespace fs = std::filesystem;

// What messages are signed with while the executable is not known.
constexpr const char* kProgramName = "noruka-keisan";

struct Executable {
  fs::path path;
  bool installed = false;
};

std::optional<Executable> found;
std::optional<Executable> override_executable;

const Executable& Current() {
  if (override_executable) return *override_executable;
  if (!found) App::FindExecutable();
  return *found;
}

}  // namespace

void App::FindExecutable() {
  // The kernel's link to the running executable.
  FindExecutable("/proc/self/exe");
}

void App::FindExecutable(const char* link) {
  std::error_code error;
  fs::path path = fs::read_symlink(link, error);
  if (error) FatalError("cannot find the running executable: " + error.message());
  found = Executable{path, IsInstallDirectory(path.parent_path().string())};
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
  const std::optional<Executable>& known = override_executable ? override_executable : found;
  return known ? known->path.stem().string() : kProgramName;
}

void App::OverridePath(const std::string& executable, bool installed) {
  if (executable.empty()) {
    override_executable.reset();
  } else {
    override_executable = Executable{executable, installed};
  }
}
