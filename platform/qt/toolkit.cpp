#include "platform/toolkit.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>

#include "platform/qt/picture.h"

void SetApplicationIcon(const Picture& icon) {
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ToQImage(icon))));
}

void MsgBox(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(App::EXEName()),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                  QMessageBox::Ok);
  box.exec();
}
