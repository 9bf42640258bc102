#include <gtest/gtest.h>

#include <string>

#include "app/highscores.h"
#include "dialog_fixture.h"

namespace korvane {
namespace {

const std::string kEmpty = "-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,";
const std::string kFull = "10,20,30,40,50,60,70,80,90,100,";

using EnterResult = testing::DialogTest;

// A table's stored moves and time texts, the moves and seconds of a solved game, and the texts
// written back: the first result of a table; a tie goes below the earlier result, so it stays
// out of a full list whose last place holds it; a full list keeps out a worse result while the
// other list of the table takes the same game's value.
TEST_F(EnterResult, PutsEachValueAtItsRankInItsOwnList) {
    struct Entry {
        std::string moves, times;
        int newMoves, newSeconds;
        std::string movesAfter, timesAfter;
    };
    for (const Entry& e :
         {Entry{kEmpty, kEmpty, 57, 95, "57,-1,-1,-1,-1,-1,-1,-1,-1,-1,",
                "95,-1,-1,-1,-1,-1,-1,-1,-1,-1,"},
          Entry{"40,57,80,", kFull, 57, 100, "40,57,57,80,-1,-1,-1,-1,-1,-1,", kFull},
          Entry{kFull, kFull, 101, 45, kFull, "10,20,30,40,45,50,60,70,80,90,"}}) {
        platform.strings[{"HighScores", "Tetra2M"}] = e.moves;
        platform.strings[{"HighScores", "Tetra2T"}] = e.times;
        dialog.enterResult(5, e.newMoves, e.newSeconds);
        EXPECT_EQ((platform.strings[{"HighScores", "Tetra2M"}]), e.movesAfter) << e.moves;
        EXPECT_EQ((platform.strings[{"HighScores", "Tetra2T"}]), e.timesAfter) << e.times;
    }
}

// Whatever is stored, the list read from it is sound and goes back in the proper form: missing
// and extra fields, fields that are no plain number, numbers past the int range, and a list
// stored out of order.
TEST(StoredHighscoreText, IsReadFieldByField) {
    for (const auto& [stored, written] :
         {std::pair{"", kEmpty.c_str()}, std::pair{",,,,,,,,,,,,", kEmpty.c_str()},
          std::pair{"1,2,3,4,5,6,7,8,9,10,11,", "1,2,3,4,5,6,7,8,9,10,"},
          std::pair{"abc,12,x7,7x,,+5, 6,-7,-0,0,", "0,12,-1,-1,-1,-1,-1,-1,-1,-1,"},
          std::pair{"2147483647,2147483648,99999999999999999999,3,",
                    "3,2147483647,-1,-1,-1,-1,-1,-1,-1,-1,"},
          std::pair{"30,-1,10,20", "10,20,30,-1,-1,-1,-1,-1,-1,-1,"}}) {
        EXPECT_EQ(formatHighscoreText(parseHighscoreText(stored)), written) << stored;
    }
}

} // namespace
} // namespace korvane
