#include <gtest/gtest.h>

#include "model/move.h"

namespace korvane {
namespace {

// The stored text reads back as the same move; anything else is refused, never half-read.
TEST(MoveText, RoundTripsAndRefusesGarbage) {
    const Move moves[] = {Move::axisTurn(1, 0, 1), Move::axisTurn(4, 17, -1),
                          Move::cornerTurn(0, -1), Move::cornerTurn(7, 1)};
    for (const Move& m : moves) {
        EXPECT_EQ(parseMove(moveText(m)), m) << moveText(m);
        EXPECT_EQ(m.inverse().inverse(), m);
    }
    EXPECT_EQ(moveText(Move::axisTurn(2, 3, -1)), "A2L3-");
    EXPECT_EQ(moveText(Move::cornerTurn(5, 1)), "C5+");
    for (const char* bad : {"", "A", "A2", "A2L", "A2L3", "A2L3*", "A2L3+x", "C+", "C123+", "B1+",
                            "A-1L0+", " C1+", "C1 +"}) {
        EXPECT_FALSE(parseMove(bad).has_value()) << bad;
    }
}

} // namespace
} // namespace korvane
