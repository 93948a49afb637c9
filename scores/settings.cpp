#include "scores/settings.h"

#include <filesystem>
#include <iostream>

#include "platform/profile.h"
#include "platform/toolkit.h"

namespace {
constexpr char kSeparator = '/';
constexpr uint32_t kReadLimit = 511;  // 510 bytes of value and the terminating NUL
}  // namespace

std::string SettingsPathIn(std::string_view directory, std::string_view exe_name) {
  std::string path(directory);
  if (path.empty() || path.back() != kSeparator) path += kSeparator;
  return path + std::string(exe_name) + ".ini";
}

std::string SettingsFilePath() {
  std::string directory = App::Path();
  if (!DirectoryWritable(directory)) directory = UserDataDirectory() + kSeparator + App::EXEName();
  return SettingsPathIn(directory, App::EXEName());
}

std::string ReadSetting(std::string_view section, std::string_view key) {
  std::string path = SettingsFilePath();
  std::string buffer(512, ' ');
  GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), nullptr,
                           buffer.data(), kReadLimit, path.c_str());
  size_t end = buffer.find('\0');
  if (end == std::string::npos) return "";
  buffer.resize(end);
  size_t first = buffer.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return buffer.substr(first, buffer.find_last_not_of(' ') - first + 1);
}

void WriteSetting(std::string_view section, std::string_view key, std::string_view value) {
  std::string path = SettingsFilePath();
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  if (!WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                  std::string(value).c_str(), path.c_str())) {
    std::cerr << App::EXEName() << ": cannot save to " << path << ": " << ProfileError()
              << std::endl;
  }
}
