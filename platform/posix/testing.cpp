#include "platform/testing.h"

#include "platform/posix/executable_place.h"
#include "platform/posix/save_fault.h"

void SetSaveFaultForTesting(int (*fault)(SaveStep step)) {
  SaveFaultHook() = fault;
}

bool App::FindExecutable(const char* link, std::string* why) {
  return FindExecutableThrough(link, why);
}

void App::OverridePath(const std::string& executable, bool installed) {
  if (executable.empty()) {
    ExecutableOverride().reset();
  } else {
    ExecutableOverride() = Executable{executable, installed};
  }
}
