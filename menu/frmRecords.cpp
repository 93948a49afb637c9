// The window "成績の記録": the history read afresh at every opening, one view at a time, moved
// between with the keys or the tabs and closed with ESC.

#include <optional>

#include "menu/forms.h"
#include "menu/records_layout.h"
#include "menu/records_views.h"
#include "platform/form.h"
#include "platform/keyboard.h"
#include "platform/screen.h"
#include "scores/records_overview.h"

namespace {

using namespace records_layout;

constexpr float kTwipsPerPixel = 15;  // the design's, whatever the desktop's scale

// While the window is loaded: what it shows. No overview when the history could not be read.
struct Shown {
  std::optional<RecordsOverview> overview;
  RecordsView view = RecordsView::kWorkCurve;
};
std::optional<Shown> shown;

void ShowView(Form& form, int view) {
  shown->view = static_cast<RecordsView>((view % kRecordsViews + kRecordsViews) % kRecordsViews);
  form.SetDrawing(DrawRecords(shown->overview ? &*shown->overview : nullptr, shown->view));
}

void KeyDown(Form& form, int key, int shift) {
  const int current = static_cast<int>(shown->view);
  switch (key) {
    case VK_ESCAPE:
      Unload(form);
      return;
    case VK_TAB:
      return ShowView(form, current + (shift & 1 ? -1 : 1));
    case VK_RIGHT:
    case VK_DOWN:
      return ShowView(form, current + 1);
    case VK_LEFT:
    case VK_UP:
      return ShowView(form, current - 1);
    case VK_HOME:
      return ShowView(form, 0);
    case VK_END:
      return ShowView(form, kRecordsViews - 1);
    default:
      if (key > VK_0 && key <= VK_0 + kRecordsViews) ShowView(form, key - VK_0 - 1);
  }
}

void MouseDown(Form& form, MouseButton button, int, float x, float y) {
  if (button != MouseButton::Left) return;
  if (std::optional<RecordsView> tab = TabAt(x / kTwipsPerPixel, y / kTwipsPerPixel))
    ShowView(form, static_cast<int>(*tab));
}

void Design(Form& form) {
  form.SetCaption("成績の記録");
  form.SetWidth(kWidth * kTwipsPerPixel);
  form.SetHeight(kHeight * kTwipsPerPixel);
}

void Load(Form& form) {
  shown.emplace();
  shown->overview = ReadRecordsOverview();
  ShowView(form, 0);
  form.Move((Screen::Width() - form.Width()) / 2, (Screen::Height() - form.Height()) / 2);
}

void Forget(Form&) {
  shown.reset();
}

const FormDesign kDesign{.name = "frmRecords",
                         .style = FormStyle::FixedDialog,
                         .design = Design,
                         .load = Load,
                         .close = Forget,
                         .mouse_down = MouseDown,
                         .key_down = KeyDown};

}  // namespace

Form& frmRecords() {
  return Reference(kDesign);
}
