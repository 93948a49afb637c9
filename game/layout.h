#pragma once
// Where the game's windows stand on the screen as it is now, in twips: the row of cells centred
// on the bottom edge of the work area, the cursor just above it.

#include <cstdint>

struct Layout {
  int32_t strip_left;  // x of cell 0; negative on a screen narrower than the row
  int32_t cells_top;
  int32_t cursor_top;
  int32_t cell_step;
  int32_t CursorLeft(int pair) const { return strip_left + cell_step * pair; }
};

Layout LayoutNow();
