// A stored highscore text as anyone may have left it: read it, enter a result, write it and
// read the written text again. Whatever was stored, the game must keep a proper list (rising
// values, empty places last) and write ten "%d," fields that read back as the same list.
//
// Input: the stored text, then after the last newline the result to enter as a decimal number
// (without a newline, or when that is no number, the input's length is entered).
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/highscores.h"
#include "fuzz_check.h"

namespace korvane {
namespace {

using fuzz::require;

bool properList(const HighscoreList& list) {
    bool seenEmpty = false;
    for (int p = 0; p < kHighscorePlaces; ++p) {
        const int v = list.value[p];
        if (v == kEmptyPlace) {
            seenEmpty = true;
        } else if (v < 0 || seenEmpty || (p > 0 && v < list.value[p - 1])) {
            return false;
        }
    }
    return true;
}

bool sameList(const HighscoreList& a, const HighscoreList& b) {
    return std::equal(a.value, a.value + kHighscorePlaces, b.value);
}

// Ten fields of an optional minus and decimal digits, each followed by a comma, nothing more.
bool properText(std::string_view text) {
    int fields = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = text[i] == '-' ? i + 1 : i;
        std::size_t end = start;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
            ++end;
        }
        if (end == start || end >= text.size() || text[end] != ',') {
            return false;
        }
        ++fields;
        i = end + 1;
    }
    return fields == kHighscorePlaces;
}

// Where a result belongs: the first place that is empty or holds a greater value.
HighscoreList expectedAfterInsert(const HighscoreList& before, int value, bool& entered) {
    HighscoreList after = before;
    entered = false;
    for (int p = 0; p < kHighscorePlaces && !entered; ++p) {
        if (before.value[p] == kEmptyPlace || before.value[p] > value) {
            std::copy(before.value + p, before.value + kHighscorePlaces - 1, after.value + p + 1);
            after.value[p] = value;
            entered = true;
        }
    }
    return after;
}

int resultFrom(std::string_view input, std::size_t cut) {
    int value = static_cast<int>(input.size());
    if (cut != std::string_view::npos) {
        const std::string_view digits = input.substr(cut + 1);
        int parsed = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
        if (error == std::errc() && end == digits.data() + digits.size()) {
            value = parsed;
        }
    }
    return value;
}

void checkPlaceTexts(const HighscoreList& list) {
    for (int p = 0; p < kHighscorePlaces; ++p) {
        const std::string shown = placeText(list, p);
        const int v = list.value[p];
        require(shown == (v == kEmptyPlace ? std::string("NA") : std::to_string(v)),
                "a place shows its number, or NA when empty");
    }
}

} // namespace
} // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.rfind('\n');
    const std::string_view stored = cut == std::string_view::npos ? input : input.substr(0, cut);
    const int value = resultFrom(input, cut);

    HighscoreList list = parseHighscoreText(stored);
    require(properList(list), "a stored text reads as a proper list");
    const HighscoreList before = list;
    const bool entered = insertResult(list, value);
    require(properList(list), "entering a result keeps the list proper");
    if (value >= 0) {
        bool shouldEnter = false;
        const HighscoreList expected = expectedAfterInsert(before, value, shouldEnter);
        require(entered == shouldEnter, "a result is entered exactly when it has a place");
        require(sameList(list, expected), "a result goes above the first greater or empty place");
    } else {
        require(!entered && sameList(list, before), "a negative result is never entered");
    }
    checkPlaceTexts(list);

    const std::string text = formatHighscoreText(list);
    require(properText(text), "the written text is ten \"%d,\" fields");
    const HighscoreList again = parseHighscoreText(text);
    require(sameList(again, list), "the written text reads back as the same list");
    require(formatHighscoreText(again) == text, "writing the read-back list gives the same text");
    return 0;
}
