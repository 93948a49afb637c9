#include "scores/settings.h"

#include <algorithm>
#include <string>

#include "platform/clock.h"
#include "platform/executable.h"
#include "platform/failures.h"
#include "platform/ini_text.h"
#include "platform/install_location.h"
#include "platform/pump.h"
#include "platform/settings_file.h"

namespace {

constexpr char kSeparator = '/';
constexpr size_t kValueLimit = 510;

// Another copy saves in milliseconds; one that holds the lock longer has stopped or hung, and
// the game must not hang with it. Meanwhile its windows keep answering.
constexpr uint32_t kLockPatienceMs = 10000;
constexpr uint32_t kLockRetryMs = 10;

void Complain(std::string_view what, const std::string& path, const std::string& reason) {
  ReportProblem(std::string(what) + " " + (path.empty() ? "the settings file" : path) + ": " +
                reason);
}

// Nowhere while the executable is not known.
SettingsLocation BesideTheExecutable() {
  if (App::EXEName().empty()) return {"", ""};
  return {SettingsPathIn(App::Path(), App::EXEName()), ""};
}

// An installed copy keeps its file in a folder of its own in the player's data folder. That
// folder, and the data folder's own missing parts, may be made in the home folder, never the
// home folder itself; a data folder set outside it may be made in a folder that exists.
SettingsLocation InTheDataFolder() {
  const std::string data = UserDataDirectory();
  if (data.empty()) return {"", ""};
  const std::string home = HomeDirectory();
  const bool in_home = !home.empty() && data.starts_with(home + kSeparator);
  const size_t last = data.find_last_of(kSeparator);
  return {SettingsPathIn(data + kSeparator + App::EXEName(), App::EXEName()),
          in_home ? home : data.substr(0, std::max<size_t>(last, 1))};
}

SettingsLocation Location() {
  return App::Installed() ? InTheDataFolder() : BesideTheExecutable();
}

// The file beside the executable, which an installed copy reads until it has its own.
std::string CarriedOverText() {
  if (!App::Installed()) return "";
  SettingsRead beside = ReadSettingsFile(BesideTheExecutable());
  return beside.status == SettingsRead::Status::kRead ? beside.text : "";
}

// Between two tries to take the lock: the windows repaint and the menu opens.
bool WaitForLock(uint32_t began) {
  if (GetTickCount() - began >= kLockPatienceMs) return false;
  DoEventsUntil(GetTickCount() + kLockRetryMs);
  return true;
}

}  // namespace

std::string SettingsPathIn(std::string_view directory, std::string_view exe_name) {
  std::string path(directory);
  if (path.empty() || path.back() != kSeparator) path += kSeparator;
  return path + std::string(exe_name) + ".ini";
}

std::string SettingsFilePath() {
  return Location().file;
}

void NoteSettingsFolder() {
  RememberSettingsFolder(Location());
}

std::optional<std::string> ReadSettingsText() {
  const SettingsLocation where = Location();
  SettingsRead file = ReadSettingsFile(where);
  switch (file.status) {
    case SettingsRead::Status::kRead:
      return file.text;
    case SettingsRead::Status::kMissing:
      return CarriedOverText();
    case SettingsRead::Status::kUnreadable:
      break;
  }
  Complain("cannot read", where.file, file.reason);
  return std::nullopt;
}

std::string SettingValue(std::string_view text, std::string_view section, std::string_view key) {
  std::string value = FindIniValue(text, section, key).value_or("");
  value.resize(std::min({value.size(), value.find('\0'), kValueLimit}));
  size_t first = value.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return value.substr(first, value.find_last_not_of(' ') - first + 1);
}

bool EditSettings(const std::function<std::optional<std::string>(const std::string&)>& edit) {
  const SettingsLocation where = Location();
  const uint32_t began = GetTickCount();
  SettingsSave save = UpdateSettingsFile(
      where,
      [&](const std::optional<std::string>& text) {
        return edit(text ? *text : CarriedOverText());
      },
      [began] { return WaitForLock(began); });
  if (!save.saved) Complain("cannot save", where.file, save.reason);
  return save.saved;
}
