#pragma once
// What the game tells the X window manager about its windows; platform sources only.

struct _XDisplay;

// Marks a top-level window, before it is first mapped, as one that taskbars, pagers and
// window lists leave out.
void SkipTaskbarAndPager(_XDisplay* display, unsigned long window);

// Whether the X server is XWayland, which passes keys on to X clients only while one of their
// windows has the keyboard focus.
bool IsXWayland(_XDisplay* display);
