#include "model/puzzle_build.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "model/puzzle_kind.h"
#include "model/rotation.h"

namespace korvane {

namespace {

// The cube (and Piracube) in its own frame: spans -1..+1 on each axis; normal f is the outward
// normal of colour face f (+z, -z, +y, -y, +x, -x).
constexpr double kCubeCorner[kCorners][3] = {
    {-1, 1, 1},  {1, 1, 1},  {-1, -1, 1},  {1, -1, 1},
    {-1, 1, -1}, {1, 1, -1}, {-1, -1, -1}, {1, -1, -1},
};
constexpr double kCubeNormal[kFaces][3] = {
    {0, 0, 1}, {0, 0, -1}, {0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0},
};

// The tetrahedron on four alternate corners of the same cube; normal i points away from the
// corner opposite its face (not unit length).
constexpr double kTetraCorner[4][3] = {{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}, {-1, -1, -1}};
constexpr double kTetraNormal[4][3] = {{1, 1, 1}, {-1, -1, 1}, {-1, 1, -1}, {1, -1, -1}};

// Piracube triangle outlines: for corner cell (1 + r, c) the three outline points the renderer
// joins. Entries [r][2] are never read.
constexpr int kPiraTable[2][2][3] = {
    {{0, 0, 1}, {3, 1, 2}},
    {{2, 2, 3}, {1, 3, 0}},
};

// Piracube halves, [corner][slot], one digit per sticker k: 1 where sticker k (centre, then the
// corner triangles at Q0, Q3, Q2, Q1) lies in the half that turns with the corner. Slots 0..5 are
// colour faces 0, 1, 2, 4, 3, 5. Every corner's half holds 15 stickers.
constexpr const char* kPiraMask[kCorners][6] = {
    {"11101", "01000", "11101", "01000", "01000", "11101"},
    {"11011", "00001", "11011", "11101", "00001", "01000"},
    {"11110", "00100", "01000", "00001", "11101", "11011"},
    {"10111", "00010", "00001", "11011", "11011", "00001"},
    {"01000", "11101", "11110", "00100", "00100", "11110"},
    {"00001", "11011", "10111", "11110", "00010", "00100"},
    {"00100", "11110", "00100", "00010", "11110", "10111"},
    {"00010", "10111", "00010", "10111", "10111", "00010"},
};

static_assert(kMaxTetraSize < std::extent_v<decltype(Puzzle::triIndexTable), 1>,
              "the index table must hold a pair for every triangle of the largest row");

template <int Rows> void copyPoints(double (*to)[3], const double (&from)[Rows][3]) {
    for (int i = 0; i < Rows; ++i) {
        std::copy(from[i], from[i] + 3, to[i]);
    }
}

// Solved colouring: every cell a, b of a face carries the face's own number.
void colourFaces(Puzzle& g, int faces, int lastA, int lastB) {
    for (int b = 0; b <= lastB; ++b) {
        for (int a = 0; a <= lastA; ++a) {
            for (int f = 0; f < faces; ++f) {
                g.stickerColour[a][b][f] = f;
            }
        }
    }
}

// For row r and pair m, the (b, a) images of the upright and the inverted triangle of the pair
// under R^2 and R. Pairs past the end of a row hold values that are never read.
void fillTriIndexTable(Puzzle& g, int n) {
    for (int r = 0; r <= n; ++r) {
        for (int m = 0; m <= n; ++m) {
            int* e = g.triIndexTable[r][m];
            e[0] = 2 * n - 2 * m - 2 * r;
            e[1] = m;
            e[2] = 2 * r;
            e[3] = n - m - r;
            e[4] = 2 * n - 2 * m - 2 * r - 1;
            e[5] = m;
            e[6] = 2 * r + 1;
            e[7] = n - m - r - 1;
        }
    }
}

} // namespace

void buildCube(Puzzle& g) {
    copyPoints(g.corner, kCubeCorner);
    copyPoints(g.faceNormal, kCubeNormal);
    const int n = sizeLevel(g);
    colourFaces(g, kFaces, n, n);
}

void buildPiracube(Puzzle& g) {
    buildCube(g);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            std::copy(kPiraTable[r][c], kPiraTable[r][c] + 3, g.piraTable[r][c]);
        }
    }
    for (int c = 0; c < kCorners; ++c) {
        for (int slot = 0; slot < 6; ++slot) {
            for (int k = 0; k < 5; ++k) {
                g.piraMask[c][slot][k] = kPiraMask[c][slot][k] == '1' ? 1 : 0;
            }
        }
    }
}

