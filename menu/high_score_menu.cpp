// The high-score submenu of the popup menu: five captions read from the settings file.

#include "menu/forms.h"
#include "platform/form.h"
#include "scores/high_score_display.h"
#include "scores/high_scores.h"

void RefreshHighScoreMenu() {
  auto entries = ReadHighScores();
  for (int rank = 1; rank <= 5; ++rank) {
    frmMenu()
        .Menu("mhiscore", rank - 1)
        .SetCaption(entries ? HighScoreCaption(rank, (*entries)[rank - 1])
                            : UnreadableHighScoreCaption(rank));
  }
}
