#pragma once
// Every time attack, kept in an SQLite file beside the settings file.

#include <string>

#include "scores/attack_record.h"

// How long a write or a read waits for another copy of the game to finish its own.
inline constexpr int kHistoryWaitMs = 2000;

// Beside the settings file, by the same rule, named like it: "noruka-keisan.db".
std::string HistoryFilePath();

// Writes a finished time attack into the history in one transaction, the file made or brought
// up to date first. A damaged file is moved aside under a dated name and a new one begun.
// Returns whether the time attack was stored; never throws and shows nothing: a refused record
// or a failure is one line on standard error, and the game goes on.
bool RecordTimeAttack(const AttackRecord& record);
