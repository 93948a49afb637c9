#pragma once
// The services behind the clock, the pump's sleep and the screen's metrics, as the program uses
// them. Tests put stand-ins of their own in their place, so that whole time attacks run in
// milliseconds on a screen of their choosing.

#include "platform/replaceable.h"

class Clock;
class InputWaiter;
struct DisplayMetrics;

Replaceable<Clock>& ClockService();
Replaceable<InputWaiter>& InputWaiterService();
// The screen's metrics in place of the real ones, or nothing.
const DisplayMetrics*& DisplayMetricsOverride();
