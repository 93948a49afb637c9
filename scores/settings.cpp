#include "scores/settings.h"

#include <algorithm>
#include <string>

#include "platform/failures.h"
#include "platform/ini_text.h"
#include "platform/install_location.h"
#include "platform/settings_file.h"
#include "platform/toolkit.h"

namespace {

constexpr char kSeparator = '/';
constexpr size_t kValueLimit = 510;

void Complain(std::string_view what, const std::string& path, const std::string& reason) {
  ReportProblem(std::string(what) + " " + path + ": " + reason);
}

// The file beside the executable, which an installed copy reads until it has its own.
std::string CarriedOverText() {
  if (!App::Installed()) return "";
  SettingsRead beside = ReadSettingsFile(SettingsPathIn(App::Path(), App::EXEName()));
  return beside.status == SettingsRead::Status::kRead ? beside.text : "";
}

}  // namespace

std::string SettingsPathIn(std::string_view directory, std::string_view exe_name) {
  std::string path(directory);
  if (path.empty() || path.back() != kSeparator) path += kSeparator;
  return path + std::string(exe_name) + ".ini";
}

std::string SettingsFilePath() {
  if (!App::Installed()) return SettingsPathIn(App::Path(), App::EXEName());
  return SettingsPathIn(UserDataDirectory() + kSeparator + App::EXEName(), App::EXEName());
}

std::optional<std::string> ReadSettingsText() {
  std::string path = SettingsFilePath();
  SettingsRead file = ReadSettingsFile(path);
  switch (file.status) {
    case SettingsRead::Status::kRead:
      return file.text;
    case SettingsRead::Status::kMissing:
      return CarriedOverText();
    case SettingsRead::Status::kUnreadable:
      break;
  }
  Complain("cannot read", path, file.reason);
  return std::nullopt;
}

std::string SettingValue(std::string_view text, std::string_view section, std::string_view key) {
  std::string value = FindIniValue(text, section, key).value_or("");
  value.resize(std::min({value.size(), value.find('\0'), kValueLimit}));
  size_t first = value.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return value.substr(first, value.find_last_not_of(' ') - first + 1);
}

std::optional<std::string> ReadSetting(std::string_view section, std::string_view key) {
  std::optional<std::string> text = ReadSettingsText();
  if (!text) return std::nullopt;
  return SettingValue(*text, section, key);
}

bool EditSettings(const std::function<std::optional<std::string>(const std::string&)>& edit) {
  std::string path = SettingsFilePath();
  SettingsSave save = UpdateSettingsFile(path, [&](const std::optional<std::string>& text) {
    return edit(text ? *text : CarriedOverText());
  });
  if (!save.saved) Complain("cannot save", path, save.reason);
  return save.saved;
}

bool WriteSetting(std::string_view section, std::string_view key, std::string_view value) {
  if (!IniSectionNameFits(section) || !IniKeyFits(key) || !IniValueFits(value)) {
    Complain("cannot save", SettingsFilePath(), "the name or value does not fit on one line");
    return false;
  }
  return EditSettings([&](const std::string& text) -> std::optional<std::string> {
    std::string changed = SetIniValue(text, section, key, value);
    if (changed == text) return std::nullopt;
    return changed;
  });
}
