#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/highscores.h"

namespace korvane {
namespace {

const std::string kEmpty = "-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,";

TEST(HighscoreNames, NameEveryTableInDialogOrder) {
    for (int level = 1; level <= 4; ++level) {
        const std::string n = std::to_string(level);
        EXPECT_EQ(movesValueName(level - 1), "Cube" + n + "M");
        EXPECT_EQ(timeValueName(level - 1), "Cube" + n + "T");
        EXPECT_EQ(tableTitle(level - 1), "Cube Level " + n);
        EXPECT_EQ(movesValueName(level + 3), "Tetra" + n + "M");
        EXPECT_EQ(timeValueName(level + 3), "Tetra" + n + "T");
        EXPECT_EQ(tableTitle(level + 3), "Tetra Level " + n);
    }
    EXPECT_STREQ(movesValueName(8), "PiraM");
    EXPECT_STREQ(timeValueName(8), "PiraT");
    EXPECT_STREQ(tableTitle(8), "Piracube");
    EXPECT_STREQ(movesValueName(9), "");
    EXPECT_STREQ(tableTitle(-1), "");
}

std::string entered(const std::string& stored, int value, bool placed = true) {
    HighscoreList list = parseHighscoreText(stored);
    EXPECT_EQ(insertResult(list, value), placed) << stored << " + " << value;
    return formatHighscoreText(list);
}

TEST(HighscoreText, ResultsTakeTheirRank) {
    EXPECT_EQ(emptyHighscoreText(), kEmpty);
    EXPECT_EQ(entered(kEmpty, 57), "57,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
    // A tie goes below the earlier result.
    EXPECT_EQ(entered("40,57,80,", 57), "40,57,57,80,-1,-1,-1,-1,-1,-1,");
    const std::string full = "10,20,30,40,50,60,70,80,90,100,";
    EXPECT_EQ(entered(full, 100, false), full);
    EXPECT_EQ(entered(full, 40), "10,20,30,40,40,50,60,70,80,90,");
    EXPECT_EQ(entered(full, 0), "0,10,20,30,40,50,60,70,80,90,");
    EXPECT_EQ(entered("5,", -1, false), "5,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
    // A list stored out of order is ranked again before the result goes in.
    EXPECT_EQ(entered("90,10,-1,50,", 40), "10,40,50,90,-1,-1,-1,-1,-1,-1,");
}

TEST(HighscoreText, PlacesShowTheirValueOrNA) {
    const HighscoreList list = parseHighscoreText("57,");
    EXPECT_EQ(placeText(list, 0), "57");
    for (int place = 1; place < kHighscorePlaces; ++place) {
        EXPECT_EQ(placeText(list, place), "NA");
    }
    EXPECT_EQ(placeText(list, -1), "");
    EXPECT_EQ(placeText(list, kHighscorePlaces), "");
}

struct StoredText {
    std::string text;
    std::vector<int> front; // the list's leading results, empty places after them
};

class StoredHighscoreText : public ::testing::TestWithParam<StoredText> {};

// Whatever is stored, the list read from it is sound and goes back in the proper form.
TEST_P(StoredHighscoreText, IsReadFieldByField) {
    std::vector<int> expected = GetParam().front;
    expected.resize(kHighscorePlaces, kEmptyPlace);
    std::string text;
    for (int v : expected) {
        text += std::to_string(v) + ",";
    }
    const HighscoreList list = parseHighscoreText(GetParam().text);
    EXPECT_EQ(std::vector<int>(std::begin(list.value), std::end(list.value)), expected);
    EXPECT_EQ(formatHighscoreText(list), text);
}

INSTANTIATE_TEST_SUITE_P(
    Garbage, StoredHighscoreText,
    ::testing::Values(StoredText{kEmpty, {}}, StoredText{"", {}}, StoredText{",,,,,,,,,,,,", {}},
                      StoredText{"12,30,", {12, 30}}, StoredText{"12,30", {12, 30}},
                      StoredText{"1,2,3,4,5,6,7,8,9,10,11,", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
                      StoredText{"abc,12,x7,7x,,", {12}}, StoredText{"+5, 6,-7,-0,8,", {8}},
                      StoredText{"2147483647,2147483648,99999999999999999999,3,", {3, 2147483647}},
                      StoredText{"0,", {0}}, StoredText{"30,-1,10,20,-1,", {10, 20, 30}}));

} // namespace
} // namespace korvane
