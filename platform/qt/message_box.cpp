#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/executable.h"

void MsgBox(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(App::EXEName()),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                  QMessageBox::Ok);
  box.exec();
}

bool CanShowMessageBox() {
  return qApp != nullptr;
}
