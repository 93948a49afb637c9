#pragma once
// Reading numbers out of free text, as stored tags and hand-edited files need.

#include <string>
#include <string_view>

// The decimal number at the start of text, blanks ignored; 0 when it does not start with one.
double Val(std::string_view text);
// A number in its shortest decimal form: 1 is "1", 2.5 is "2.5".
std::string ShortestDecimal(double value);
