#pragma once
// The running executable: where it lies and what it is called.

#include <string>

namespace App {
// Reads where the running executable lies. The program does this once at start, so that
// replacing or deleting the binary later changes nothing. False, with why, when it cannot.
bool FindExecutable(std::string* why);
// The directory that holds the running executable, without a trailing separator; "" while it
// is not known.
std::string Path();
// The executable's file name without its extension; "" while it is not known.
std::string EXEName();
// Whether the executable runs from where the game is installed, rather than from its build or
// unpacked folder.
bool Installed();
// The name messages on standard error begin with; a fixed one while the executable is unknown.
std::string ProgramName();
}  // namespace App
