#pragma once
// The X desktop around the game's windows: the watch that keeps them on top and reads the
// docks, and the calls back when the screen changes.

class DesktopWatch;

// The watch of the toolkit's X display, started on first use; nullptr on any other platform.
DesktopWatch* Desktop();
