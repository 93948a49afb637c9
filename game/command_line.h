#pragma once
// What the command line asks for besides the game itself: help, the version, a summary of the
// history or its export. None of them needs a display or reads the keyboard.

#include <optional>

// The exit status once the command line has been answered; nothing when the game is to start.
// An unknown option or a missing argument is one line on standard error and status 2.
std::optional<int> RunCommandLine(int argc, char** argv);
