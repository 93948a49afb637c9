#pragma once
// A fault a test makes a save meet at one of its steps: it returns the errno the step then
// fails with, or 0 to let it run. None in the game.

#include "platform/settings_io.h"

using SaveFault = int (*)(SaveStep step);
SaveFault& SaveFaultHook();
