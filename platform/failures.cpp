#include "platform/failures.h"

#include <cstdlib>
#include <iostream>

#include "platform/executable.h"
#include "platform/message_box.h"

namespace {
// Without its display the toolkit can show nothing, and trying would end the program in a way
// of the toolkit's own.
bool display_lost = false;
}  // namespace

void FatalError(std::string_view what) {
  // A player who started the game from a menu never sees standard error.
  if (!display_lost && CanShowMessageBox()) MsgBox(what);
  ReportProblem(what);
  std::_Exit(1);
}

void DisplayLost() {
  display_lost = true;
  FatalError("the connection to the X display was lost");
}

void ReportProblem(std::string_view what) {
  std::cerr << App::ProgramName() << ": " << what << std::endl;
}
