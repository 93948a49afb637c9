#include "rgn/talk_window.h"

#include <string>

#include "platform/form.h"
#include "platform/gdi.h"
#include "platform/pump.h"
#include "platform/screen.h"
#include "platform/twips.h"
#include "rgn/decoration.h"
#include "rgn/mod_RGN_Data.h"
#include "rgn/shapes.h"
#include "rgn/shaping.h"

namespace {

constexpr float kBalloonHeight = 270;
// The balloon's two ends beside the text, in twips: the one with the tail, and the other.
constexpr float kTailEndWidth = 120;
constexpr float kPlainEndWidth = 105;
constexpr float kTextLeft = 128;
constexpr float kTextTop = 52;
constexpr const char* kFrameLayer = "MakeRGNTalkWindowWaku";

// The two ends of a balloon, the rims of the frame layer, and where the band starts.
struct SideLayout {
  int left_end;
  int right_end;
  float right_end_offset;  // twips added to the text width
  int left_rim;
  int right_rim;
  float right_rim_offset;
  float band_left;  // twips
};
// Side 1 puts its right rim 118 twips past the text and the end itself 105: both are pixel
// column 7 at 15 twips a pixel, so the rim lies on its end.
constexpr SideLayout kSides[] = {
    {kTalkLeftEndWithTail, kTalkRightEnd, kTailEndWidth, kTalkLeftEndWithTail + kTalkRimOffset,
     kTalkRightEnd + kTalkRimOffset, kTailEndWidth, kTailEndWidth},  // tail at the lower left
    {kTalkLeftEnd, kTalkRightEndWithTail, kPlainEndWidth, kTalkLeftEnd + kTalkRimOffset,
     kTalkRightEndWithTail + kTalkRimOffset, 118, kPlainEndWidth},  // tail at the lower right
};

}  // namespace

void MakeRGNTalkWindow(Form& window, std::string_view text, float x, float y, int side) {
  window.Cls();
  EnsureTalkRegionTables();
  y -= kBalloonHeight;
  window.SetCaption(kTalkWindowTitle);
  window.SetFont({"ＭＳ Ｐゴシック", 8.25f});
  const float text_width = window.TextWidth(text);
  window.SetWidth(text_width + kTailEndWidth + kPlainEndWidth);
  window.SetHeight(kBalloonHeight);
  const int tppx = RoundHalfEven(Screen::TwipsPerPixelX());
  const int tppy = RoundHalfEven(Screen::TwipsPerPixelY());

  // A window still holding a balloon gets its frame layer redone rather than a second one.
  PictureBox* found = window.FindPictureBox(kFrameLayer);
  PictureBox& frame = found ? *found : window.AddPictureBox(kFrameLayer);
  frame.Move(0, 0);
  frame.SetWidth(text_width + kTailEndWidth + kPlainEndWidth);
  frame.SetHeight(kBalloonHeight);
  frame.SetBackColor(kBlack);
  frame.SetVisible(true);

  window.SetBackColor(kWhite);
  const SideLayout& layout = kSides[side == 1 ? 1 : 0];
  DecorateWindow(layout.left_end, window, kDecorateShape, 0, 0, false);
  DecorateWindow(layout.right_end, window, kDecorateShape, text_width + layout.right_end_offset, 0,
                 true);
  GdiObject band(CreateRectRgn(WholeDiv(layout.band_left, tppx), 1,
                               WholeDiv(text_width, tppx) + WholeDiv(kTailEndWidth, tppx), 16));
  DecorateWindow(layout.left_rim, frame, kDecorateShape, 0, 0, false);
  DecorateWindow(layout.right_rim, frame, kDecorateShape, text_width + layout.right_rim_offset, 0,
                 true);
  const float line_right = window.Width() - kPlainEndWidth;
  const float bottom = window.Height() - 3.0f * static_cast<float>(tppy);
  window.Line(layout.band_left, static_cast<float>(tppy), line_right, static_cast<float>(tppy),
              kBlack);
  window.Line(layout.band_left, bottom, line_right, bottom, kBlack);

  // The outline is the two ends and the band between them.
  GdiObject ends(CreateRectRgn(0, 0, 0, 0));
  GetWindowRgn(window.hWnd(), ends.Get());
  CombineRgn(band.Get(), ends.Get(), band.Get(), RGN_OR);
  SetWindowRgn(window.hWnd(), std::move(band), true);

  if (side == 1) x -= window.Width();
  window.SetForeColor(kBlack);
  window.CurrentX = kTextLeft;
  window.CurrentY = kTextTop;
  window.Print(text);
  window.Move(x, y);
  window.Show();
  DoEvents();
}
