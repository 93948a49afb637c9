#include "platform/x11/display_loss.h"

#include <X11/Xlib.h>

#include "platform/failures.h"

namespace {

int OnIoError(Display*) {
  DisplayLost();
}

}  // namespace

void EndProgramOnLostDisplay() {
  XSetIOErrorHandler(OnIoError);
}
