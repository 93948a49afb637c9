#include "platform/qt/form_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <algorithm>

#include "platform/keyboard.h"
#include "platform/qt/compose.h"
#include "platform/qt/region.h"
#include "platform/qt/x11_display.h"
#include "platform/system_metrics.h"
#include "platform/x11/window_hints.h"

namespace {

Qt::WindowFlags FlagsFor(FormStyle style) {
  switch (style) {
    case FormStyle::FixedDialog:
      // A dialog without a taskbar entry, kept with the game's windows above the others.
      return Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
             Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
    case FormStyle::Borderless:
      break;
  }
  // Above the player's other windows, without a frame, and never taking their keyboard. Where
  // the game needs the focus for its keys, its windows are top-level windows of their own, not
  // tool windows of the program, so that the compositor hands them the keyboard.
  const Qt::WindowFlags flags = Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
  if (KeysNeedFocus()) return flags | Qt::Window;
  return flags | Qt::Tool | Qt::WindowDoesNotAcceptFocus;
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

// The keys a form's own handler may take, with their virtual keys.
struct KeyName {
  int qt_key;
  int vk;
};
constexpr KeyName kFormKeys[] = {
    {Qt::Key_Tab, VK_TAB},      {Qt::Key_Backtab, VK_TAB},   {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},    {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},  {Qt::Key_Down, VK_DOWN},
};

// 0 for a key no form handler takes.
int VirtualKeyOf(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return VK_0 + (key - Qt::Key_0);
  for (const KeyName& name : kFormKeys) {
    if (name.qt_key == key) return name.vk;
  }
  return 0;
}

}  // namespace

FormWindow::FormWindow(Form& form) : QWidget(nullptr, FlagsFor(form.Design().style)), form_(&form) {
  if (form.Design().style == FormStyle::Borderless) {
    setAttribute(Qt::WA_ShowWithoutActivating, !KeysNeedFocus());
    if (_XDisplay* display = X11Display()) SkipTaskbarAndPager(display, winId());
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

void FormWindow::SetTitle(std::string_view title) {
  setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
}

void FormWindow::Show() {
  show();
}

void FormWindow::ShowModal() {
  // The form may be unloaded meanwhile, and this window deleted with it: only the guarded
  // pointer is looked at once events have run.
  QPointer<FormWindow> window = this;
  setWindowModality(Qt::ApplicationModal);
  show();
  while (window && window->isVisible()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

void FormWindow::Update(const PixelRect& form_pixels) {
  update(ToQRect(form_pixels).translated(-origin_));
}

void FormWindow::Place(const PixelRect& bounds) {
  const bool borderless = form_->Design().style == FormStyle::Borderless;
  PixelRect layout{bounds.x, bounds.y, std::max(bounds.width, 1), std::max(bounds.height, 1)};
  const PixelRect whole = DesktopRect(layout, false);
  const PixelRect shown = DesktopRect(layout, borderless);
  const QPoint origin(shown.x - whole.x, shown.y - whole.y);
  const QRect area = ToQRect(shown);
  setGeometry(area);
  if (!borderless) setFixedSize(area.size());
  if (origin != origin_) {
    origin_ = origin;
    Reshape();
    update();
  }
}

void FormWindow::Reshape() {
  if (!form_) return;
  if (const Region* outline = form_->Outline()) {
    setMask(ToQRegion(*outline).translated(-origin_));
  } else {
    clearMask();
  }
}

void FormWindow::TakeKeyboardFocus() {
  if (!KeysNeedFocus()) return;
  raise();
  activateWindow();
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  if (int key = VirtualKeyOf(event->key()); form_ && key != 0) {
    // Shift+Tab comes as a key of its own, with Shift held.
    if (form_->KeyPressed(key, ShiftOf(event->modifiers()))) return;
  }
  if (form_ && event->key() == Qt::Key_Escape) {
    for (const auto& button : form_->Buttons()) {
      if (button->Cancel) return Press(*button);
    }
  }
  QWidget::keyPressEvent(event);
}

bool FormWindow::focusNextPrevChild(bool next) {
  // A form that handles its keys itself gets Tab as a key.
  if (form_ && form_->Design().key_down) return false;
  return QWidget::focusNextPrevChild(next);
}

void FormWindow::Release() {
  form_ = nullptr;
  hide();
  deleteLater();
}

void FormWindow::paintEvent(QPaintEvent* event) {
  if (!form_) return;
  QPainter painter(this);
  painter.translate(-origin_);
  ComposeForm(*form_, painter, event->rect().translated(origin_));
  form_->CountRepaint();
}

void FormWindow::mousePressEvent(QMouseEvent* event) {
  if (!form_) return;
  QPoint at = event->position().toPoint() + origin_;
  form_->MousePressed(ButtonOf(event->button()), ShiftOf(event->modifiers()), at.x(), at.y());
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // Closing the window unloads its form, which destroys the window in turn.
  event->ignore();
  if (form_) form_->WindowClosed();
}

NativeWindow* CreateNativeWindow(Form& form) {
  return new FormWindow(form);
}
