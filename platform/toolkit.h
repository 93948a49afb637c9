#pragma once
// Program-wide services of the windowing toolkit.

#include <cstdint>
#include <string>
#include <string_view>

// Owns the toolkit for the life of the program: one per process, before any form.
class Application {
 public:
  Application(int& argc, char** argv);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
};

// Starts the toolkit and the global keyboard, then runs entry, which never returns. Ends the
// program with a fatal error when the display cannot be used.
int RunApplication(int argc, char** argv, void (*entry)());

class Picture;

// The icon of every window.
void SetApplicationIcon(const Picture& icon);

// Handles the queued window events, then returns. The keyboard's next pass begins.
void DoEvents();
// The pump of a wait loop: handles the queued window events and then, unless a change of a key
// waits to be seen, sleeps until a window or key event arrives or the tick count reaches the
// deadline; without a deadline, until a window or key event arrives. A loop that polls and
// calls this after every poll sees each change of a key in order, one per pass.
void DoEventsAndWait(uint32_t deadline_tick);
void DoEventsAndWait();
// Handles window events as they come until the tick count reaches the deadline, for a wait that
// polls no key: the keys that come meanwhile wait for the next poll.
void DoEventsUntil(uint32_t deadline_tick);

// Ends the program at once, with status 0.
[[noreturn]] void End();

// A message box with an OK button only; returns when it is dismissed.
void MsgBox(std::string_view text);

namespace App {
// Reads where the running executable lies. The program does this once at start, so that
// replacing or deleting the binary later changes nothing; ends the program when it cannot.
void FindExecutable();
// The directory that holds the running executable, without a trailing separator.
std::string Path();
// The executable's file name without its extension.
std::string EXEName();
// Whether the executable runs from where the game is installed, rather than from its build or
// unpacked folder.
bool Installed();
// The name messages on standard error begin with; a fixed one while the executable is unknown.
std::string ProgramName();
}  // namespace App

namespace Screen {
float Width();  // twips
float Height();
float TwipsPerPixelX();
float TwipsPerPixelY();
}  // namespace Screen
