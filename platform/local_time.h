#pragma once
// The wall clock in the player's time zone.

#include <ctime>

// Now, broken down in local time.
std::tm LocalTimeNow();
