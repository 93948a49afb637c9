#include "game/command_line.h"
#include "game/mod_Main.h"
#include "platform/application.h"
#include "platform/picture.h"
#include "resources/resources.h"
#include "scores/settings.h"

namespace {
void Start() {
  NoteSettingsFolder();
  SetApplicationIcon(Picture::FromBitmapFile(AppIconBitmap()));
  mod_Main::Main();
}
}  // namespace

int main(int argc, char** argv) {
  // Options are answered without a display; the game itself takes none.
  if (std::optional<int> status = RunCommandLine(argc, argv)) return *status;
  return RunApplication(argc, argv, Start);
}
