#pragma once
// The high-score table as the captions of the popup menu's high-score submenu.

#include <string>
#include <string_view>

// "１位：2024年01月05日 09:03:07  スコア:   37 回", or "１位：(なし)" for an empty slot.
// A time stamp that cannot be read is shown as stored; an entry without "," is all score.
std::string HighScoreCaption(int rank, std::string_view entry);

// "１位：(読めません)", for every slot while the settings file cannot be read.
std::string UnreadableHighScoreCaption(int rank);