void buildTetrahedron(Puzzle& g) {
    copyPoints(g.corner, kTetraCorner);
    copyPoints(g.faceNormal, kTetraNormal);
    const int n = sizeLevel(g);
    colourFaces(g, 4, n, 2 * n);
    fillTriIndexTable(g, n);
}

namespace {

// The sphere's corner points lie on the circles at 0, 45, 90, 135, 180 degrees from +z at
// azimuths in steps of 45, so every coordinate is one of 0, +-0.5, +-0.70710678, +-1; they are
// kept as exactly those values.
double sphereConstant(double x) {
    static constexpr double kValues[4] = {0.0, 0.5, 0.70710678, 1.0};
    double best = 0.0;
    for (double v : kValues) {
        if (std::fabs(std::fabs(x) - v) < std::fabs(std::fabs(x) - best)) {
            best = v;
        }
    }
    return x < 0 ? -best : best;
}

void spherePointAt(double polar, double azimuth, double scale, double* p) {
    constexpr double kDegToRad = 0.017453292519943278;
    const double t = polar * kDegToRad;
    const double a = azimuth * kDegToRad;
    p[0] = std::sin(t) * std::cos(a) * scale;
    p[1] = std::sin(t) * std::sin(a) * scale;
    p[2] = std::cos(t) * scale;
}

} // namespace

// Facet (band i, sector j) spans polar angles 45i..45(i+1) and azimuths 45-45j..90-45j.
void buildSphere(Puzzle& g) {
    for (int i = 0; i < 4; ++i) {
        const double rim = i < 2 ? 45.0 : 135.0;
        const double other = i == 0 ? 0.0 : (i == 3 ? 180.0 : 90.0);
        for (int j = 0; j < 8; ++j) {
            const double lo = 45.0 - 45.0 * j;
            const double hi = 90.0 - 45.0 * j;
            const double corners[4][2] = {{rim, lo}, {rim, hi}, {other, hi}, {other, lo}};
            for (int k = 0; k < 4; ++k) {
                double* p = g.spherePoint[i][j][k];
                spherePointAt(corners[k][0], corners[k][1], 1.0, p);
                for (int c = 0; c < 3; ++c) {
                    p[c] = sphereConstant(p[c]);
                }
            }
        }
    }
    for (int i = 0; i < 4; ++i) {
        const double scale = (i == 1 || i == 2) ? 1.05 : 0.98;
        for (int j = 0; j < 8; ++j) {
            spherePointAt(45.0 * i + 22.5, 67.5 - 45.0 * j, scale, g.spherePoint[i][j][4]);
        }
    }
}

int buildLevel(int type, int level) {
    const PuzzleKind* kind = puzzleKind(type);
    return kind == nullptr ? level : std::clamp(level, kind->minLevel, kind->maxLevel);
}

void buildPuzzleState(Puzzle& g, int type, int level) {
    const PuzzleKind* kind = puzzleKind(type);
    g.puzzleType = type;
    g.size = buildLevel(type, level);
    if (kind != nullptr) {
        kind->build(g);
    }
    spinX(g, 45.0);
    spinY(g, 45.0);
}

int stickersPerColour(const Puzzle& g) {
    const PuzzleKind* kind = puzzleKind(g.puzzleType);
    if (kind == nullptr || kind->colourFaces == 0) {
        return 0;
    }
    const int n = sizeLevel(g);
    return kind->cornerTurns ? kPiracubeStickers : (n + 1) * (n + 1);
}

} // namespace korvane
