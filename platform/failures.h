#pragma once
// How the program fails: a fatal error says why and ends the program at once with status 1; a
// problem it lives with, such as a settings file it cannot write, is said on one line and the
// program goes on. Every line on standard error begins with the program's name.

#include <string_view>

// Says why on one line of standard error and, while the toolkit runs, first in a message box
// with an OK button.
[[noreturn]] void FatalError(std::string_view what);
// The end when the display itself has gone: the line alone.
[[noreturn]] void DisplayLost();
// One line on standard error.
void ReportProblem(std::string_view what);
