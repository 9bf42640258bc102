#include "app/highscores.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace korvane {

namespace {

// The nine tables in dialog order: the stored names of the moves and time lists, and the title
// the dialog's drop-down list shows.
struct TableNames {
    const char* moves;
    const char* time;
    const char* title;
};
constexpr TableNames kTables[kHighscoreTables] = {
    {"Cube1M", "Cube1T", "Cube Level 1"},    {"Cube2M", "Cube2T", "Cube Level 2"},
    {"Cube3M", "Cube3T", "Cube Level 3"},    {"Cube4M", "Cube4T", "Cube Level 4"},
    {"Tetra1M", "Tetra1T", "Tetra Level 1"}, {"Tetra2M", "Tetra2T", "Tetra Level 2"},
    {"Tetra3M", "Tetra3T", "Tetra Level 3"}, {"Tetra4M", "Tetra4T", "Tetra Level 4"},
    {"PiraM", "PiraT", "Piracube"},
};

// A puzzle without a table (the cube of level 5, the sphere) gets no names.
const TableNames* namesOf(int table) {
    return table >= 0 && table < kHighscoreTables ? &kTables[table] : nullptr;
}

// A stored field is a place only when it is a whole decimal number that fits an int; results are
// never negative, so a minus sign marks an empty place as well as "-1" does.
int parseField(std::string_view field) {
    if (field.empty()) {
        return kEmptyPlace;
    }
    int value = 0;
    for (char ch : field) {
        if (ch < '0' || ch > '9') {
            return kEmptyPlace;
        }
        const int digit = ch - '0';
        if (value > (INT_MAX - digit) / 10) {
            return kEmptyPlace;
        }
        value = value * 10 + digit;
    }
    return value;
}

// Empty places rank after every result.
std::int64_t rank(int value) {
    return value < 0 ? INT64_MAX : value;
}

// Results rising, empty places (all -1) at the end. A list edited out of order from outside
// keeps every result it holds, in the order of their values.
void normalise(HighscoreList& list) {
    for (int& v : list.value) {
        v = v < 0 ? kEmptyPlace : v;
    }
    std::stable_sort(std::begin(list.value), std::end(list.value),
                     [](int a, int b) { return rank(a) < rank(b); });
}

} // namespace

const char* movesValueName(int table) {
    const TableNames* names = namesOf(table);
    return names ? names->moves : "";
}

const char* timeValueName(int table) {
    const TableNames* names = namesOf(table);
    return names ? names->time : "";
}

const char* tableTitle(int table) {
    const TableNames* names = namesOf(table);
    return names ? names->title : "";
}

std::string emptyHighscoreText() {
    HighscoreList empty;
    std::fill(std::begin(empty.value), std::end(empty.value), kEmptyPlace);
    return formatHighscoreText(empty);
}

HighscoreList parseHighscoreText(std::string_view text) {
    HighscoreList list;
    bool more = !text.empty();
    for (int& v : list.value) {
        if (!more) {
            v = kEmptyPlace;
            continue;
        }
        const std::size_t comma = text.find(',');
        v = parseField(text.substr(0, comma));
        more = comma != std::string_view::npos && comma + 1 < text.size();
        text = more ? text.substr(comma + 1) : std::string_view{};
    }
    normalise(list);
    return list;
}

bool insertResult(HighscoreList& list, int value) {
    return insertResultAt(list, value) >= 0;
}

int insertResultAt(HighscoreList& list, int value) {
    normalise(list);
    if (value < 0) {
        return -1; // no game ends with a negative count; it would read back as an empty place
    }
    const auto place = std::find_if(std::begin(list.value), std::end(list.value),
                                    [value](int v) { return v == kEmptyPlace || v > value; });
    if (place == std::end(list.value)) {
        return -1;
    }
    std::copy_backward(place, std::end(list.value) - 1, std::end(list.value));
    *place = value;
    return static_cast<int>(place - std::begin(list.value));
}

std::string formatHighscoreText(const HighscoreList& list) {
    std::string text;
    for (int v : list.value) {
        text += std::to_string(v < 0 ? kEmptyPlace : v);
        text += ',';
    }
    return text;
}

std::string placeText(const HighscoreList& list, int place) {
    if (place < 0 || place >= kHighscorePlaces) {
        return {};
    }
    const int v = list.value[place];
    return v < 0 ? "NA" : std::to_string(v);
}

std::string minutesAndSeconds(int seconds) {
    if (seconds < 0) {
        return "NA";
    }
    const std::string ss = std::to_string(seconds % 60);
    return std::to_string(seconds / 60) + (ss.size() < 2 ? ":0" : ":") + ss;
}

std::string timePlaceText(const HighscoreList& list, int place) {
    return place < 0 || place >= kHighscorePlaces ? std::string{}
                                                  : minutesAndSeconds(list.value[place]);
}

} // namespace korvane
