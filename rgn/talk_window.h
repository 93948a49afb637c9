#pragma once
// Speech balloons.

#include <string_view>

class Form;

// The title a balloon window carries: nothing shows it, and scripts that look at the screen find
// the balloons by it.
inline constexpr const char* kTalkWindowTitle = "MakeRGNTalkWindowTitle";

// Shows text in a speech balloon on window, with its tail tip at the anchor (twips): side 0
// extends to the right of the anchor, side 1 to the left. Returns once the balloon is painted.
void MakeRGNTalkWindow(Form& window, std::string_view text, float x, float y, int side);
