#include "platform/qt/desktop.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

#include "platform/qt/form_window.h"
#include "platform/system_metrics.h"
#include "platform/x11/desktop_watch.h"

namespace {

void (*screen_change_handler)() = nullptr;
bool change_pending = false;

// Many signals may come for one change (a new size, then a new work area): the handler runs
// once, from the next pass of the event loop, when the toolkit has taken in all of them.
void ScreenChanged() {
  if (change_pending) return;
  change_pending = true;
  QTimer::singleShot(0, [] {
    change_pending = false;
    // The game's places are the primary monitor's: where that monitor lies may have changed
    // though no place did.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* window = dynamic_cast<FormWindow*>(widget)) window->Relocate();
    }
    if (screen_change_handler) screen_change_handler();
  });
}

void WatchScreen(QScreen* screen) {
  QObject::connect(screen, &QScreen::geometryChanged, ScreenChanged);
  QObject::connect(screen, &QScreen::availableGeometryChanged, ScreenChanged);
}

struct Watch {
  std::unique_ptr<DesktopWatch> desktop;
  std::unique_ptr<QSocketNotifier> events;
};

Watch& TheWatch() {
  static Watch watch = [] {
    Watch started;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11) return started;
    started.desktop = DesktopWatch::Open(x11->connection());
    if (!started.desktop) return started;
    started.events =
        std::make_unique<QSocketNotifier>(started.desktop->Descriptor(), QSocketNotifier::Read);
    DesktopWatch* desktop = started.desktop.get();
    QObject::connect(started.events.get(), &QSocketNotifier::activated, [desktop] {
      if (desktop->TakeEvents()) ScreenChanged();
    });
    return started;
  }();
  return watch;
}

}  // namespace

DesktopWatch* Desktop() {
  return TheWatch().desktop.get();
}

void OnScreenChange(void (*handler)()) {
  screen_change_handler = handler;
  Desktop();
  for (QScreen* screen : QGuiApplication::screens())
    WatchScreen(screen);
  QObject::connect(qGuiApp, &QGuiApplication::screenAdded, WatchScreen);
  QObject::connect(qGuiApp, &QGuiApplication::screenAdded, ScreenChanged);
  QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, ScreenChanged);
  QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, ScreenChanged);
}
