#include "platform/form.h"
#include "platform/toolkit.h"
#include "platform/twips.h"
#include "rgn/mod_RGN_Proc.h"

namespace {
constexpr float kBalloonHeight = 270;
constexpr float kLeftEndWidth = 120;   // twips of the end with the tail, side 0
constexpr float kRightEndWidth = 105;  // twips of the end without it
constexpr float kTextLeft = 128;
constexpr float kTextTop = 52;
}  // namespace

void MakeRGNTalkWindow(Form& window, std::string_view text, float x, float y, int side) {
  window.Cls();
  y -= kBalloonHeight;
  window.SetCaption("MakeRGNTalkWindowTitle");
  window.SetFont({"ＭＳ Ｐゴシック", 8.25f});
  float text_width = window.TextWidth(text);
  window.SetWidth(text_width + kLeftEndWidth + kRightEndWidth);
  window.SetHeight(kBalloonHeight);
  int tppy = RoundHalfEven(Screen::TwipsPerPixelY());
  window.SetBackColor(kWhite);
  window.Cls();

  // The band's top and bottom border rows; the ends carry their own rims.
  float band_left = side == 1 ? kRightEndWidth : kLeftEndWidth;
  float band_right = window.Width() - kRightEndWidth;
  window.Line(band_left, static_cast<float>(tppy), band_right, static_cast<float>(tppy), kBlack);
  float bottom = window.Height() - 3.0f * static_cast<float>(tppy);
  window.Line(band_left, bottom, band_right, bottom, kBlack);

  if (side == 1) x -= window.Width();
  window.SetForeColor(kBlack);
  window.CurrentX = kTextLeft;
  window.CurrentY = kTextTop;
  window.Print(text);
  window.Move(x, y);
  window.Show();
  DoEvents();
}
