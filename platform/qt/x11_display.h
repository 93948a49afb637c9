#pragma once
// The toolkit's own connection to the X server, and what it tells about the desktop.

struct _XDisplay;
struct xcb_connection_t;

// The toolkit's X display; nullptr on any other windowing platform (headless tests).
_XDisplay* X11Display();
xcb_connection_t* X11Connection();

// Whether the game's own windows must take the keyboard focus for its keys to arrive.
bool KeysNeedFocus();

// Whether the game's borderless windows stay out of the window manager's hands, where they
// keep their place, size and keyboard, and the game keeps them on top itself.
bool KeptFromWindowManager();
