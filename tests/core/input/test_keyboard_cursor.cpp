// The keyboard cursor on built and drawn puzzles: it stands on exactly the stickers drawn, the
// arrows reach every one of them from every other, and Shift+arrow strokes name every turn the
// mouse can.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
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

// The standard view and three others, each showing other faces and angles.
constexpr std::pair<double, double> kSpins[] = {{0, 0}, {50, 20}, {130, 200}, {-70, 95}};

struct Drawn {
    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    int cells = 0; // the stickers' black cells the redraw drew
};

Drawn drawn(int type, int level, std::pair<double, double> spin) {
    Drawn d;
    buildPuzzleState(*d.g, type, level);
    spinX(*d.g, spin.first);
    spinY(*d.g, spin.second);
    testing::RecordingCanvas canvas;
    d.g->renderMode = 1;
    renderPuzzle(*d.g, canvas);
    for (const auto& call : canvas.polygons()) {
        // The Piracube's centre diamonds (4 points) are not pressable and hold no cursor.
        d.cells += call.pen == Pen::Thin && (type != kPiracube || call.points.size() == 3);
    }
    return d;
}

// The stickers the arrows reach from stickers[0], following them forwards or backwards.
int reached(const std::vector<CursorSticker>& stickers, bool backwards) {
    const int n = static_cast<int>(stickers.size());
    std::vector<std::vector<int>> next(n);
    for (int i = 0; i < n; ++i) {
        for (Arrow a : kArrows) {
            const int j = neighbourSticker(stickers, i, a);
            backwards ? next[j].push_back(i) : next[i].push_back(j);
        }
    }
    std::vector<bool> seen(n, false);
    std::vector<int> todo{0};
    seen[0] = true;
    int count = 1;
    while (!todo.empty()) {
        const int i = todo.back();
        todo.pop_back();
        for (int j : next[i]) {
            if (!seen[j]) {
                seen[j] = true;
                ++count;
                todo.push_back(j);
            }
        }
    }
    return count;
}

using Cell = std::tuple<int, int, int>;
Cell cellOf(StickerHit h) {
    return {h.slot, h.row, h.col};
}

// Every sticker some pixel of the picture presses.
std::set<Cell> pressable(const GameState& g) {
    std::set<Cell> cells;
    for (int y = 0; y < 322; ++y) {
        for (int x = 0; x < 242; ++x) {
            const StickerHit hit = hitTestPress(g, x, y);
            if (hit.slot != 0) {
                cells.insert(cellOf(hit));
            }
        }
    }
    return cells;
}

// The cursor stands on every sticker a press can find and no other (a sliver a neighbour covers
// whole has no place), and the arrows lead from each to every other.
TEST(KeyboardCursor, ReachesEveryDrawnStickerFromEveryOther) {
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
            const Drawn d = drawn(type, level, spin);
            const std::vector<CursorSticker> stickers = cursorStickers(*d.g);
            std::set<Cell> listed;
            for (const CursorSticker& s : stickers) {
                const StickerHit hit = hitTestPress(*d.g, s.press.x, s.press.y);
                ASSERT_EQ(cellOf(hit), cellOf(s.id));
                listed.insert(cellOf(s.id));
            }
            ASSERT_LE(static_cast<int>(stickers.size()), d.cells);
            if (level <= 4) {
                EXPECT_EQ(listed, pressable(*d.g));
            }
            const int all = static_cast<int>(stickers.size());
            EXPECT_EQ(reached(stickers, false), all);
            EXPECT_EQ(reached(stickers, true), all);
        }
    }
}

using Turn = std::tuple<int, int, int, int>; // op, dir, layer, corner

