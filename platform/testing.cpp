#include "platform/testing.h"

#include "platform/clock.h"
#include "platform/form.h"
#include "platform/input_wait.h"
#include "platform/services.h"
#include "platform/system_metrics.h"

Clock* SetClock(Clock* clock) {
  return ClockService().Replace(clock);
}

InputWaiter* SetInputWaiter(InputWaiter* waiter) {
  return InputWaiterService().Replace(waiter);
}

void OverrideDisplayMetrics(const DisplayMetrics* metrics) {
  static DisplayMetrics held;
  if (metrics) held = *metrics;
  DisplayMetricsOverride() = metrics ? &held : nullptr;
}

size_t LiveHandleCount() {
  return Handles().LiveCount();
}

HandleTally HandleTallies() {
  return Handles().Tally();
}

bool PtInRegion(int32_t region, int x, int y) {
  const Region* found = Handles().LookupAs<Region>(region);
  return found && found->Contains(x, y);
}

bool IsLoaded(std::string_view name) {
  return FindLoadedForm(name) != nullptr;
}
