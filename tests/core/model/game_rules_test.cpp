// The game's rules: the scramble, the solved test and the highscore tables, the stored move
// texts, and the distance tables that tell how far from solved a position is.
#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <tuple>

#include "model/distance_table.h"
#include "model/game_rules.h"
#include "model/move.h"
#include "model/puzzle_build.h"
#include "model/puzzle_model.h"
#include "model/turns.h"

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

// Each table is built once for the whole program (the tetrahedron's takes a while under the
// sanitizers).
const DistanceTable& table(TableKind kind) {
    static std::unique_ptr<DistanceTable> built[std::size(kTableKinds)];
    auto& t = built[static_cast<int>(kind)];
    if (!t)
        t = std::make_unique<DistanceTable>(DistanceTable::build(kind));
    return *t;
}

std::unique_ptr<Puzzle> solvedPuzzle(TableKind kind) {
    auto g = std::make_unique<Puzzle>();
    const PuzzleModel& pm = table(kind).model();
    buildPuzzleState(*g, pm.puzzleType, pm.level);
    return g;
}

void scramble(Puzzle& g, const PuzzleModel& pm, std::mt19937& rng, int turns) {
    for (int i = 0; i < turns; ++i)
        applyMove(g, pm.moves[rng() % pm.moves.size()]);
}

using Counts = std::vector<std::uint64_t>;

// Published counts per distance. 2x2x2, quarter turns, one corner fixed: our count exactly
// (a turn of the fixed corner's layer is the other layer's turn up to orientation). Skewb, the
// four free corners' turns: the Piracube's orientation classes (a half's turn is the other
// half's turn up to orientation). Pyraminx without tips: the tetrahedron with its tips at rest
// (base and middle turns both act as big turns on the rest; the cheapest way to any tip state
// never needs the tips turned, so resting tips cost nothing).
TEST(DistanceTable, HistogramsMatchPublishedTables) {
    for (const auto& [kind, rest, counts] :
         {std::tuple{TableKind::Cube2, false,
                     Counts{1, 6, 27, 120, 534, 2256, 8969, 33058, 114149, 360508, 930588, 1350852,
                            782536, 90280, 276}},
          std::tuple{
              TableKind::PiracubeClasses, false,
              Counts{1, 8, 48, 288, 1728, 10248, 59304, 315198, 1225483, 1455856, 81028, 90}},
          std::tuple{TableKind::Tetrahedron3, true,
                     Counts{1, 8, 48, 288, 1728, 9896, 51808, 220111, 480467, 166276, 2457, 32}}}) {
        Counts h = rest ? table(kind).restHistogram() : table(kind).histogram();
        while (h.back() == 0)
            h.pop_back(); // the tips add distances beyond the rest's greatest
        EXPECT_EQ(h, counts) << static_cast<int>(kind);
    }
    // Every position is reached; the counts the game's own rules give.
    for (const auto& [kind, positions] :
         {std::pair{TableKind::Cube2, 3674160ull}, std::pair{TableKind::Piracube, 12ull * 3149280},
          std::pair{TableKind::Tetrahedron3, 933120ull * 81},
          std::pair{TableKind::PiracubeClasses, 3149280ull}}) {
        const Counts& h = table(kind).histogram();
        EXPECT_EQ(table(kind).positions(), positions);
        EXPECT_EQ(std::accumulate(h.begin(), h.end(), std::uint64_t{0}), positions);
    }
}

