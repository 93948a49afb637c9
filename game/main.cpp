#include "game/mod_Main.h"
#include "platform/toolkit.h"

int main(int argc, char** argv) { return RunApplication(argc, argv, mod_Main::Main); }
