#pragma once
// The end of the program when its X display goes away, the X server ending or the window's
// connection being killed: one line on standard error and status 1. The libraries' own ends
// call exit(), which would run the program's destructors under live windows and crash.

// From now on a broken Xlib connection ends the program through DisplayLost. Call after the
// toolkit has started, which puts in a handler of its own.
void EndProgramOnLostDisplay();
