#pragma once
// The five best scores, kept in section "Data" of the settings file as "HISCORE1" to
// "HISCORE5", each "score,note,yyyy/mm/dd hh:mm:ss".

#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

// Records the score of a finished time attack. Returns its rank 1 to 5, or 0 when it did not
// rank and nothing was written. Higher scores rank first; equal scores never displace each
// other. The table is read, changed and written back in one step that other copies of the
// game wait for.
int RecordHighScore(int score);

// Whether the last RecordHighScore reached the file: false when the table could not be read
// (the rank returned was then 0), or when its new entry could not be saved (the rank returned
// is where the score would stand). Standard error has said why.
bool HighScoreSaved();

// The raw entries of ranks 1 to 5 from one read of the file, "" for an empty slot; nothing
// when the file cannot be read.
std::optional<std::array<std::string, 5>> ReadHighScores();

// The entry as stored for a score recorded at a local time.
std::string HighScoreEntry(int score, const std::tm& local);

// The score of a stored entry: the leading number before its first ",", 0 when there is none.
double StoredScore(std::string_view entry);
