#include "platform/display_loss.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <iostream>

namespace {

std::string signature;

int OnIoError(Display*) {
  DisplayLost();
}

}  // namespace

void EndProgramOnLostDisplay(std::string program_name) {
  signature = std::move(program_name);
  XSetIOErrorHandler(OnIoError);
}

void DisplayLost() {
  std::cerr << signature << ": the connection to the X display was lost" << std::endl;
  std::_Exit(1);
}
