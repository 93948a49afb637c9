#pragma once
// A fresh, empty directory that the program takes for the one holding its executable, so that
// its settings file lands there; removed with everything in it afterwards.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/executable.h"
#include "platform/testing.h"

class ScratchInstall {
 public:
  ScratchInstall() {
    std::string pattern = (std::filesystem::temp_directory_path() / "noruka-test-XXXXXX").string();
    directory_ = mkdtemp(pattern.data());
    App::OverridePath((directory_ / "noruka-keisan").string());
  }
  ~ScratchInstall() {
    App::OverridePath("");
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

  const std::filesystem::path& Directory() const { return directory_; }
  std::string SettingsFile() const { return (directory_ / "noruka-keisan.ini").string(); }

 private:
  std::filesystem::path directory_;
};
