#include "platform/testing.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "platform/form.h"
#include "platform/qt/canvas.h"
#include "platform/qt/screen_changes.h"

void PostTask(std::function<void()> task) {
  QTimer::singleShot(0, std::move(task));
}

std::optional<std::string> DismissMessageBox() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (!box) return std::nullopt;
  std::string text = box->text().toStdString();
  box->button(QMessageBox::Ok)->click();
  return text;
}

Snapshot Compose(const Form& form, double device_pixel_ratio) {
  PixelRect bounds = form.PixelBounds();
  const PixelRect area{0, 0, std::max(bounds.width, 0), std::max(bounds.height, 0)};
  QImage image(QSize(area.width, area.height) * device_pixel_ratio, QImage::Format_ARGB32);
  image.setDevicePixelRatio(device_pixel_ratio);
  image.fill(Qt::transparent);
  if (!image.isNull()) {
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    form.Compose(canvas, area);
  }
  Snapshot snapshot;
  snapshot.width = image.width();
  snapshot.height = image.height();
  snapshot.argb.resize(static_cast<size_t>(snapshot.width) * snapshot.height);
  for (int y = 0; y < snapshot.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    std::copy(row, row + snapshot.width,
              snapshot.argb.begin() + static_cast<long>(y) * snapshot.width);
  }
  return snapshot;
}

bool ChoosePopupItem(std::string_view caption) {
  const QString wanted = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* menu = qobject_cast<QMenu*>(widget);
    if (!menu || !menu->isVisible()) continue;
    for (QAction* action : menu->actions()) {
      if (action->text() != wanted) continue;
      if (action->menu()) {
        action->menu()->popup(menu->geometry().topRight());
      } else {
        action->trigger();
        // Closing the outermost menu ends the popup.
        for (QWidget* other : QApplication::topLevelWidgets()) {
          if (auto* open = qobject_cast<QMenu*>(other); open && open->isVisible()) open->close();
        }
      }
      return true;
    }
  }
  return false;
}

void ChangeScreen(const DisplayMetrics* metrics) {
  OverrideDisplayMetrics(metrics);
  FollowScreenChange();
}
