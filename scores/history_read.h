#pragma once
// The history as the window and the command line read it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "scores/attack_record.h"
#include "scores/local_date_time.h"

struct StoredAttack {
  int64_t id = 0;  // 0 for a high score that is not in the file yet
  LocalDateTime started;
  std::optional<int> utc_offset_minutes;  // not known for a carried-over high score
  int score = 0;
  std::optional<int> wrong;
  bool carried_over = false;         // a high score kept before the history began: no presses
  std::vector<AnswerPress> presses;  // only where they were asked for
};

struct History {
  bool readable = true;               // false: standard error has said why
  std::vector<StoredAttack> attacks;  // in the order recorded
};

// Given every time attack, which of them to read the presses of.
using PressChoice = std::function<std::vector<bool>(const std::vector<StoredAttack>&)>;

// Every time attack of the history, with the presses of those chosen. Before the file exists,
// the high-score table's entries stand in for it, as they will be carried over. A file of an
// earlier version is brought up to date first.
History ReadHistory(const PressChoice& choose);
// Every time attack with every press.
History ReadWholeHistory();
