#pragma once
// One time attack as the game keeps it during play: when it started, and each digit typed while
// it ran. Nothing else is ever recorded: no key outside play, no key that is not a digit.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scores/local_date_time.h"

// The length of play: every press of a time attack falls within it.
inline constexpr uint32_t kPlayMs = 60000;

struct AnswerPress {
  uint32_t ms_since_go;  // from "GO!" gone, 0 to kPlayMs
  int left;              // the pair's two digits, 0 to 9
  int right;
  int typed;     // the digit typed, 0 to 9
  bool correct;  // typed is the ones digit of left + right
};

struct AttackRecord {
  LocalDateTime started;             // the player's clock when "GO!" went
  int utc_offset_minutes = 0;        // of that clock, east of Greenwich positive
  int score = 0;                     // correct answers
  int wrong = 0;                     // wrong presses
  std::vector<AnswerPress> presses;  // in the order typed
};

// An empty record that starts now, by the player's clock.
AttackRecord AttackStartingNow();

// Keeps a digit typed during play, counted as a correct answer or a wrong press. Nothing is
// written until the time attack is recorded (RecordTimeAttack).
void AddPress(AttackRecord& record, uint32_t ms_since_go, int left, int right, int typed);

// Why a record cannot be stored, or nothing when it can: every digit 0 to 9, each press within
// play and not before the one typed earlier, marked correct exactly when it is, and the score
// and the wrong presses those of its presses.
std::optional<std::string> RecordFault(const AttackRecord& record);
