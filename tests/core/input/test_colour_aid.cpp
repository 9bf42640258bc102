// The colour aid: symbols told apart from each other, inside every sticker shape the puzzles
// draw, in an ink that stands out; the colour-blind palette apart under simulated colour-vision
// deficiencies and shaded as the game's own.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

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

bool inSymbol(const SymbolShape& s, int x, int y) {
    for (int i = 0; i < s.partCount; ++i) {
        if (pointInPolygon(s.parts[i].p, s.parts[i].count, x, y)) {
            return true;
        }
    }
    return false;
}

// Share of the pixels of either symbol that only one of them covers, on one sticker.
double difference(const SymbolShape& a, const SymbolShape& b) {
    int either = 0;
    int one = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool inA = inSymbol(a, x, y), inB = inSymbol(b, x, y);
            either += inA || inB;
            one += inA != inB;
        }
    }
    return either == 0 ? 0.0 : static_cast<double>(one) / either;
}

// A face may be seen turned any way, so a symbol must not pass for another one turned: each pair
// differs in nearly half of its pixels with the sticker's corners taken from any of them.
TEST(ColourSymbols, DifferFromEachOtherTurnedAnyWay) {
    const std::vector<std::vector<Point>> stickers = {{{20, 20}, {180, 20}, {180, 180}, {20, 180}},
                                                      {{100, 10}, {190, 170}, {10, 170}}};
    for (const auto& sticker : stickers) {
        const int n = static_cast<int>(sticker.size());
        for (int a = 0; a < kColourSymbols; ++a) {
            const SymbolShape upright = symbolOnSticker(sticker.data(), n, a);
            for (int b = a + 1; b < kColourSymbols; ++b) {
                for (int turn = 0; turn < n; ++turn) {
                    std::vector<Point> turned(n);
                    for (int i = 0; i < n; ++i) {
                        turned[i] = sticker[(i + turn) % n];
                    }
                    const SymbolShape other = symbolOnSticker(turned.data(), n, b);
                    EXPECT_GT(difference(upright, other), 0.45)
                        << a << " vs " << b << " turned " << turn << " on " << n << " corners";
                }
            }
        }
    }
}

// Every coloured polygon of real redraws (cube cells, both triangles and the Piracube's diamond),
// in several views: each symbol lies inside the polygon, and where stickers are large most of
// them get one (the rest are seen too nearly edge-on to hold one).
TEST(ColourSymbols, StayInsideEveryStickerShape) {
    const std::array<std::array<int, 3>, 6> puzzles = {{{kCube, 2, 1},
                                                        {kCube, 5, 0},
                                                        {kCube, 9, 0},
                                                        {kTetrahedron, 1, 1},
                                                        {kTetrahedron, 4, 0},
                                                        {kPiracube, 3, 1}}};
    for (const auto& [type, level, everyOne] : puzzles) {
        for (double spin : {0.0, 35.0, 100.0, 200.0}) {
            auto g = std::make_unique<GameState>();
            buildPuzzleState(*g, type, level);
            spinX(*g, spin);
            spinY(*g, spin / 3);
            RecordingCanvas canvas;
            g->renderMode = 1;
            renderPuzzle(*g, canvas);
            int coloured = 0, symbols = 0;
            for (const auto& call : canvas.polygons()) {
                if (call.pen != Pen::Null) {
                    continue; // the black cells
                }
                const int n = static_cast<int>(call.points.size());
                ++coloured;
                for (int symbol = 0; symbol < kColourSymbols; ++symbol) {
                    const SymbolShape s = symbolOnSticker(call.points.data(), n, symbol);
                    symbols += s.partCount > 0;
                    for (int i = 0; i < s.partCount; ++i) {
                        for (int k = 0; k < s.parts[i].count; ++k) {
                            const Point p = s.parts[i].p[k];
                            ASSERT_TRUE(pointInPolygon(call.points.data(), n, p.x, p.y))
                                << "kind " << type << " level " << level << " spin " << spin;
                        }
                    }
                }
            }
            if (everyOne && spin == 0.0) {
                EXPECT_GE(symbols * 3, coloured * kColourSymbols * 2) << "kind " << type;
            }
        }
    }
}

