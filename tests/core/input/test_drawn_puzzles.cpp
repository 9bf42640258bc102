// Built and drawn puzzles of every kind and level in several views. The keyboard cursor stands
// on exactly the stickers a press can find (the press judged against the picture drawn), the
// arrows lead from each to every other, and Shift+arrow strokes name every turn a mouse stroke
// between two stickers can. The colour aid's symbols stay inside every sticker shape, in an ink
// that stands out; the colour-blind palette is shaded as the game's own.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <set>
#include <span>
#include <tuple>
#include <vector>

#include "fakes/recording_canvas.h"
#include "input/keyboard_cursor.h"
#include "input/point_in_polygon.h"
#include "input/sticker_scan.h"
#include "input/strokes.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "render/colour_aid.h"
#include "render/palette.h"
#include "render/renderer.h"

namespace korvane {
namespace {

using testing::RecordingCanvas;

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
    RecordingCanvas canvas;
    StylusTarget target() const { return {puzzle, screen, gesture}; }
};

std::unique_ptr<Drawn> drawn(int type, int level, std::pair<double, double> spin) {
    auto d = std::make_unique<Drawn>();
    buildPuzzleState(d->puzzle, type, level);
    spinX(d->puzzle, spin.first);
    spinY(d->puzzle, spin.second);
    drawWholePuzzle(d->puzzle, View{}, d->canvas, d->screen);
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

// Every coloured polygon of real redraws (cube cells, both kinds of triangle, the Piracube's
// diamond) in several views holds each symbol inside it; where stickers are large, most get one
// (the rest are seen too nearly edge-on to hold one).
TEST(ColourSymbols, StayInsideEveryStickerShape) {
    constexpr int kPuzzles[6][3] = {{kCube, 2, 1},        {kCube, 5, 0},        {kCube, 9, 0},
                                    {kTetrahedron, 1, 1}, {kTetrahedron, 4, 0}, {kPiracube, 3, 1}};
    for (const auto& [type, level, large] : kPuzzles) {
        for (double spin : {0.0, 35.0, 100.0, 200.0}) {
            int coloured = 0, symbols = 0;
            for (const auto& call : drawn(type, level, {spin, spin / 3})->canvas.polygons()) {
                const int n = static_cast<int>(call.points.size());
                coloured += call.pen == Pen::Null;
                for (int symbol = 0; symbol < kColourSymbols && call.pen == Pen::Null; ++symbol) {
                    const SymbolShape s = symbolOnSticker(call.points.data(), n, symbol);
                    symbols += s.partCount > 0;
                    for (const SymbolPart& part : std::span(s.parts, s.partCount))
                        for (const Point& p : std::span(part.p, part.count))
                            ASSERT_TRUE(pointInPolygon(call.points.data(), n, p.x, p.y))
                                << "kind " << type << " level " << level << " spin " << spin;
                }
            }
            EXPECT_TRUE(!large || spin != 0.0 || symbols * 3 >= coloured * kColourSymbols * 2)
                << "kind " << type;
        }
    }
}

// White stickers get black symbols, dark blue ones white; the canvas is left as it was found.
TEST(ColourSymbols, AreDrawnInContrastingInkAndLeaveTheCanvasAsFound) {
    const Point cell[4] = {{10, 10}, {60, 10}, {60, 60}, {10, 60}};
    for (const auto& [number, brightness, ink, parts] :
         {std::tuple(0, 255, Rgb{0, 0, 0}, 1), std::tuple(4, 117, Rgb{255, 255, 255}, 2),
          std::tuple(9, 255, Rgb{}, 0)}) {
        RecordingCanvas canvas;
        canvas.brush = Brush{{1, 2, 3}};
        canvas.pen = Pen::Thin;
        drawColourSymbol(canvas, cell, 4, kCube, number, stickerRgb(kCube, number, brightness));
        ASSERT_EQ(static_cast<int>(canvas.calls.size()), parts);
        for (const auto& call : canvas.calls)
            EXPECT_EQ(std::pair(call.brush.colour, call.pen), std::pair(ink, Pen::Null));
        EXPECT_EQ(std::pair(canvas.brush, canvas.pen), std::pair(Brush{{1, 2, 3}}, Pen::Thin));
    }
}

// The colour-blind palette replaces the game's colours (not its grey) and shades each as the
// game does: no channel drops as the face turns towards the light.
TEST(ColourBlindPalette, ReplacesTheColoursAndKeepsTheShading) {
    for (int i = 0; i < 2 * 6 * 256; ++i) {
        const int type = i < 6 * 256 ? kCube : kTetrahedron, n = i / 256 % 6;
        const Rgb c = colourBlindStickerRgb(type, n, i % 256);
        const Rgb last = colourBlindStickerRgb(type, n, std::max(i % 256 - 1, 0));
        EXPECT_TRUE(c.r >= last.r && c.g >= last.g && c.b >= last.b) << n << " at " << i % 256;
    }
    EXPECT_NE(colourBlindStickerRgb(kCube, 1, 200), stickerRgb(kCube, 1, 200));
    EXPECT_EQ(colourBlindStickerRgb(kTetrahedron, 4, 200), stickerRgb(kTetrahedron, 4, 200));
    EXPECT_EQ(colourBlindStickerRgb(kCube, 3, 0), (Rgb{0, 0, 0}));
}

} // namespace
} // namespace korvane
