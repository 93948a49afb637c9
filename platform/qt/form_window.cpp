#include "platform/qt/form_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <algorithm>

#include "platform/controls.h"
#include "platform/keyboard.h"
#include "platform/qt/canvas.h"
#include "platform/qt/desktop.h"
#include "platform/qt/region.h"
#include "platform/qt/x11_display.h"
#include "platform/system_metrics.h"
#include "platform/x11/desktop_watch.h"
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
  // Out of the window manager's hands, which would frame, tile, move, enlarge, list or hide
  // them: each stays where the game puts it, at its size, and the desktop watch keeps it above
  // the other programs' windows. Where the compositor gives keys only to the windows its
  // window manager handles, they are top-level windows of their own that it keeps on top.
  // They never take the other windows' keyboard, except where the game's keys arrive only
  // through its own focused window.
  Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
  if (KeptFromWindowManager()) flags |= Qt::X11BypassWindowManagerHint;
  if (!KeysNeedFocus()) flags |= Qt::WindowDoesNotAcceptFocus;
  return flags;
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

FormWindow::FormWindow(WindowContent& content)
    : QWidget(nullptr, FlagsFor(content.Style())), form_(&content) {
  // A Wayland compositor may show an X window's whole rectangle, outline or not: there the
  // pixels outside the outline are transparent ones. The window is made with that in mind.
  if (Borderless() && KeysNeedFocus()) {
    setAttribute(Qt::WA_TranslucentBackground);
  } else {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  if (Borderless()) {
    setAttribute(Qt::WA_ShowWithoutActivating, !KeysNeedFocus());
    _XDisplay* display = X11Display();
    if (display && !KeptFromWindowManager()) SkipTaskbarAndPager(display, winId());
  }
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
  if (form_) form_->Press(button);
}

void FormWindow::SetTitle(std::string_view title) {
  setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
}

bool FormWindow::Borderless() const {
  return form_ && form_->Style() == FormStyle::Borderless;
}

void FormWindow::Show() {
  if (Borderless()) {
    DesktopWatch* desktop = Desktop();
    if (desktop && KeptFromWindowManager()) desktop->KeepAbove(winId());
    ShowOnMap();
  }
  show();
}

void FormWindow::ShowOnMap() {
  xcb_connection_t* connection = X11Connection();
  if (!connection || !form_) return;
  // What the window shows, ready in the server before it maps the window: the game may block
  // right after showing it, before any paint event has come.
  const qreal scale = devicePixelRatioF();
  const bool translucent = testAttribute(Qt::WA_TranslucentBackground);
  QImage image(size() * scale,
               translucent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  image.fill(translucent ? Qt::transparent : Qt::black);
  QPainter painter(&image);
  painter.translate(-origin_);
  PainterCanvas canvas(painter);
  form_->Compose(canvas, FromQRect(rect().translated(origin_)));
  painter.end();
  SetBackgroundPixels(connection, winId(), reinterpret_cast<const uint32_t*>(image.constBits()),
                      image.width(), image.height());
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
  bounds_ = bounds;
  Relocate();
}

void FormWindow::Relocate() {
  if (!form_) return;
  const bool borderless = Borderless();
  const PixelRect layout{bounds_.x, bounds_.y, std::max(bounds_.width, 1),
                         std::max(bounds_.height, 1)};
  // A shaped window is only as large as its outline: the rest of its rectangle is no pixel of
  // the game's, yet some desktops would give it clicks, shadows or a tile.
  PixelRect part = layout;
  const Region* outline = form_->Outline();
  if (borderless && outline && !outline->Empty()) {
    const PixelRect box = outline->Bounds();
    part = {layout.x + box.x, layout.y + box.y, box.width, box.height};
  }
  const PixelRect whole = DesktopRect(layout, false);
  const PixelRect shown = DesktopRect(part, borderless);
  const QPoint origin(shown.x - whole.x, shown.y - whole.y);
  const QRect area = ToQRect(shown);
  setGeometry(area);
  if (!borderless) setFixedSize(area.size());
  if (origin != origin_) {
    origin_ = origin;
    ApplyMask();
    update();
  }
}

void FormWindow::Reshape() {
  if (!form_) return;
  Relocate();
  ApplyMask();
  if (isVisible() && Borderless()) ShowOnMap();
}

void FormWindow::ApplyMask() {
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
  if (form_ && form_->HandlesKeys()) return false;
  return QWidget::focusNextPrevChild(next);
}

void FormWindow::Release() {
  if (DesktopWatch* desktop = Desktop(); desktop && Borderless()) desktop->Forget(winId());
  form_ = nullptr;
  hide();
  deleteLater();
}

void FormWindow::paintEvent(QPaintEvent* event) {
  if (!form_) return;
  QPainter painter(this);
  painter.translate(-origin_);
  PainterCanvas canvas(painter);
  form_->Compose(canvas, FromQRect(event->rect().translated(origin_)));
  form_->Painted();
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

NativeWindow* CreateNativeWindow(WindowContent& content) {
  return new FormWindow(content);
}
