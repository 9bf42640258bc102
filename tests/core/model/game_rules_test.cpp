#include <gtest/gtest.h>

#include "model/game_rules.h"
#include "model/move.h"
#include "model/puzzle_build.h"

namespace korvane {
namespace {

// Every seed keeps the kind's rules: turns and layers (Piracube corners) in range, never
// straight back over the layer just turned, no Piracube corner twice running. A level the build
// would clamp never divides by zero; the sphere and unknown kinds have no turns.
TEST(Scramble, KeepsTheRulesForEverySeed) {
    constexpr int kCases[8][4] = {
        {kCube, 1, 3, 2},     {kCube, 4, 3, 5}, {kTetrahedron, 2, 4, 3}, {kTetrahedron, 4, 4, 5},
        {kPiracube, 3, 5, 8}, {kCube, 0, 3, 2}, {kSphere, 2, 0, 0},      {0, 2, 0, 0}};
    for (const auto& [kind, level, ops, places] : kCases) {
        int seen = 0; // every layer (corner) is turned by some scramble
        for (unsigned seed = 0; seed < 200; ++seed) {
            RuntimeRandom rng;
            rng.srand(seed);
            Move t[kScrambleTurns];
            const int count = planScramble(kind, level, rng, t);
            ASSERT_EQ(count, ops ? kScrambleTurns : 0);
            const bool pira = kind == kPiracube;
            for (int i = 0; i < count; ++i) {
                const int place = pira ? t[i].corner() : t[i].layer;
                ASSERT_TRUE(place >= 0 && place < places && (t[i].dir == 1 || t[i].dir == -1));
                ASSERT_TRUE(pira ? t[i].kind == Move::Kind::Corner
                                 : t[i].kind == Move::Kind::Axis && t[i].axis >= 1 &&
                                       t[i].axis <= ops);
                ASSERT_FALSE(i > 0 && (pira ? place == t[i - 1].corner()
                                            : place == t[i - 1].layer && t[i].dir != t[i - 1].dir))
                    << "seed " << seed << " turn " << i;
                seen |= 1 << place;
            }
        }
        EXPECT_EQ(seen, (1 << places) - 1) << "kind " << kind << " level " << level;
    }
}

// A new puzzle with one cell (a, b, face) recoloured is solved unless the cell holds a sticker
// (row 2 of the tetrahedron of level 2 holds one triangle, and it has no face 4); and the
// puzzle's highscore table (none for the cube of level 5 and the sphere).
TEST(GameRules, SolvedTestAndHighscoreTable) {
    constexpr int kCases[9][8] = {
        {kCube, 1, 1, 1, 2, 0, false, 0},       {kCube, 4, 5, 0, 1, 0, true, 3},
        {kCube, 5, 0, 0, 0, 0, true, -1},       {kTetrahedron, 1, 0, 0, 1, 3, false, 4},
        {kTetrahedron, 2, 2, 1, 0, 3, true, 5}, {kTetrahedron, 2, 2, 0, 0, 3, false, 5},
        {kTetrahedron, 4, 0, 0, 4, 1, true, 7}, {kPiracube, 2, 2, 1, 5, 0, false, 8},
        {kSphere, 2, 0, 1, 0, 3, true, -1}};
    for (const auto& [kind, level, a, b, face, colour, solved, table] : kCases) {
        Puzzle g;
        buildPuzzleState(g, kind, level);
        g.stickerColour[a][b][face] = colour;
        EXPECT_EQ(isSolved(g), solved) << kind << " " << level << " " << a << "," << b;
        EXPECT_EQ(highscoreTable(kind, g.size), table) << kind << " " << level;
    }
}

// The stored text reads back as the same move; anything else is refused, never half-read.
TEST(MoveText, RoundTripsAndRefusesGarbage) {
    const Move moves[] = {Move::axisTurn(1, 0, 1), Move::axisTurn(4, 17, -1),
                          Move::cornerTurn(0, -1), Move::cornerTurn(7, 1)};
    for (const Move& m : moves)
        EXPECT_EQ(parseMove(moveText(m)), m) << moveText(m);
    EXPECT_EQ(moveText(Move::axisTurn(2, 3, -1)), "A2L3-");
    EXPECT_EQ(moveText(Move::cornerTurn(5, 1)), "C5+");
    for (const char* bad : {"", "A", "A2", "A2L", "A2L3", "A2L3*", "A2L3+x", "C+", "C123+", "B1+",
                            "A-1L0+", " C1+", "C1 +"})
        EXPECT_FALSE(parseMove(bad).has_value()) << bad;
}

} // namespace
} // namespace korvane