TEST(ColourSymbols, AreDrawnInContrastingInkAndLeaveTheCanvasAsFound) {
    const Point cell[4] = {{10, 10}, {60, 10}, {60, 60}, {10, 60}};
    struct Case {
        int type, number;
        Rgb sticker, ink;
        int parts;
    };
    const Case cases[] = {
        {kCube, 0, stickerRgb(kCube, 0, 255), {0, 0, 0}, 1},               // white: a disc
        {kCube, 4, stickerRgb(kCube, 4, 117), {255, 255, 255}, 2},         // dark blue: two dots
        {kTetrahedron, 1, stickerRgb(kTetrahedron, 1, 200), {0, 0, 0}, 4}, // green row: a frame
        {kCube, 7, {85, 85, 85}, {255, 255, 255}, 0},                      // no colour: nothing
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        canvas.brush = Brush{{1, 2, 3}};
        canvas.pen = Pen::Thin;
        drawColourSymbol(canvas, cell, 4, c.type, c.number, c.sticker);
        ASSERT_EQ(static_cast<int>(canvas.calls.size()), c.parts);
        for (const auto& call : canvas.calls) {
            EXPECT_EQ(call.brush.colour, c.ink);
            EXPECT_EQ(call.pen, Pen::Null);
        }
        EXPECT_EQ(canvas.brush, (Brush{{1, 2, 3}}));
        EXPECT_EQ(canvas.pen, Pen::Thin);
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
    const double in[3] = {linear(c.r), linear(c.g), linear(c.b)};
    double l[3];
    for (int i = 0; i < 3; ++i) {
        l[i] = std::clamp(m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2], 0.0, 1.0);
    }
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    const double x = f((0.4124 * l[0] + 0.3576 * l[1] + 0.1805 * l[2]) / 0.95047);
    const double y = f(0.2126 * l[0] + 0.7152 * l[1] + 0.0722 * l[2]);
    const double z = f((0.0193 * l[0] + 0.1192 * l[1] + 0.9505 * l[2]) / 1.08883);
    return {116 * y - 16, 500 * (x - y), 200 * (y - z)};
}

using PaletteFn = Rgb (*)(int, int, int);

// The least difference between two of the six colours on faces of equal brightness lo..255.
double closestPair(PaletteFn palette, int lo) {
    double closest = 1e9;
    for (const Matrix* m : {&kProtanopia, &kDeuteranopia}) {
        for (int b = lo; b <= 255; ++b) {
            for (int i = 0; i < 6; ++i) {
                for (int j = i + 1; j < 6; ++j) {
                    const auto p = seenLab(palette(kCube, i, b), *m);
                    const auto q = seenLab(palette(kCube, j, b), *m);
                    closest = std::min(closest, std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]));
                }
            }
        }
    }
    return closest;
}

// Cube and Piracube faces are shown from brightness 117, tetrahedron faces from 80. The game's
// own palette comes down to a difference of 6.5 there.
TEST(ColourBlindPalette, StaysApartUnderProtanopiaAndDeuteranopia) {
    EXPECT_GE(closestPair(colourBlindStickerRgb, 117), 12.0);
    EXPECT_GE(closestPair(colourBlindStickerRgb, 80), 9.0);
    EXPECT_LT(closestPair(stickerRgb, 117), 12.0);
}

TEST(ColourBlindPalette, FollowsTheFaceBrightnessAsTheGamesOwnDoes) {
    for (int type : {kCube, kTetrahedron, kPiracube}) {
        for (int n = 0; n < (type == kTetrahedron ? 4 : 6); ++n) {
            Rgb last{};
            for (int b = 0; b <= 255; ++b) {
                const Rgb c = colourBlindStickerRgb(type, n, b);
                EXPECT_TRUE(c.r >= last.r && c.g >= last.g && c.b >= last.b) << n << " at " << b;
                last = c;
            }
            EXPECT_EQ(colourBlindStickerRgb(type, n, 0), (Rgb{0, 0, 0}));
        }
    }
    EXPECT_EQ(colourBlindStickerRgb(kTetrahedron, 4, 200), stickerRgb(kTetrahedron, 4, 200));
    EXPECT_EQ(colourBlindStickerRgb(kCube, 3, 255), (Rgb{240, 228, 66}));
}

} // namespace
} // namespace korvane
