// The keyboard cursor on built and drawn puzzles of every kind and level in several views: it
// stands on exactly the stickers a press can find, the arrows lead from each to every other, and
// Shift+arrow strokes name every turn a mouse stroke between two stickers can.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "fakes/recording_canvas.h"
#include "input/keyboard_cursor.h"
#include "input/sticker_scan.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "render/renderer.h"

namespace korvane {
namespace {

constexpr Arrow kArrows[] = {Arrow::Up, Arrow::Down, Arrow::Left, Arrow::Right};
// The standard view and three others; (130, 200) shows a cube face so nearly edge-on that some
// of its slivers no press finds.
constexpr std::pair<double, double> kSpins[] = {{0, 0}, {50, 20}, {130, 200}, {-70, 95}};

using Cell = std::tuple<int, int, int>;
using Turn = std::tuple<int, int, int, int>; // op, dir, layer, corner

Cell cellOf(StickerHit h) {
    return {h.slot, h.row, h.col};
}

std::unique_ptr<GameState> drawn(int type, int level, std::pair<double, double> spin) {
    auto g = std::make_unique<GameState>();
    buildPuzzleState(*g, type, level);
    spinX(*g, spin.first);
    spinY(*g, spin.second);
    testing::RecordingCanvas canvas;
    g->renderMode = 1;
    renderPuzzle(*g, canvas);
    return g;
}

// Every sticker some pixel of the picture presses.
std::set<Cell> pressable(const GameState& g) {
    std::set<Cell> cells;
    for (int i = 0; i < 242 * 322; ++i) {
        const StickerHit hit = hitTestPress(g, i % 242, i / 242);
        if (hit.slot != 0) {
            cells.insert(cellOf(hit));
        }
    }
    return cells;
}

// How many stickers the arrows lead to from stickers[0], followed forwards or backwards.
int reached(const std::vector<CursorSticker>& stickers, bool backwards) {
    const int n = static_cast<int>(stickers.size());
    std::vector<std::pair<int, int>> moves;
    for (int i = 0; i < n; ++i) {
        for (Arrow a : kArrows) {
            const int j = neighbourSticker(stickers, i, a);
            moves.emplace_back(backwards ? j : i, backwards ? i : j);
        }
    }
    std::vector<bool> seen(n, false);
    seen[0] = true;
    for (bool grew = true; grew;) {
        grew = false;
        for (auto [from, to] : moves) {
            if (seen[from] && !seen[to]) {
                seen[to] = grew = true;
            }
        }
    }
    return static_cast<int>(std::count(seen.begin(), seen.end(), true));
}

TEST(KeyboardCursor, ReachesEveryPressableStickerFromEveryOther) {
    std::vector<std::pair<int, int>> puzzles{{kPiracube, 3}};
    for (int n = 1; n <= kMaxCubeSize; ++n) {
        puzzles.emplace_back(kCube, n);
    }
    for (int n = 1; n <= kMaxTetraSize; ++n) {
        puzzles.emplace_back(kTetrahedron, n);
    }
    for (const auto& [type, level] : puzzles) {
        for (const auto& spin : kSpins) {
            SCOPED_TRACE(::testing::Message() << "kind " << type << " level " << level << " spin "
                                              << spin.first << ", " << spin.second);
            const auto g = drawn(type, level, spin);
            const std::vector<CursorSticker> stickers = cursorStickers(*g);
            std::set<Cell> listed;
            for (const CursorSticker& s : stickers) {
                ASSERT_EQ(cellOf(hitTestPress(*g, s.press.x, s.press.y)), cellOf(s.id));
                listed.insert(cellOf(s.id));
            }
            if (level <= 4) { // the whole-picture scan is slow for the many small stickers
                EXPECT_EQ(listed, pressable(*g));
            }
            EXPECT_EQ(reached(stickers, false), static_cast<int>(stickers.size()));
            EXPECT_EQ(reached(stickers, true), static_cast<int>(stickers.size()));
        }
    }
}

// On cube faces seen well, every arrow moves the cursor the way it points (a triangle's free
// arrow may have to go back along its line at the edge of a face).
TEST(KeyboardCursor, ArrowsMoveTheWayTheyPoint) {
    for (int level : {1, 3, 5}) {
        for (const auto& spin : {kSpins[0], kSpins[1], kSpins[3]}) {
            const auto g = drawn(kCube, level, spin);
            const std::vector<CursorSticker> stickers = cursorStickers(*g);
            for (int i = 0; i < static_cast<int>(stickers.size()); ++i) {
                for (Arrow a : kArrows) {
                    const CursorSticker& t = stickers[neighbourSticker(stickers, i, a)];
                    const double dx = t.x - stickers[i].x, dy = t.y - stickers[i].y;
                    const double ahead = a == Arrow::Up     ? -dy
                                         : a == Arrow::Down ? dy
                                         : a == Arrow::Left ? -dx
                                                            : dx;
                    EXPECT_GE(ahead, 0.0) << "level " << level << " spin " << spin.first;
                }
            }
        }
    }
}

// The stickers a stroke from stickers[i] can aim at: any of its own face, and those of other
// faces whose press point does not also lie on a sticker of the pressed face (a face seen nearly
// edge-on has slivers under its neighbour's stickers, which no press finds).
std::vector<int> aimedFrom(const GameState& g, const std::vector<CursorSticker>& stickers, int i) {
    std::vector<int> aims;
    const int slot = stickers[i].id.slot;
    for (int j = 0; j < static_cast<int>(stickers.size()); ++j) {
        const Point p = stickers[j].press;
        if (stickers[j].id.slot == slot || findSticker(g, g.puzzleType, slot, p.x, p.y).slot == 0) {
            aims.push_back(j);
        }
    }
    return aims;
}

// The turns of strokes pressed at stickers[from].press and released at each aim's press.
std::set<Turn> strokeTurns(GameState& g, const std::vector<CursorSticker>& stickers, int from,
                           const std::vector<int>& aims) {
    std::set<Turn> turns;
    const StickerHit hit = hitTestPress(g, stickers[from].press.x, stickers[from].press.y);
    g.gestureState = hit.slot;
    g.pressedRow = hit.row;
    g.pressedCol = hit.col;
    for (int j : aims) {
        const TurnRequest t = decodeStroke(g, stickers[j].press.x, stickers[j].press.y);
        if (t.op != 0) {
            turns.emplace(t.op, t.dir, t.layer, t.corner);
        }
    }
    return turns;
}

// Tetrahedra need the free arrow for the layers along a face's third line, and the corner
// strokes across face edges; the Piracube turns only across them.
TEST(KeyboardCursor, ShiftArrowsNameEveryTurnTheMouseCan) {
    const std::pair<int, int> puzzles[] = {{kCube, 1},        {kCube, 3},        {kCube, 6},
                                           {kTetrahedron, 1}, {kTetrahedron, 2}, {kTetrahedron, 4},
                                           {kPiracube, 3}};
    for (const auto& [type, level] : puzzles) {
        for (const auto& spin : kSpins) {
            SCOPED_TRACE(::testing::Message() << "kind " << type << " level " << level << " spin "
                                              << spin.first << ", " << spin.second);
            const auto g = drawn(type, level, spin);
            const std::vector<CursorSticker> stickers = cursorStickers(*g);
            std::set<Turn> mouse, keys;
            for (int i = 0; i < static_cast<int>(stickers.size()); ++i) {
                const std::vector<int> aims = aimedFrom(*g, stickers, i);
                mouse.merge(strokeTurns(*g, stickers, i, aims));
                std::vector<int> neighbours;
                for (Arrow a : kArrows) {
                    const int j = neighbourSticker(stickers, i, a);
                    if (std::find(aims.begin(), aims.end(), j) != aims.end()) {
                        neighbours.push_back(j);
                    }
                }
                keys.merge(strokeTurns(*g, stickers, i, neighbours));
            }
            std::vector<Turn> missing;
            std::set_difference(mouse.begin(), mouse.end(), keys.begin(), keys.end(),
                                std::back_inserter(missing));
            EXPECT_EQ(missing, std::vector<Turn>{});
        }
    }
}

} // namespace
} // namespace korvane
