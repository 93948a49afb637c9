#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/application.h"
#include "platform/design_fonts.h"
#include "platform/executable.h"
#include "platform/failures.h"
#include "platform/keyboard.h"
#include "platform/qt/picture.h"
#include "platform/x11/display_loss.h"
#include "platform/x11/key_source.h"

namespace {

std::unique_ptr<QApplication> application;
int application_argc = 0;
QtMessageHandler default_handler = nullptr;

// The headless platform says the first at every show of a window; nothing is wrong then. The
// X platform says the second when its connection has broken, from its event loop or its Xlib
// handler, and would call exit() next.
void FilterToolkitMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text == QLatin1String("This plugin does not support raise()")) return;
  if (text.startsWith(QLatin1String("The X11 connection broke"))) DisplayLost();
  if (default_handler) default_handler(type, context, text);
}

}  // namespace

Application::Application(int& argc, char** argv) {
  if (application) FatalError("the toolkit is already running");
  default_handler = qInstallMessageHandler(FilterToolkitMessages);
  application = std::make_unique<QApplication>(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  for (const auto& font : kFontStandIns) {
    QFont::insertSubstitution(QString::fromUtf8(font.design_name), font.installed_name);
  }
}

Application::~Application() {
  application.reset();
  qInstallMessageHandler(default_handler);
}

void SetApplicationIcon(const Picture& icon) {
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ToQImage(icon))));
}

void End() {
  std::fflush(nullptr);
  std::_Exit(0);
}

int RunApplication(int argc, char** argv, void (*entry)()) {
  if (std::string why; !App::FindExecutable(&why)) FatalError(why);
  // The keyboard is read from the X server, so the windows go there too.
  qputenv("QT_QPA_PLATFORM", "xcb");
  // Through shared memory, the toolkit asks the X server for a round trip before it repaints
  // what it showed last, as the time label does every tenth: on a busy machine each one waits
  // for the server to be scheduled. The game's windows send few pixels, so plain images cost
  // less. A player's own setting wins.
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
  std::string why;
  std::unique_ptr<X11KeySource> keys = X11KeySource::Open(nullptr, &why);
  if (!keys) {
    if (!std::getenv("DISPLAY") && std::getenv("WAYLAND_DISPLAY")) {
      // A Wayland desktop runs X programs through XWayland; without it there is no X display.
      why +=
          "; this Wayland session offers no XWayland, which the game needs: turn XWayland on "
          "in the desktop's settings";
    } else {
      why += "; start it inside an X session, or under a virtual one: xvfb-run ";
      why += argv[0];
    }
    FatalError(why);
  }
  application_argc = argc;
  Application toolkit(application_argc, argv);
  EndProgramOnLostDisplay();
  SetKeySource(keys.get());
  entry();
  SetKeySource(nullptr);
  return 0;
}
