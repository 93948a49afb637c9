#pragma once
// The on-screen window of a form.

#include <QPoint>
#include <QWidget>

#include "platform/native_window.h"
#include "platform/window_content.h"

class FormWindow final : public QWidget, public NativeWindow {
 public:
  explicit FormWindow(WindowContent& content);

  void SetTitle(std::string_view title) override;
  void Show() override;
  void ShowModal() override;
  void Place(const PixelRect& bounds) override;
  void Reshape() override;
  void Update(const PixelRect& form_pixels) override;
  void TakeKeyboardFocus() override;
  void Release() override;
  // Puts the window over the part of the form's bounds its outline covers.
  void Relocate();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void AddButtons();
  void Press(const CommandButton& button);
  bool Borderless() const;
  void ApplyMask();
  // Hands the server what the window shows, for it to paint when it maps the window.
  void ShowOnMap();

  WindowContent* form_;  // none once the form has gone
  PixelRect bounds_{};   // the form's, in layout pixels
  // Where the window's top-left pixel lies in the form's own pixels.
  QPoint origin_;
};
