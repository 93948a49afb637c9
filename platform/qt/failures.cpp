#include "platform/failures.h"

#include <QApplication>
#include <cstdlib>

#include "platform/toolkit.h"

namespace {
bool display_lost = false;
}  // namespace

void FatalError(std::string_view what) {
  // A player who started the game from a menu never sees standard error.
  if (qApp && !display_lost) MsgBox(what);
  ReportProblem(what);
  std::_Exit(1);
}

void DisplayLost() {
  display_lost = true;
  FatalError("the connection to the X display was lost");
}
