#include "scores/high_scores.h"

// The game loop's seam for the score table: until the settings file exists, no score ranks.
int RecordHighScore(std::string_view, std::string_view, int) { return 0; }
