#include "platform/x11/window_hints.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

void SkipTaskbarAndPager(Display* display, unsigned long window) {
  Atom states[] = {XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False),
                   XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False)};
  // The toolkit adds its own states to these when it maps the window.
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(states), 2);
}

bool IsXWayland(Display* display) {
  int opcode = 0;
  int event = 0;
  int error = 0;
  return XQueryExtension(display, "XWAYLAND", &opcode, &event, &error) != 0;
}
