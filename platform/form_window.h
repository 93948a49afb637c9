#pragma once
// The on-screen window of a form; included by platform sources only.

#include <QWidget>

#include "platform/form.h"

class FormWindow final : public QWidget {
 public:
  explicit FormWindow(Form& form);
  // The form is being destroyed: the window hides and deletes itself when the toolkit can.
  void Release();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void AddButtons();
  void Press(const CommandButton& button);

  Form* form_;
};
