#pragma once
// The scores of the high-score table that came before the history: carried over into it once.

#include <vector>

#include "scores/local_date_time.h"

struct CarriedScore {
  LocalDateTime recorded;
  int score = 0;
};

// The table's entries recorded before the moment, in rank order, each once: a shift cut short
// leaves one entry in two slots. An entry without a readable date cannot be placed and is left
// out; a settings file that cannot be read gives none (standard error says why).
std::vector<CarriedScore> HighScoresBefore(const LocalDateTime& moment);
