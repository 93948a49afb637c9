// The digit strip: 20 cells resting on the bottom edge of the work area, centred.

#include <string>

#include "game/attack.h"
#include "game/forms.h"
#include "game/layout.h"
#include "platform/form.h"
#include "platform/screen.h"
#include "platform/twips.h"
#include "rgn/composite.h"
#include "rgn/shapes.h"

namespace {

void Design(Form& form) {
  TextLabel& cell = form.AddLabel("LL");
  cell.SetCaption("1");
  cell.Move(0, 0, 390, 210);
  cell.SetAlignment(Alignment::Center);
  cell.SetFont({"ＭＳ ゴシック", 9.75f});
  // Only the digit is drawn, so the cell face with its rim shows around it.
  cell.SetBackStyle(BackStyle::Transparent);
}

// The window covers the work area; only its cells are part of it.
void LayOutCells(Form& form) {
  const Layout layout = LayoutNow();
  const int32_t w = layout.cell_step;
  BeginCompositeWindow(form, kPaintPictures);
  const float label_top =
      static_cast<float>(layout.cells_top + RoundHalfEven(2 * Screen::TwipsPerPixelY()));
  for (int i = 0; i < Attack::kCells; ++i) {
    form.Label("LL", i).Move(static_cast<float>(i * w - w / 5.0 + layout.strip_left), label_top);
    AddCompositeShape(kCellShape, form, static_cast<float>(layout.strip_left + i * w),
                      static_cast<float>(layout.cells_top));
  }
  ApplyCompositeWindow(form);
}

void Load(Form& form) {
  // The digits stay hidden until play begins: the player sees the row first when the clock
  // starts.
  for (int i = 0; i < Attack::kCells; ++i) {
    if (i != 0) form.LoadLabel("LL", i);
    form.Label("LL", i).SetVisible(false);
  }
  LayOutCells(form);
}

const FormDesign kDesign{.name = "frmMONDAI", .design = Design, .load = Load};

}  // namespace

Form& frmMONDAI() {
  return Reference(kDesign);
}

void DrawRow(const Attack& attack) {
  Form& strip = frmMONDAI();
  for (int i = 0; i < Attack::kCells; ++i)
    strip.Label("LL", i).SetCaption(std::to_string(attack.Digit(i)));
}

void RevealRow() {
  Form& strip = frmMONDAI();
  for (int i = 0; i < Attack::kCells; ++i)
    strip.Label("LL", i).SetVisible(true);
}

void PlaceStrip() {
  if (Form* strip = FindLoadedForm(kDesign.name)) LayOutCells(*strip);
}
