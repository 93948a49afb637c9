#pragma once
// The whole history as text for other programs: CSV, one row per press (a time attack without
// presses has one row with the press's fields empty), or JSON, one object per time attack.

#include <ostream>
#include <vector>

#include "scores/history_read.h"

void WriteHistoryCsv(const std::vector<StoredAttack>& attacks, std::ostream& out);
void WriteHistoryJson(const std::vector<StoredAttack>& attacks, std::ostream& out);
