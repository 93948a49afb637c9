#pragma once
// What the game tells the X server and the window manager about its windows; platform sources
// only.

#include <cstdint>

struct _XDisplay;
struct xcb_connection_t;

// Marks a top-level window, before it is first mapped, as one that taskbars, pagers and
// window lists leave out.
void SkipTaskbarAndPager(_XDisplay* display, unsigned long window);

// Whether the X server is XWayland, which passes keys on to X clients only while one of their
// windows has the keyboard focus.
bool IsXWayland(_XDisplay* display);

// Makes the server paint these pixels (0xAARRGGBB, row after row) wherever the window shows
// and the program has not painted yet: the moment it is mapped, and while the program is busy.
void SetBackgroundPixels(xcb_connection_t* connection, unsigned long window, const uint32_t* argb,
                         int width, int height);
