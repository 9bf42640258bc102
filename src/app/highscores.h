#pragma once

#include <string>
#include <string_view>

namespace korvane {

inline constexpr int kHighscoreTables = 9;
inline constexpr int kHighscorePlaces = 10;
inline constexpr int kEmptyPlace = -1;

// One list of a table: ten values sorted rising, empty places (-1) at the end.
struct HighscoreList {
    int value[kHighscorePlaces];
};

// The stored value names and the title of each table 0..8.
const char* movesValueName(int table);
const char* timeValueName(int table);
const char* tableTitle(int table);

// The stored text of an empty list: "-1," ten times.
std::string emptyHighscoreText();

// Read a stored text field by field ("57,-1,...,"): missing fields, fields that are not a
// number, and negative numbers are empty places; text past the tenth field is ignored.
HighscoreList parseHighscoreText(std::string_view text);
// Put a result at the first place that is empty or holds a greater value (ties stay above);
// the tenth place falls off. Returns false when the list is full of better or equal values.
bool insertResult(HighscoreList& list, int value);
// The same, answering the place (0..9) the result took, or -1.
int insertResultAt(HighscoreList& list, int value);
// Ten fields, each "%d,".
std::string formatHighscoreText(const HighscoreList& list);
// The text a list shows in place n (0..9): the number, or "NA" for an empty place.
std::string placeText(const HighscoreList& list, int place);
// A time as the player reads it: minutes and two-digit seconds ("3:07"), or "NA" for an empty
// place.
std::string minutesAndSeconds(int seconds);
std::string timePlaceText(const HighscoreList& list, int place);

} // namespace korvane
