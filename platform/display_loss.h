#pragma once
// The end of the program when its X display goes away, the X server ending or the window's
// connection being killed: one line on standard error and status 1. The libraries' own ends
// call exit(), which would run the program's destructors under live windows and crash.

#include <string>

// From now on a broken Xlib connection ends the program so, its line signed with the name.
// Call after the toolkit has started, which puts in a handler of its own.
void EndProgramOnLostDisplay(std::string program_name);

// Ends the program so.
[[noreturn]] void DisplayLost();
