#include "platform/local_time.h"

std::tm LocalTimeNow() {
  return LocalTimeAt(std::time(nullptr));
}

std::tm LocalTimeAt(std::time_t moment) {
  std::tm local{};
  // The reentrant form: std::localtime shares one buffer with every other caller.
  localtime_r(&moment, &local);
  return local;
}

long UtcOffsetSeconds(const std::tm& local) {
  return local.tm_gmtoff;
}
