#include "platform/local_time.h"

std::tm LocalTimeNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  // The reentrant form: std::localtime shares one buffer with every other caller.
  localtime_r(&now, &local);
  return local;
}
