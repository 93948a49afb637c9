// The digit strip: 20 cells resting on the bottom edge of the work area, centred.

#include "game/forms.h"
#include "game/mod_Main.h"
#include "game/random_digits.h"
#include "platform/form.h"
#include "platform/toolkit.h"
#include "platform/twips.h"
#include "rgn/mod_RGN_Proc.h"

namespace {

void Design(Form& form) {
  TextLabel& cell = form.AddLabel("LL");
  cell.SetCaption("1");
  cell.Move(0, 0, 390, 210);
  cell.SetAlignment(Alignment::Center);
  cell.SetFont({"ＭＳ ゴシック", 9.75f});
  cell.SetBackColor(Rgb(192, 192, 255));
  // Only the digit is drawn, so the cell face with its rim shows around it.
  cell.SetBackStyle(BackStyle::Transparent);
}

// The window covers the work area; only its cells are part of it.
void LayOutCells(Form& form) {
  using mod_Main::StripLeft;
  const int32_t t = WorkAreaHeight() - PresetHeight(0);
  const int32_t w = PresetWidth(0);
  BeginCompositeWindow(form, 1);
  const float label_top = static_cast<float>(t + RoundHalfEven(2 * Screen::TwipsPerPixelY()));
  for (int i = 0; i < mod_Main::kCells; ++i) {
    form.Label("LL", i).Move(static_cast<float>(i * w - w / 5.0 + StripLeft), label_top);
    AddCompositeShape(0, form, static_cast<float>(StripLeft + i * w), static_cast<float>(t));
  }
  ApplyCompositeWindow(form);
}

void Load(Form& form) {
  using mod_Main::DigitRow;
  for (int i = 0; i < mod_Main::kCells; ++i) {
    if (i != 0) form.LoadLabel("LL", i);
    TextLabel& cell = form.Label("LL", i);
    cell.SetVisible(false);
    DigitRow[i] = RandomDigit();
    cell.SetCaption(DigitRow[i]);
  }
  LayOutCells(form);
}

const FormDesign kDesign{.name = "frmMONDAI", .design = Design, .load = Load};

}  // namespace

Form& frmMONDAI() {
  return Reference(kDesign);
}

void PlaceStrip() {
  if (Form* strip = FindLoadedForm(kDesign.name)) LayOutCells(*strip);
}
