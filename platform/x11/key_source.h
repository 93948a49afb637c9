#pragma once
// Presses and releases of the whole X display, read from XInput2 raw key events.

#include <memory>
#include <string>

#include "platform/keyboard.h"

class X11KeySource final : public KeySource {
 public:
  // Connects to the display (nullptr: $DISPLAY). Nothing, with why saying what is missing, when
  // the display or its XInput2 extension cannot be used.
  static std::unique_ptr<X11KeySource> Open(const char* display_name, std::string* why);
  ~X11KeySource() override;
  X11KeySource(const X11KeySource&) = delete;
  X11KeySource& operator=(const X11KeySource&) = delete;

  // The first events are the keys already held, down without a press to report.
  std::optional<KeyEvent> Next(bool read_device) override;
  void Sync() override;
  // The connection's socket.
  int WaitDescriptor() const override;

 private:
  struct Connection;
  explicit X11KeySource(std::unique_ptr<Connection> connection);
  std::unique_ptr<Connection> connection_;
};
