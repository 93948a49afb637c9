#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/clock.h"
#include "platform/failures.h"
#include "platform/form.h"
#include "platform/system_metrics.h"
#include "platform/toolkit.h"
#include "platform/twips.h"
#include "rgn/mod_RGN_Proc.h"

void WaitMilliseconds(int32_t ms) {
  DoEvents();
  Sleep(static_cast<uint32_t>(std::max(ms, 0)));
}

void UnloadAllFormsExcept(std::string_view name) {
  // A close handler may unload other forms, or load one: walk until nothing is left to close.
  for (bool closed = true; closed;) {
    closed = false;
    for (const std::string& loaded : LoadedFormNames()) {
      if (loaded == name) continue;
      Form* form = FindLoadedForm(loaded);
      if (form && Unload(*form)) closed = true;
    }
  }
}

int32_t WorkAreaHeight() {
  // Both are ints: their sum is exact in 64 bits, and must still fit the 32 of the design.
  const int64_t pixels =
      int64_t{GetSystemMetrics(SM_CYFULLSCREEN)} + GetSystemMetrics(SM_CYCAPTION);
  if (pixels > INT32_MAX || pixels < INT32_MIN) FatalError("Overflow in the work-area height");
  double twips =
      std::nearbyint(static_cast<double>(pixels) * static_cast<double>(Screen::TwipsPerPixelY()));
  if (twips > INT32_MAX || twips < INT32_MIN) FatalError("Overflow in the work-area height");
  return static_cast<int32_t>(twips);
}

int32_t TickCount() {
  return static_cast<int32_t>(GetTickCount());
}
