// The answer cursor: stands over the current pair and shows the remaining time.

#include "game/forms.h"
#include "game/layout.h"
#include "menu/forms.h"
#include "platform/form.h"
#include "rgn/decoration.h"
#include "rgn/shapes.h"

namespace {

void Design(Form& form) {
  TextLabel& time = form.AddLabel("LT");
  time.SetCaption("1");
  time.Move(0, 60, 450, 210);
  time.SetAlignment(Alignment::Right);
  time.SetFont({"ＭＳ ゴシック", 8.25f});
}

// Over cells 0 and 1.
void Load(Form& form) {
  const Layout layout = LayoutNow();
  DecorateWindowPreset(kCursorShape, form, true);
  form.Move(static_cast<float>(layout.CursorLeft(0)), static_cast<float>(layout.cursor_top));
}

// The right button opens the game's menu at the pointer; the others do nothing.
void MouseDown(Form&, MouseButton button, int, float, float) {
  if (button == MouseButton::Right) PopupMenu(frmMenu(), frmMenu().Menu("mpop"));
}

const FormDesign kDesign{
    .name = "frmKAITOU", .design = Design, .load = Load, .mouse_down = MouseDown};

}  // namespace

Form& frmKAITOU() {
  return Reference(kDesign);
}
