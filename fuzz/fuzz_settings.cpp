// Stored settings as the game reads them at start-up: "BkColor", "Figura" and "Nivel" may hold
// any integer. Whatever they hold, the game must start on a background it has, build a puzzle
// its arrays hold in the solved state, and store a kind and level that build the same puzzle
// at the next start.
//
// Input: three little-endian 32-bit integers ("BkColor", "Figura", "Nivel"); missing bytes
// are zero.
#include <cstdint>
#include <cstring>
#include <memory>

#include "app/settings.h"
#include "fuzz_check.h"
#include "model/game_rules.h"
#include "model/puzzle_build.h"

namespace korvane {
namespace {

using fuzz::require;

int storedInt(const std::uint8_t* data, std::size_t size, std::size_t index) {
    std::uint8_t bytes[4] = {};
    for (std::size_t i = 0; i < 4 && 4 * index + i < size; ++i) {
        bytes[i] = data[4 * index + i];
    }
    std::uint32_t bits = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | std::uint32_t{bytes[3]} << 24;
    int value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The levels each kind is stored with: the cube 1..5, the tetrahedron 1..4 (their menus and
// the commands without a menu item), the Piracube always 3, the sphere 1..5.
bool storedLevelFits(int kind, int level) {
    switch (kind) {
    case kCube:
    case kSphere:
        return level >= 1 && level <= 5;
    case kTetrahedron:
        return level >= 1 && level <= 4;
    case kPiracube:
        return level == 3;
    default:
        return false;
    }
}

// A stored kind and level the game takes as they stand: the Piracube with any level (its build
// always makes level 3), the others with a level they are stored with.
bool choiceFits(int kind, int level) {
    return kind == kPiracube || storedLevelFits(kind, level);
}

// Piracube stickers k = 0..4 of a face: the centre, then the four corner triangles.
constexpr int kPiraCell[5][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};

void countColour(int colour, int faces, int counts[kFaces]) {
    require(colour >= 0 && colour < faces, "a sticker holds one of the face numbers");
    ++counts[colour];
}

// Count every colour over the cells a face really has: rows a = 0..n of n + 1 cells on the
// cube, of 2(n - a) + 1 triangles on the tetrahedron, five cells on the Piracube.
void countColours(const Puzzle& g, int faces, int counts[kFaces]) {
    const int n = sizeLevel(g);
    for (int f = 0; f < faces; ++f) {
        if (g.puzzleType == kPiracube) {
            for (const auto& cell : kPiraCell) {
                countColour(g.stickerColour[cell[0]][cell[1]][f], faces, counts);
            }
            continue;
        }
        for (int a = 0; a <= n; ++a) {
            const int rowEnd = g.puzzleType == kTetrahedron ? 2 * (n - a) : n;
            for (int b = 0; b <= rowEnd; ++b) {
                countColour(g.stickerColour[a][b][f], faces, counts);
            }
        }
    }
}

void checkBuiltPuzzle(const Puzzle& g) {
    require(isSolved(g), "a new puzzle is solved");
    if (g.puzzleType == kSphere) {
        return;
    }
    const int faces = g.puzzleType == kTetrahedron ? 4 : kFaces;
    int counts[kFaces] = {};
    countColours(g, faces, counts);
    for (int colour = 0; colour < faces; ++colour) {
        require(counts[colour] == stickersPerColour(g), "every colour covers one face");
    }
    if (g.puzzleType == kPiracube) {
        for (int c = 0; c < kCorners; ++c) {
            int half = 0;
            for (const auto& slot : g.piraMask[c]) {
                for (int k = 0; k < 5; ++k) {
                    half += slot[k];
                }
            }
            require(half == 15, "every Piracube corner turns a half of 15 stickers");
        }
    }
}

} // namespace
} // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane;
    const int bkColor = storedInt(data, size, 0);
    const int figura = storedInt(data, size, 1);
    const int nivel = storedInt(data, size, 2);

    const StartupChoice choice = validateStartupChoice(bkColor, figura, nivel);
    require(choice.bgColour == 0 || choice.bgColour == 1, "the background is black or white");
    require(choice.bgColour == bkColor || (bkColor != 0 && bkColor != 1),
            "a stored background is kept");
    require(choiceFits(choice.puzzleType, choice.level),
            "the kind and level are ones the game has");
    if (choiceFits(figura, nivel)) {
        require(choice.puzzleType == figura && choice.level == nivel, "a valid choice is kept");
    } else if (figura == kSphere) {
        require(choice.puzzleType == kSphere && choice.level == 2,
                "a sphere keeps its kind at level 2");
    }

    auto g = std::make_unique<Puzzle>();
    buildPuzzleState(*g, choice.puzzleType, choice.level);
    require(g->puzzleType == choice.puzzleType, "the chosen kind is built");
    const int storedLevel = sizeLevel(*g);
    require(storedLevelFits(g->puzzleType, storedLevel), "the stored level fits the kind");
    checkBuiltPuzzle(*g);

    // The next start reads back what this build stored and must build the same puzzle.
    const StartupChoice next = validateStartupChoice(choice.bgColour, g->puzzleType, storedLevel);
    auto again = std::make_unique<Puzzle>();
    buildPuzzleState(*again, next.puzzleType, next.level);
    require(again->puzzleType == g->puzzleType && again->size == g->size,
            "the stored kind and level build the same puzzle again");
    return 0;
}
