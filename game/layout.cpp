#include "game/layout.h"

#include "game/attack.h"
#include "platform/screen.h"
#include "platform/system_metrics.h"
#include "platform/twips.h"
#include "rgn/size_presets.h"

Layout LayoutNow() {
  const int32_t cell = PresetWidth(0);
  const int32_t cells_top = WorkAreaHeight() - PresetHeight(0);
  return {.strip_left = WholeDiv(Screen::Width() - Attack::kCells * cell, 2),
          .cells_top = cells_top,
          .cursor_top = cells_top - PresetHeight(1),
          .cell_step = cell};
}
