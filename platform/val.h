#pragma once
// Reading numbers out of free text, as hand-edited settings files need.

#include <string>
#include <string_view>

// The decimal number at the start of text, blanks ignored; 0 when it does not start with one.
double Val(std::string_view text);
