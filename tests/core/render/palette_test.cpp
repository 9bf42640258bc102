#include <gtest/gtest.h>

#include <vector>

#include "render/palette.h"
#include "render/sticker.h"

namespace korvane {
namespace {

TEST(Shade, FollowsTheNormalUpToTheLimit) {
    EXPECT_EQ(faceBrightness(kCube, 1.0), 255);
    EXPECT_EQ(faceBrightness(kPiracube, 0.2), 130);
    EXPECT_EQ(faceBrightness(kTetrahedron, 0.5), 186);
    EXPECT_EQ(faceBrightness(kTetrahedron, 1.0), 255);
}

struct ColourCase {
    int type;
    int number;
    int brightness;
    Rgb colour;
};
class StickerColour : public ::testing::TestWithParam<ColourCase> {};

TEST_P(StickerColour, MixesTheShadeByNumber) {
    const ColourCase& c = GetParam();
    EXPECT_EQ(stickerRgb(c.type, c.number, c.brightness), c.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Palette, StickerColour,
    ::testing::Values(
        ColourCase{kCube, 4, 255, {0, 155, 255}},
        // nz 0.2: B 130, F 30; 130 x 10/13 lies just below 100.
        ColourCase{kCube, 0, 130, {108, 108, 108}}, ColourCase{kCube, 1, 130, {130, 52, 0}},
        ColourCase{kCube, 2, 130, {118, 0, 0}}, ColourCase{kCube, 3, 130, {108, 108, 0}},
        ColourCase{kPiracube, 5, 130, {16, 99, 16}},
        ColourCase{kCube, 4, 90, {0, 0, 90}}, // F never drops below zero
        ColourCase{kTetrahedron, 1, 130, {16, 99, 16}},
        ColourCase{kTetrahedron, 2, 130, {0, 30, 130}},
        ColourCase{kTetrahedron, 3, 130, {130, 52, 0}}, ColourCase{kCube, 6, 130, {85, 85, 85}},
        ColourCase{kTetrahedron, 4, 130, {85, 85, 85}}));

struct InsetCase {
    Inset rule;
    std::vector<Point> cell;
    std::vector<Point> inset;
};
class StickerInset : public ::testing::TestWithParam<InsetCase> {};

TEST_P(StickerInset, KeepsTheColouredPolygonInsideItsCell) {
    Point out[4];
    insetPolygon(GetParam().rule, GetParam().cell.data(), out);
    EXPECT_EQ(std::vector<Point>(out, out + GetParam().cell.size()), GetParam().inset);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StickerInset,
    ::testing::Values(
        InsetCase{Inset::CubeCell,
                  {{0, 0}, {12, 0}, {12, 12}, {0, 12}},
                  {{1, 1}, {11, 1}, {11, 11}, {1, 11}}},
        // Under twelve pixels nothing moves; whole pixels truncate toward zero.
        InsetCase{Inset::CubeCell,
                  {{0, 0}, {11, 0}, {11, -23}, {0, -23}},
                  {{0, -1}, {11, -1}, {11, -22}, {0, -22}}},
        // Half a pixel back from 10 gives 9: the move is made in doubles.
        InsetCase{Inset::TetraTriangle, {{10, 10}, {4, 0}, {4, 8}}, {{9, 9}, {4, 0}, {4, 7}}},
        InsetCase{Inset::PiraTriangle, {{0, 0}, {16, 0}, {0, 16}}, {{1, 1}, {14, 1}, {1, 14}}},
        InsetCase{Inset::PiraDiamond,
                  {{50, 0}, {0, 50}, {50, 100}, {100, 50}},
                  {{50, 4}, {4, 50}, {50, 96}, {96, 50}}}));

} // namespace
} // namespace korvane
