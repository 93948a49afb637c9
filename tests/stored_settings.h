#pragma once
// A value of the settings file, written through the game's own locked save as an earlier game
// would have left it, and read back the way the game reads the file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_text.h"
#include "scores/high_scores.h"
#include "scores/settings.h"

inline bool WriteSetting(std::string_view section, std::string_view key, std::string_view value) {
  return EditSettings(
      [&](const std::string& text) { return SetIniValue(text, section, key, value); });
}

inline std::optional<std::string> ReadSetting(std::string_view section, std::string_view key) {
  std::optional<std::string> text = ReadSettingsText();
  if (!text) return std::nullopt;
  return SettingValue(*text, section, key);
}

// The scores of the high-score table from the top, "" for an empty slot.
inline std::vector<std::string> StoredScores() {
  std::vector<std::string> scores;
  const auto table = ReadHighScores().value();
  for (const std::string& entry : table)
    scores.push_back(entry.substr(0, entry.find(',')));
  return scores;
}
