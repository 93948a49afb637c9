#pragma once

#include <cstdint>
#include <string>

void SeedRandomDigits(uint64_t seed);
// A uniformly drawn digit "0" to "9".
std::string RandomDigit();
