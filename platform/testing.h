#pragma once
// What tests need of the platform and the program never does: stand-ins for the clock, the
// sleeper, the screen, the executable's place and the disk, and ways to look at and work the
// windows without a player. They live in the noruka_testing library, which the game never
// links; no source of the program includes this header.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handle_table.h"

class Clock;
class InputWaiter;
class Form;
struct DisplayMetrics;
enum class SaveStep;
// The file-system steps of the history's database at which a test can make it fail.
enum class DatabaseStep { kOpen, kRead, kWrite, kSync, kTruncate, kDelete, kLock };

// Installs a clock (nullptr: the system clock) and returns the one it replaces.
Clock* SetClock(Clock* clock);
// Installs a waiter and returns the one it replaces; nullptr: the toolkit's event loop.
InputWaiter* SetInputWaiter(InputWaiter* waiter);
// Replaces the real screen's metrics (nullptr: back to the real screen), for a layout that
// must not depend on the machine it runs on.
void OverrideDisplayMetrics(const DisplayMetrics* metrics);
// Replaces the screen's metrics as OverrideDisplayMetrics does, and tells the game at once, as
// the toolkit tells it of a real change.
void ChangeScreen(const DisplayMetrics* metrics);
// Makes a save fail at a step: the fault returns the errno the step then fails with, or 0 to let
// it run. nullptr removes it.
void SetSaveFaultForTesting(int (*fault)(SaveStep step));
// Makes the database's file system fail at a step, as above: ENOSPC as a full disk, EACCES on
// kOpen as a folder that cannot be written, any error on kLock as another copy's lock.
void SetDatabaseFaultForTesting(int (*fault)(DatabaseStep step));
namespace App {
// Finds the executable through another link than the kernel's own.
bool FindExecutable(const char* link, std::string* why);
// Makes the program take another path for its executable (empty: the real one), so that what
// it keeps beside the executable can go elsewhere.
void OverridePath(const std::string& executable, bool installed = false);
}  // namespace App

// Live entries of the handle table: regions, brushes and drawing surfaces.
size_t LiveHandleCount();
HandleTally HandleTallies();
bool PtInRegion(int32_t region, int x, int y);

bool IsLoaded(std::string_view name);

// Pixels as the player sees them; alpha 0 where the window is not.
struct Snapshot {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;

  uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
  bool Shows(int x, int y) const { return (At(x, y) >> 24) != 0; }
  uint32_t ColorAt(int x, int y) const { return At(x, y) & 0xFFFFFF; }
};
// The form's persistent image with its drawing, labels and picture boxes on it, cut to its
// outline; with a device pixel ratio, as a screen of that scale shows it, in its own pixels.
Snapshot Compose(const Form& form, double device_pixel_ratio = 1);

// Runs task from the event loop once it is idle, also while a modal box is open.
void PostTask(std::function<void()> task);
// Presses OK on the open message box and returns its text; nothing when none is open.
std::optional<std::string> DismissMessageBox();
// Chooses the item of an open popup menu with this caption, as a click would: an item with a
// submenu opens it, any other item is chosen and the menu closes. False when none shows it.
bool ChoosePopupItem(std::string_view caption);
