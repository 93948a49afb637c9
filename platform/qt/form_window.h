#pragma once
// The on-screen window of a form.

#include <QPoint>
#include <QWidget>

#include "platform/form.h"
#include "platform/native_window.h"

class FormWindow final : public QWidget, public NativeWindow {
 public:
  explicit FormWindow(Form& form);

  void SetTitle(std::string_view title) override;
  void Show() override;
  void ShowModal() override;
  void Place(const PixelRect& bounds) override;
  void Reshape() override;
  void Update(const PixelRect& form_pixels) override;
  void TakeKeyboardFocus() override;
  void Release() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void AddButtons();
  void Press(const CommandButton& button);

  Form* form_;
  // Where the window's top-left pixel lies in the form's own pixels.
  QPoint origin_;
};
