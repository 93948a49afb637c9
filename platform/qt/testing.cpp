#include "platform/testing.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

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
