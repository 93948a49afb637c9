#pragma once
// What a window on the screen knows of its form: all the backend's window sees, so that it never
// calls into the code that made it.

#include <memory>
#include <vector>

#include "platform/pixel_rect.h"

class Canvas;
class CommandButton;
class Region;

enum class FormStyle {
  Borderless,   // no frame, no title bar, no taskbar entry
  FixedDialog,  // title bar and a fixed frame, no taskbar entry
};

enum class MouseButton { Left = 1, Right = 2, Middle = 4 };

class WindowContent {
 public:
  virtual FormStyle Style() const = 0;
  // In the form's own pixels; nullptr while it is rectangular.
  virtual const Region* Outline() const = 0;
  // Buttons, in tab order; the first has the keyboard focus when the form opens.
  virtual const std::vector<std::unique_ptr<CommandButton>>& Buttons() const = 0;
  // Paints what the player sees of the form inside area, its own pixels: its persistent image
  // with its controls on it, cut to its outline.
  virtual void Compose(Canvas& canvas, const PixelRect& area) const = 0;
  virtual void Painted() = 0;
  // Whether the form takes its keys itself, Tab among them.
  virtual bool HandlesKeys() const = 0;

  // What the player did.
  virtual void Press(const CommandButton& button) = 0;
  virtual void MousePressed(MouseButton button, int shift, int x_px, int y_px) = 0;
  // A key pressed while the form has the keyboard focus; true when its handler took it.
  virtual bool KeyPressed(int key, int shift) = 0;
  virtual void WindowClosed() = 0;

 protected:
  ~WindowContent() = default;
};
