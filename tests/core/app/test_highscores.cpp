#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/highscores.h"

namespace korvane {
namespace {

const std::string kEmpty = "-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,";

std::vector<int> values(const HighscoreList& list) {
    return std::vector<int>(std::begin(list.value), std::end(list.value));
}

TEST(HighscoreNames, NameEveryTableInDialogOrder) {
    const char* kinds[] = {"Cube", "Tetra"};
    const char* titles[] = {"Cube Level ", "Tetra Level "};
    for (int k = 0; k < 2; ++k) {
        for (int level = 1; level <= 4; ++level) {
            const int table = 4 * k + level - 1;
            const std::string stem = kinds[k] + std::to_string(level);
            EXPECT_EQ(movesValueName(table), stem + "M");
            EXPECT_EQ(timeValueName(table), stem + "T");
            EXPECT_EQ(tableTitle(table), titles[k] + std::to_string(level));
        }
    }
    EXPECT_STREQ(movesValueName(8), "PiraM");
    EXPECT_STREQ(timeValueName(8), "PiraT");
    EXPECT_STREQ(tableTitle(8), "Piracube");
    EXPECT_STREQ(movesValueName(9), "");
    EXPECT_STREQ(tableTitle(-1), "");
}

TEST(HighscoreText, FirstResultOfATable) {
    HighscoreList list = parseHighscoreText(emptyHighscoreText());
    EXPECT_EQ(emptyHighscoreText(), kEmpty);
    EXPECT_TRUE(insertResult(list, 57));
    EXPECT_EQ(formatHighscoreText(list), "57,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
    EXPECT_EQ(placeText(list, 0), "57");
    for (int place = 1; place < kHighscorePlaces; ++place) {
        EXPECT_EQ(placeText(list, place), "NA");
    }
}

TEST(HighscoreText, ATieIsPlacedBelowTheEarlierResult) {
    HighscoreList list = parseHighscoreText("40,57,80,-1,-1,-1,-1,-1,-1,-1,");
    EXPECT_TRUE(insertResult(list, 57));
    EXPECT_EQ(formatHighscoreText(list), "40,57,57,80,-1,-1,-1,-1,-1,-1,");
}

TEST(HighscoreText, AFullListDropsItsTenthAndRefusesWorseResults) {
    const std::string full = "10,20,30,40,50,60,70,80,90,100,";
    HighscoreList moves = parseHighscoreText(full);
    HighscoreList times = parseHighscoreText(full);
    EXPECT_FALSE(insertResult(moves, 101));
    EXPECT_FALSE(insertResult(moves, 100));
    EXPECT_EQ(formatHighscoreText(moves), full);
    // Shorter than the fifth, not shorter than the fourth.
    EXPECT_TRUE(insertResult(times, 40));
    EXPECT_EQ(formatHighscoreText(times), "10,20,30,40,40,50,60,70,80,90,");
}

TEST(HighscoreText, ABestResultGoesFirst) {
    HighscoreList list = parseHighscoreText("10,20,30,40,50,60,70,80,90,100,");
    EXPECT_TRUE(insertResult(list, 0));
    EXPECT_EQ(formatHighscoreText(list), "0,10,20,30,40,50,60,70,80,90,");
}

TEST(HighscoreText, NegativeResultsAreNotEntered) {
    HighscoreList list = parseHighscoreText("5,");
    EXPECT_FALSE(insertResult(list, -1));
    EXPECT_EQ(formatHighscoreText(list), "5,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
}

struct StoredText {
    const char* name;
    std::string text;
    std::vector<int> list;
};

class StoredHighscoreText : public ::testing::TestWithParam<StoredText> {};

// Whatever is stored, the list read from it is sound and is written back in the proper form.
TEST_P(StoredHighscoreText, IsReadFieldByField) {
    const StoredText& c = GetParam();
    const HighscoreList list = parseHighscoreText(c.text);
    EXPECT_EQ(values(list), c.list);
    std::string expected;
    for (int v : c.list) {
        expected += std::to_string(v) + ",";
    }
    EXPECT_EQ(formatHighscoreText(list), expected);
    EXPECT_EQ(values(parseHighscoreText(formatHighscoreText(list))), c.list);
}

const std::vector<int> kNone(10, -1);

std::vector<int> places(std::vector<int> front) {
    front.resize(10, -1);
    return front;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredHighscoreText,
    ::testing::Values(
        StoredText{"empty", kEmpty, kNone}, StoredText{"missing", "", kNone},
        StoredText{"short", "12,30,", places({12, 30})},
        StoredText{"no_last_comma", "12,30", places({12, 30})},
        StoredText{"over_long", "1,2,3,4,5,6,7,8,9,10,11,12,",
                   places({1, 2, 3, 4, 5, 6, 7, 8, 9, 10})},
        StoredText{"words", "abc,12,x7,7x,,", places({12})},
        StoredText{"signs_and_spaces", "+5, 6,-7,-0,8,", places({8})},
        StoredText{"overflow", "2147483647,2147483648,99999999999999999999,3,",
                   places({3, 2147483647})},
        StoredText{"zero", "0,", places({0})}, StoredText{"only_commas", ",,,,,,,,,,,,", kNone},
        // Out of order from outside: the results keep their values and are ranked again.
        StoredText{"out_of_order", "30,-1,10,20,-1,", places({10, 20, 30})}),
    [](const ::testing::TestParamInfo<StoredText>& info) { return std::string(info.param.name); });

TEST(HighscoreText, AnOutOfOrderListStillTakesAResultInItsRank) {
    HighscoreList list = parseHighscoreText("90,10,-1,50,");
    EXPECT_TRUE(insertResult(list, 40));
    EXPECT_EQ(formatHighscoreText(list), "10,40,50,90,-1,-1,-1,-1,-1,-1,");
}

TEST(HighscoreText, TheMovesAndTimeListsAreIndependent) {
    HighscoreList moves = parseHighscoreText("20,30,-1,");
    HighscoreList times = parseHighscoreText("100,-1,");
    EXPECT_TRUE(insertResult(moves, 25));
    EXPECT_TRUE(insertResult(times, 300));
    EXPECT_EQ(formatHighscoreText(moves), "20,25,30,-1,-1,-1,-1,-1,-1,-1,");
    EXPECT_EQ(formatHighscoreText(times), "100,300,-1,-1,-1,-1,-1,-1,-1,-1,");
}

TEST(HighscoreText, PlacesOutsideTheListShowNothing) {
    const HighscoreList list = parseHighscoreText("1,");
    EXPECT_EQ(placeText(list, -1), "");
    EXPECT_EQ(placeText(list, kHighscorePlaces), "");
}

} // namespace
} // namespace korvane
