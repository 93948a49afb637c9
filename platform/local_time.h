#pragma once
// The wall clock in the player's time zone.

#include <ctime>

// Now, broken down in local time.
std::tm LocalTimeNow();
// A moment, broken down in local time.
std::tm LocalTimeAt(std::time_t moment);
// How far a broken-down local time is ahead of UTC, in seconds (negative west of Greenwich).
long UtcOffsetSeconds(const std::tm& local);
