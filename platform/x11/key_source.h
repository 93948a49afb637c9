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

  // The keys already held are marked down, without a press to report.
  void Update(KeyTable& keys) override;
  void UpdateNow(KeyTable& keys) override;
  // The connection's socket.
  int WaitDescriptor() const override;
  void Sync(KeyTable& keys) override;

 private:
  struct Connection;
  explicit X11KeySource(std::unique_ptr<Connection> connection);
  std::unique_ptr<Connection> connection_;
};
