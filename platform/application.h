#pragma once
// The program on the windowing toolkit: its start, its icon, its end.

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

// Ends the program at once, with status 0.
[[noreturn]] void End();
