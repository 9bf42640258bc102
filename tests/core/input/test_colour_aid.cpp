// The colour aid: symbols inside every sticker shape the puzzles draw, in an ink that stands out;
// the colour-blind palette shaded as the game's own.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <span>
#include <tuple>

#include "fakes/recording_canvas.h"
#include "input/point_in_polygon.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "render/colour_aid.h"
#include "render/palette.h"
#include "render/renderer.h"

namespace korvane {
namespace {

using testing::RecordingCanvas;

// Every coloured polygon of real redraws (cube cells, both kinds of triangle, the Piracube's
// diamond) in several views holds each symbol inside it; where stickers are large, most get one
// (the rest are seen too nearly edge-on to hold one).
TEST(ColourSymbols, StayInsideEveryStickerShape) {
    constexpr int kPuzzles[6][3] = {{kCube, 2, 1},        {kCube, 5, 0},        {kCube, 9, 0},
                                    {kTetrahedron, 1, 1}, {kTetrahedron, 4, 0}, {kPiracube, 3, 1}};
    for (const auto& [type, level, large] : kPuzzles) {
        for (double spin : {0.0, 35.0, 100.0, 200.0}) {
            Puzzle puzzle;
            auto screen = std::make_unique<ScreenRecords>();
            buildPuzzleState(puzzle, type, level);
            spinX(puzzle, spin);
            spinY(puzzle, spin / 3);
            RecordingCanvas canvas;
            drawWholePuzzle(puzzle, View{}, canvas, *screen);
            int coloured = 0, symbols = 0;
            for (const auto& call : canvas.polygons()) {
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
