#include "platform/toolkit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/qt_internal.h"
#include "platform/system_metrics.h"

void SetApplicationIcon(const Picture& icon) {
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon.Pixels().pixels)));
}

void End() {
  std::fflush(nullptr);
  std::_Exit(0);
}

void FatalError(std::string_view what) {
  std::cerr << App::ProgramName() << ": " << what << std::endl;
  std::_Exit(1);
}

void MsgBox(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(App::EXEName()),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                  QMessageBox::Ok);
  box.exec();
}

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

float Screen::Width() {
  DisplayMetrics metrics = CurrentDisplayMetrics();
  return static_cast<float>(metrics.width_px * metrics.twips_per_pixel_x);
}

float Screen::Height() {
  DisplayMetrics metrics = CurrentDisplayMetrics();
  return static_cast<float>(metrics.height_px * metrics.twips_per_pixel_y);
}

float Screen::TwipsPerPixelX() {
  return CurrentTwipsPerPixel().x;
}

float Screen::TwipsPerPixelY() {
  return CurrentTwipsPerPixel().y;
}
