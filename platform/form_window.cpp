#include "platform/form_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPaintEvent>

#include "platform/qt_internal.h"

namespace {

Qt::WindowFlags FlagsFor(FormStyle style) {
  switch (style) {
    case FormStyle::FixedDialog:
      return Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
             Qt::WindowCloseButtonHint;
    case FormStyle::Borderless:
      break;
  }
  // A tool window has no taskbar entry.
  return Qt::Tool | Qt::FramelessWindowHint;
}

MouseButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::MiddleButton:
      return MouseButton::Middle;
    default:
      return MouseButton::Left;
  }
}

int ShiftOf(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
         (modifiers & Qt::AltModifier ? 4 : 0);
}

}  // namespace

FormWindow::FormWindow(Form& form) : QWidget(nullptr, FlagsFor(form.Design().style)), form_(&form) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void FormWindow::Release() {
  form_ = nullptr;
  hide();
  deleteLater();
}

void FormWindow::paintEvent(QPaintEvent* event) {
  if (!form_) return;
  QPainter painter(this);
  ComposeForm(*form_, painter, event->rect());
  form_->CountRepaint();
}

void FormWindow::mousePressEvent(QMouseEvent* event) {
  if (!form_) return;
  QPoint at = event->position().toPoint();
  form_->MousePressed(ButtonOf(event->button()), ShiftOf(event->modifiers()), at.x(), at.y());
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // Closing the window unloads its form, which destroys the window in turn.
  event->ignore();
  if (form_) form_->WindowClosed();
}