// A solution read from the table solves the puzzle by the game's own turns and solved test in
// exactly the tabled number of moves, and not sooner. One turn of anything is one move; whole
// turns cost nothing where isSolved ignores them. The competition minimum is read in each
// puzzle's usual measure: quarter turns on the cube, orientation classes on the Piracube, the
// tetrahedron with its tips ignored. (One test, so that its program builds the tables once.)
TEST(DistanceTable, RandomNearSolvedAndImpossiblePositions) {
    std::mt19937 rng(14);
    for (TableKind kind : {TableKind::Cube2, TableKind::Piracube, TableKind::Tetrahedron3}) {
        const DistanceTable& t = table(kind);
        auto g = solvedPuzzle(kind);
        for (int trial = 0; trial < 1000; ++trial) {
            scramble(*g, t.model(), rng, 25);
            const int d = t.distance(*g);
            ASSERT_GE(d, 0);
            for (int i = 0; i < d; ++i) {
                ASSERT_FALSE(isSolved(*g)) << static_cast<int>(kind) << " trial " << trial;
                const std::optional<Move> m = t.bestMove(*g);
                ASSERT_TRUE(m.has_value());
                applyMove(*g, *m);
                ASSERT_EQ(t.distance(*g), d - i - 1);
            }
            ASSERT_TRUE(isSolved(*g)) << static_cast<int>(kind) << " trial " << trial;
            EXPECT_FALSE(t.bestMove(*g).has_value());
        }
        for (const Move& m : t.model().moves) {
            g = solvedPuzzle(kind);
            applyMove(*g, m);
            EXPECT_EQ(t.distance(*g), 1) << moveText(m);
            EXPECT_TRUE(belowCompetitionMinimum(t, *g));
        }
        // Colours no turns can make are refused: any two stickers of different colours swapped
        // (on one piece that is its mirror image, which the piece coordinates alone would pass).
        const Stickers home = t.model().solved();
        for (std::size_t i = 0; i < home.size(); ++i) {
            for (std::size_t j = i + 1; j < home.size(); ++j) {
                Stickers s = home;
                std::swap(s[i], s[j]);
                EXPECT_EQ(t.distanceOfStickers(s), s == home ? 0 : -1) << i << " " << j;
            }
        }
    }
    // Positions written as stored move texts: their distance, whether the game calls them solved
    // and whether they lie below the competition minimum.
    using Case = std::tuple<TableKind, const char*, int, bool, bool>; // and solved, below
    const Case cases[] = {
        {TableKind::Cube2, "A2L0+ A2L1+", 0, true, true},
        {TableKind::Cube2, "A1L0+ A2L0+ A3L0+", 3, false, true},
        {TableKind::Cube2, "A1L0+ A2L0+ A3L0+ A1L0+", 4, false, false},
        {TableKind::Tetrahedron3, "A3L0- A3L1- A3L2-", 0, true, true},
        // A base turn and the middle the same way: the tip alone, up to orientation.
        {TableKind::Tetrahedron3, "A1L0+ A1L1+", 1, false, true},
        // Four tips: four moves to us, none with the tips ignored.
        {TableKind::Tetrahedron3, "A1L2+ A2L2+ A3L2- A4L2+", 4, false, true},
        // Turned whole: not solved to the game, no distance at all in the usual measure.
        {TableKind::Piracube, "C0+ C7+", 2, false, true},
    };
    for (const auto& [kind, turns, distance, solved, below] : cases) {
        auto g = solvedPuzzle(kind);
        std::istringstream in(turns);
        for (std::string text; in >> text;)
            applyMove(*g, parseMove(text).value());
        EXPECT_EQ(table(kind).distance(*g), distance) << turns;
        EXPECT_EQ(isSolved(*g), solved) << turns;
        EXPECT_EQ(belowCompetitionMinimum(table(kind), *g), below) << turns;
    }

    // Every whole turn of the Piracube: a third of a turn is two halves, a half turn four.
    const DistanceTable& pira = table(TableKind::Piracube);
    const PuzzleModel& pm = pira.model();
    std::vector<int> byDistance(5);
    for (const Perm& r : pm.rotations)
        ++byDistance.at(pira.distanceOfStickers(PuzzleModel::apply(r, pm.solved())));
    EXPECT_EQ(byDistance, (std::vector<int>{1, 0, 8, 0, 3}));
    EXPECT_EQ(table(TableKind::Cube2).model().rotations.size(), 24u);

    // The least distance over the Piracube's orientations is the orientation-class distance.
    rng.seed(7);
    auto g = solvedPuzzle(TableKind::Piracube);
    int below = 0;
    for (int trial = 0; trial < 300; ++trial) {
        scramble(*g, pm, rng, 1 + trial % 9);
        const Stickers s = pm.read(*g);
        int best = 99;
        for (const Perm& r : pm.rotations)
            best = std::min(best, pira.distanceOfStickers(PuzzleModel::apply(r, s)));
        EXPECT_EQ(table(TableKind::PiracubeClasses).distance(*g), best);
        EXPECT_EQ(belowCompetitionMinimum(pira, *g), best < 7);
        below += best < 7;
    }
    EXPECT_GT(below, 0);

    // A colour out of range, another kind.
    for (int colour : {7, -1, 1000}) {
        auto cube = solvedPuzzle(TableKind::Cube2);
        cube->stickerColour[0][0][0] = colour;
        EXPECT_EQ(table(TableKind::Cube2).distance(*cube), -1);
        EXPECT_FALSE(table(TableKind::Cube2).bestMove(*cube).has_value());
        EXPECT_FALSE(belowCompetitionMinimum(table(TableKind::Cube2), *cube));
    }
    EXPECT_EQ(table(TableKind::Piracube).distance(*solvedPuzzle(TableKind::Cube2)), -1);
}

// An image reads back as the same table; any damage, another kind or another version is refused.
TEST(DistanceTable, ImageRoundTripsAndRefusesDamage) {
    const DistanceTable& t = table(TableKind::Cube2);
    const std::vector<std::uint8_t> image = t.serialize();
    const std::optional<DistanceTable> back = DistanceTable::deserialize(TableKind::Cube2, image);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->histogram(), t.histogram());
    EXPECT_EQ(back->serialize(), image);
    std::mt19937 rng(3);
    auto g = solvedPuzzle(TableKind::Cube2);
    scramble(*g, t.model(), rng, 30);
    EXPECT_EQ(back->distance(*g), t.distance(*g));

    std::vector<std::vector<std::uint8_t>> bad(4, image);
    bad[0][image.size() / 2] ^= 0x10; // a flipped bit in the codes
    bad[1].resize(image.size() - 1);  // truncated
    bad[2].clear();
    // Another version, with a checksum that fits it (FNV-1a).
    bad[3][4] = kDistanceTableVersion + 1;
    bad[3].resize(image.size() - 8);
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (std::uint8_t x : bad[3])
        h = (h ^ x) * 0x100000001b3ull;
    for (int i = 0; i < 8; ++i)
        bad[3].push_back(static_cast<std::uint8_t>(h >> (8 * i)));
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_FALSE(DistanceTable::deserialize(TableKind::Cube2, bad[i]).has_value()) << i;
    EXPECT_FALSE(DistanceTable::deserialize(TableKind::Tetrahedron3, image).has_value());
}

} // namespace
} // namespace korvane
