#include "platform/qt/x11_display.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <string>

#include "platform/x11/desktop_watch.h"
#include "platform/x11/window_hints.h"

_XDisplay* X11Display() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->display() : nullptr;
}

xcb_connection_t* X11Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

bool KeysNeedFocus() {
  static const bool need = [] {
    _XDisplay* display = X11Display();
    if (!display) return false;
    if (IsXWayland(display)) return true;
    // Before it had an extension of that name, XWayland told itself only by its outputs' names.
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [](const QScreen* screen) {
      return screen->name().startsWith(QLatin1String("XWAYLAND"));
    });
  }();
  return need;
}

bool KeptFromWindowManager() {
  static const bool kept = [] {
    xcb_connection_t* connection = X11Connection();
    if (!connection) return false;
    if (!KeysNeedFocus()) return true;
    // Of the Wayland compositors, those built on wlroots give such windows the keyboard; the
    // others only the windows they manage. The X window manager inside the compositor may
    // start just after the game.
    for (int tries = 0; tries < 20; ++tries) {
      const std::string name = WindowManagerName(connection);
      if (!name.empty()) return name == "wlroots wm";
      QThread::msleep(50);
    }
    return false;
  }();
  return kept;
}
