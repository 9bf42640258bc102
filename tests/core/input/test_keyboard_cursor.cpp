// The keyboard cursor on built and drawn puzzles of every kind and level in several views: it
// stands on exactly the stickers a press can find (the press judged against the picture drawn),
// the arrows lead from each to every other, and Shift+arrow strokes name every turn a mouse stroke
// between two stickers can.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <set>
#include <tuple>
#include <vector>

#include "fakes/recording_canvas.h"
#include "input/keyboard_cursor.h"
#include "input/sticker_scan.h"
#include "input/strokes.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "render/renderer.h"

namespace korvane {
namespace {

constexpr Arrow kArrows[] = {Arrow::Up, Arrow::Down, Arrow::Left, Arrow::Right};
// The standard view and four others: (130, 200) shows a cube face so nearly edge-on that a press
// finds only some of its slivers; (106.5, 120.12) two tetrahedron faces, whose tips are turned by
// strokes across the edges between slivers.
constexpr std::pair<double, double> kSpins[] = {
    {0, 0}, {50, 20}, {130, 200}, {-70, 95}, {106.5, 120.12}};

using Cell = std::tuple<int, int, int>;

// A puzzle built, spun and drawn whole, with the gesture a stroke starts from.
struct Drawn {
    Puzzle puzzle;
    ScreenRecords screen;
    Gesture gesture;
    StylusTarget target() const { return {puzzle, screen, gesture}; }
};

std::unique_ptr<Drawn> drawn(int type, int level, std::pair<double, double> spin) {
    auto d = std::make_unique<Drawn>();
    buildPuzzleState(d->puzzle, type, level);
    spinX(d->puzzle, spin.first);
    spinY(d->puzzle, spin.second);
    testing::RecordingCanvas canvas;
    drawWholePuzzle(d->puzzle, View{}, canvas, d->screen);
    return d;
}

// Whether the arrows lead from stickers[0] to every sticker, followed forwards or backwards.
bool allReached(const std::vector<CursorSticker>& stickers, bool backwards) {
    std::vector<std::pair<int, int>> moves;
    for (int i = 0; i < static_cast<int>(stickers.size() * 4); ++i) {
        const int to = neighbourSticker(stickers, i / 4, kArrows[i % 4]);
        moves.push_back(backwards ? std::pair(to, i / 4) : std::pair(i / 4, to));
    }
    std::vector<bool> seen(stickers.size(), false);
    seen[0] = true;
    for (bool grew = true; grew;) {
        grew = false;
        for (auto [from, to] : moves) {
            grew = grew || (seen[from] && !seen[to]);
            seen[to] = seen[to] || seen[from];
        }
    }
    return std::count(seen.begin(), seen.end(), false) == 0;
}

// The turns of strokes pressed at stickers[from].press and released at each aim's press point.
// A stroke aims only at stickers of its own face, or of other faces where the press point does
// not also lie on a sticker of the pressed face (a face seen nearly edge-on has slivers under its
// neighbour's stickers, which no press finds).
std::set<Move> strokeTurns(Drawn& d, const std::vector<CursorSticker>& stickers, int from,
                           const std::vector<int>& aims) {
    std::set<Move> turns;
    const CursorSticker& s = stickers[from];
    d.gesture = Gesture{s.id.slot, s.id.row, s.id.col};
    const StylusTarget g = d.target();
    for (int j : aims) {
        const Point p = stickers[j].press;
        const Move t = decodeStroke(g, p.x, p.y);
        const bool aimed = stickers[j].id.slot == s.id.slot ||
                           findSticker(g, d.puzzle.puzzleType, s.id.slot, p.x, p.y).slot == 0;
        if (!t.isNone() && aimed)
            turns.insert(t);
    }
    return turns;
}

// Shift+arrow strokes: tetrahedra need the free arrow for the layers along a face's third line
// and the corner strokes across face edges; the Piracube turns only across them.
TEST(KeyboardCursor, ReachesEveryStickerAndNamesEveryTurnTheMouseCan) {
    constexpr int kLevels[][2] = {{}, {1, kMaxCubeSize}, {1, kMaxTetraSize}, {3, 3}}; // by kind
    for (int type : {kCube, kTetrahedron, kPiracube})
        for (int level = kLevels[type][0]; level <= kLevels[type][1]; ++level)
            for (const auto& spin : kSpins) {
                SCOPED_TRACE(::testing::Message()
                             << "kind " << type << " level " << level << " spin " << spin.first);
                const auto g = drawn(type, level, spin);
                const std::vector<CursorSticker> stickers = cursorStickers(g->target());
                std::set<Cell> listed, pressable;
                for (const CursorSticker& s : stickers) {
                    const Cell id(s.id.slot, s.id.row, s.id.col);
                    const StickerHit hit = hitTestPress(g->target(), s.press.x, s.press.y);
                    EXPECT_EQ(Cell(hit.slot, hit.row, hit.col), id);
                    listed.insert(id);
                }
                // Every sticker some pixel of the picture presses (slow for many small stickers).
                for (int i = 0; i < 242 * 322 && level <= 4; ++i) {
                    const StickerHit hit = hitTestPress(g->target(), i % 242, i / 242);
                    if (hit.slot != 0)
                        pressable.emplace(hit.slot, hit.row, hit.col);
                }
                EXPECT_TRUE(level > 4 || listed == pressable);
                EXPECT_TRUE(allReached(stickers, false));
                EXPECT_TRUE(allReached(stickers, true));
                std::set<Move> mouse, keys;
                for (int i = 0; i < static_cast<int>(stickers.size()) && level <= 6; ++i) {
                    std::vector<int> all(stickers.size()), neighbours;
                    std::iota(all.begin(), all.end(), 0);
                    for (Arrow a : kArrows)
                        neighbours.push_back(neighbourSticker(stickers, i, a));
                    mouse.merge(strokeTurns(*g, stickers, i, all));
                    keys.merge(strokeTurns(*g, stickers, i, neighbours));
                }
                EXPECT_EQ(keys, mouse);
            }
}

} // namespace
} // namespace korvane
