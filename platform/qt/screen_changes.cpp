// The game's call back when the screen changes: the toolkit's screen signals and the desktop
// watch's dock changes, taken together.

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <utility>

#include "platform/qt/desktop.h"
#include "platform/qt/form_window.h"
#include "platform/qt/screen_changes.h"
#include "platform/system_metrics.h"

namespace {

std::function<void()> screen_change_handler;
bool change_pending = false;

}  // namespace

void FollowScreenChange() {
  // The game's places are the primary monitor's: where that monitor lies may have changed
  // though no place did.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = dynamic_cast<FormWindow*>(widget)) window->Relocate();
  }
  if (screen_change_handler) screen_change_handler();
}

namespace {

// Many signals may come for one change (a new size, then a new work area): the handler runs
// once, from the next pass of the event loop, when the toolkit has taken in all of them.
void ScreenChanged() {
  if (change_pending) return;
  change_pending = true;
  QTimer::singleShot(0, [] {
    change_pending = false;
    FollowScreenChange();
  });
}

void WatchScreen(QScreen* screen) {
  QObject::connect(screen, &QScreen::geometryChanged, ScreenChanged);
  QObject::connect(screen, &QScreen::availableGeometryChanged, ScreenChanged);
}

}  // namespace

void OnScreenChange(std::function<void()> handler) {
  screen_change_handler = std::move(handler);
  static bool watching = false;
  if (std::exchange(watching, true)) return;
  OnDocksChange(ScreenChanged);
  for (QScreen* screen : QGuiApplication::screens())
    WatchScreen(screen);
  QObject::connect(qGuiApp, &QGuiApplication::screenAdded, WatchScreen);
  QObject::connect(qGuiApp, &QGuiApplication::screenAdded, ScreenChanged);
  QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, ScreenChanged);
  QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, ScreenChanged);
}
