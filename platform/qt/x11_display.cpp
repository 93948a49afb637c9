#include "platform/qt/x11_display.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

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
