#include "game/mod_Main.h"
#include "platform/picture.h"
#include "platform/toolkit.h"
#include "resources/resources.h"

namespace {
void Start() {
  SetApplicationIcon(Picture::FromBitmapFile(AppIconBitmap()));
  mod_Main::Main();
}
}  // namespace

int main(int argc, char** argv) {
  return RunApplication(argc, argv, Start);
}
