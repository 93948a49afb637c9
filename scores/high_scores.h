#pragma once
// The five best scores, kept in the settings file.

#include <string_view>

enum HighScoreOrder { HigherFirst = 0, LowerFirst = 1 };

// Records a finished time attack. Returns its rank 1 to 5, or 0 when it did not rank.
int RecordHighScore(std::string_view score, std::string_view note, int order);
