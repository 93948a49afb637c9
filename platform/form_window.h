#pragma once
// The on-screen window of a form; included by platform sources only.

#include <QPoint>
#include <QWidget>

#include "platform/form.h"

class FormWindow final : public QWidget {
 public:
  explicit FormWindow(Form& form);
  // The form is being destroyed: the window hides and deletes itself when the toolkit can.
  void Release();

  // Puts the window where the form's pixel bounds say, on the primary monitor. A borderless
  // window is cut to the usable area of the desktop; what it shows keeps its place.
  void Place(const PixelRect& bounds);
  // Gives the window the form's outline as its shape, or none.
  void Reshape();
  // Asks for the keyboard focus where the game's keys need it (XWayland).
  void TakeKeyboardFocus();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void AddButtons();
  void Press(const CommandButton& button);

  Form* form_;
  // Where the window's top-left pixel lies in the form's own pixels.
  QPoint origin_;
};

// Whether the game's own windows must take the keyboard focus for its keys to arrive.
bool KeysNeedFocus();