// A stroke pressed at one sticker's press point and released at another's, as the mouse makes it.
std::set<Turn> strokeTurns(GameState& g, const std::vector<CursorSticker>& stickers, int from,
                           const std::vector<int>& to) {
    std::set<Turn> turns;
    const StickerHit hit = hitTestPress(g, stickers[from].press.x, stickers[from].press.y);
    g.gestureState = hit.slot;
    g.pressedRow = hit.row;
    g.pressedCol = hit.col;
    for (int j : to) {
        const TurnRequest t = decodeStroke(g, stickers[j].press.x, stickers[j].press.y);
        if (t.op != 0) {
            turns.emplace(t.op, t.dir, t.layer, t.corner);
        }
    }
    return turns;
}

// The stickers a stroke from stickers[i] can be aimed at: any on its own face, and those of
// other faces whose press point does not also lie on a sticker of the pressed face (where a face
// seen nearly edge-on has slivers under its neighbour's stickers, which no press finds).
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

// Every turn a mouse stroke between two drawn stickers names, some cursor position names with
// Shift and an arrow (whose strokes are such mouse strokes).
TEST(KeyboardCursor, ShiftArrowsNameEveryTurnTheMouseCan) {
    const std::pair<int, int> puzzles[] = {{kCube, 1},        {kCube, 3},        {kCube, 6},
                                           {kTetrahedron, 1}, {kTetrahedron, 2}, {kTetrahedron, 4},
                                           {kPiracube, 3}};
    for (const auto& [type, level] : puzzles) {
        for (const auto& spin : kSpins) {
            SCOPED_TRACE(::testing::Message() << "kind " << type << " level " << level << " spin "
                                              << spin.first << ", " << spin.second);
            const Drawn d = drawn(type, level, spin);
            const std::vector<CursorSticker> stickers = cursorStickers(*d.g);
            std::set<Turn> mouse, keys;
            for (int i = 0; i < static_cast<int>(stickers.size()); ++i) {
                const std::vector<int> aims = aimedFrom(*d.g, stickers, i);
                mouse.merge(strokeTurns(*d.g, stickers, i, aims));
                std::vector<int> neighbours;
                for (Arrow a : kArrows) {
                    const int j = neighbourSticker(stickers, i, a);
                    if (std::find(aims.begin(), aims.end(), j) != aims.end()) {
                        neighbours.push_back(j);
                    }
                }
                keys.merge(strokeTurns(*d.g, stickers, i, neighbours));
            }
            std::vector<Turn> missing;
            std::set_difference(mouse.begin(), mouse.end(), keys.begin(), keys.end(),
                                std::back_inserter(missing));
            EXPECT_EQ(missing, std::vector<Turn>{});
        }
    }
}

// Plain records: a 3 x 3 grid turned 30 degrees keeps the arrows on its rows and columns, a lone
// sticker off to one side is still found, and an edge of the picture or a bad index goes nowhere.
TEST(KeyboardCursor, ArrowsFollowTheGridOnScreen) {
    std::vector<CursorSticker> grid;
    const double c = std::cos(0.5236), s = std::sin(0.5236);
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 3; ++k) {
            CursorSticker t;
            t.id = {1, r, k};
            t.x = 100 + 20 * (k * c - r * s);
            t.y = 100 + 20 * (k * s + r * c);
            grid.push_back(t);
        }
    }
    struct Case {
        int from;
        Arrow arrow;
        int to;
    };
    const Case cases[] = {{4, Arrow::Right, 5}, {4, Arrow::Down, 7}, {4, Arrow::Left, 3},
                          {4, Arrow::Up, 1},    {0, Arrow::Up, 0},   {2, Arrow::Right, 2},
                          {9, Arrow::Up, 9},    {-1, Arrow::Up, -1}};
    for (const Case& t : cases) {
        EXPECT_EQ(neighbourSticker(grid, t.from, t.arrow), t.to) << t.from;
    }
    EXPECT_EQ(findCursorSticker(grid, {1, 2, 1}), 7);
    EXPECT_EQ(findCursorSticker(grid, {2, 2, 1}), -1);
    EXPECT_EQ(nearestSticker(grid, 100, 100), 0);
    EXPECT_EQ(nearestSticker({}, 100, 100), -1);
}

} // namespace
} // namespace korvane
