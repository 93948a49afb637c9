#include "scores/high_score_display.h"
#include "menu/forms.h"
#include "platform/form.h"
#include "scores/high_scores.h"

void RefreshHighScoreMenu() {
  for (int rank = 1; rank <= 5; ++rank) {
    frmMenu()
        .Menu("mhiscore", rank - 1)
        .SetCaption(HighScoreCaption(rank, ReadHighScoreEntry(rank)));
  }
}
