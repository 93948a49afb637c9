#pragma once
// The X desktop around the game's windows: the watch that keeps them on top and reads the
// docks.

class DesktopWatch;

// The watch of the toolkit's X display, started on first use; nullptr on any other platform.
DesktopWatch* Desktop();
// Calls handler from the event loop when the docks' reserved edges changed.
void OnDocksChange(void (*handler)());
