// The colour aid: symbols inside every sticker shape the puzzles draw, in an ink that stands out;
// the colour-blind palette apart under simulated colour-vision deficiencies and shaded as the
// game's own.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
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

// Colour-vision deficiencies simulated on linear RGB (Machado, Oliveira and Fernandes 2009,
// severity 1), compared as CIE 1976 colour differences.
using Matrix = std::array<std::array<double, 3>, 3>;
constexpr Matrix kProtanopia = {{{0.152286, 1.052583, -0.204868},
                                 {0.114503, 0.786281, 0.099216},
                                 {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia = {{{0.367322, 0.860646, -0.227968},
                                   {0.280085, 0.672501, 0.047413},
                                   {-0.011820, 0.042940, 0.968881}}};

std::array<double, 3> seenLab(Rgb c, const Matrix& m) {
    const auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    const double in[3] = {linear(c.r), linear(c.g), linear(c.b)};
    double l[3];
    for (int i = 0; i < 3; ++i)
        l[i] = std::clamp(m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2], 0.0, 1.0);
    const double x = f((0.4124 * l[0] + 0.3576 * l[1] + 0.1805 * l[2]) / 0.95047);
    const double y = f(0.2126 * l[0] + 0.7152 * l[1] + 0.0722 * l[2]);
    const double z = f((0.0193 * l[0] + 0.1192 * l[1] + 0.9505 * l[2]) / 1.08883);
    return {116 * y - 16, 500 * (x - y), 200 * (y - z)};
}

// The least difference between two of the six colours on faces of equal brightness lo..255.
double closestPair(Rgb (*palette)(int, int, int), int lo) {
    double closest = 1e9;
    for (const Matrix* m : {&kProtanopia, &kDeuteranopia})
        for (int i = 0; i < 6 * 6 * (256 - lo); ++i) {
            const int a = i % 6, b = i / 6 % 6, brightness = lo + i / 36;
            const auto p = seenLab(palette(kCube, a, brightness), *m);
            const auto q = seenLab(palette(kCube, b, brightness), *m);
            if (a < b)
                closest = std::min(closest, std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]));
        }
    return closest;
}

// Cube and Piracube faces are shown from brightness 117, tetrahedron faces from 80; the game's
// own palette comes down to a difference of 6.5 there. Channels follow the brightness.
TEST(ColourBlindPalette, StaysApartUnderProtanopiaAndDeuteranopiaAndKeepsTheShading) {
    EXPECT_GE(closestPair(colourBlindStickerRgb, 117), 12.0);
    EXPECT_GE(closestPair(colourBlindStickerRgb, 80), 9.0);
    EXPECT_LT(closestPair(stickerRgb, 117), 12.0);
    for (int i = 0; i < 2 * 6 * 256; ++i) {
        const int type = i < 6 * 256 ? kCube : kTetrahedron, n = i / 256 % 6;
        const Rgb c = colourBlindStickerRgb(type, n, i % 256);
        const Rgb last = colourBlindStickerRgb(type, n, std::max(i % 256 - 1, 0));
        EXPECT_TRUE(c.r >= last.r && c.g >= last.g && c.b >= last.b) << n << " at " << i % 256;
    }
    EXPECT_EQ(colourBlindStickerRgb(kTetrahedron, 4, 200), stickerRgb(kTetrahedron, 4, 200));
    EXPECT_EQ(colourBlindStickerRgb(kCube, 3, 0), (Rgb{0, 0, 0}));
}

} // namespace
} // namespace korvane
