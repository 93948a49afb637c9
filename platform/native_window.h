#pragma once
// The window on the screen behind a form, as the windowing backend makes it.

#include <string_view>

#include "platform/pixel_rect.h"

class WindowContent;

class NativeWindow {
 public:
  virtual void SetTitle(std::string_view title) = 0;
  virtual void Show() = 0;
  // Shows the window as the only one that takes input and returns once it is hidden or its
  // form unloaded.
  virtual void ShowModal() = 0;
  // Puts the window where the form's pixel bounds say, on the primary monitor. A borderless
  // window is cut to the usable area of the desktop; what it shows keeps its place.
  virtual void Place(const PixelRect& bounds) = 0;
  // Gives the window the form's outline as its shape, or none.
  virtual void Reshape() = 0;
  // Paints these pixels of the form again, soon.
  virtual void Update(const PixelRect& form_pixels) = 0;
  // Asks for the keyboard focus where the game's keys need it (XWayland).
  virtual void TakeKeyboardFocus() = 0;
  // The form is going away: the window hides, and is destroyed when the backend can.
  virtual void Release() = 0;

 protected:
  ~NativeWindow() = default;
};

// A new window showing content, not shown yet.
NativeWindow* CreateNativeWindow(WindowContent& content);
