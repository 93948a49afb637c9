#include "platform/form_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>

#include "platform/qt_internal.h"

namespace {

Qt::WindowFlags FlagsFor(FormStyle style) {
  switch (style) {
    case FormStyle::FixedDialog:
      // A tool window with a title bar: a dialog without a taskbar entry.
      return Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
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
  if (form.Design().style == FormStyle::Borderless) {
    // The game's windows never take the keyboard from the player's other windows.
    setAttribute(Qt::WA_ShowWithoutActivating);
  }
  setAttribute(Qt::WA_OpaquePaintEvent);
  AddButtons();
}

void FormWindow::AddButtons() {
  for (const auto& button : form_->Buttons()) {
    auto* push = new QPushButton(QString::fromStdString(button->Caption()), this);
    PixelRect at = button->PixelBounds();
    push->setGeometry(at.x, at.y, at.width, at.height);
    push->setDefault(button->Default);
    const CommandButton* pressed = button.get();
    QObject::connect(push, &QPushButton::clicked, this, [this, pressed] { Press(*pressed); });
    if (button == form_->Buttons().front()) push->setFocus();
  }
}

void FormWindow::Press(const CommandButton& button) {
  if (form_ && button.Click()) button.Click()(*form_);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  if (form_ && event->key() == Qt::Key_Escape) {
    for (const auto& button : form_->Buttons()) {
      if (button->Cancel) return Press(*button);
    }
  }
  QWidget::keyPressEvent(event);
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
