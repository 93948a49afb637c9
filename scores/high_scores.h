#pragma once
// The five best scores, kept in section "Data" of the settings file as "HISCORE1" to
// "HISCORE5", each "score,note,yyyy/mm/dd hh:mm:ss".

#include <ctime>
#include <string>
#include <string_view>

enum HighScoreOrder { HigherFirst = 0, LowerFirst = 1 };

// Records a finished time attack. Returns its rank 1 to 5, or 0 when it did not rank and
// nothing was written. Equal scores never displace each other; with an order other than
// HigherFirst and LowerFirst a score only fills an empty slot.
int RecordHighScore(std::string_view score, std::string_view note, int order);

// The raw entry of a rank, "" for an empty slot.
std::string ReadHighScoreEntry(int rank);

// The entry as stored for a score recorded at a local time.
std::string HighScoreEntry(std::string_view score, std::string_view note, const std::tm& local);

// The score of a stored entry: the leading number before its first ",", 0 when there is none.
double StoredScore(std::string_view entry);
