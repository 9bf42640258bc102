#pragma once

// Test-side geometry of the puzzles in their own frame (before the view rotation), worked out
// independently of the model code: sticker centres from the face outlines, and rotations by
// the right-hand rule.

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "model/game_state.h"

namespace korvane::testing {

using Vec3 = std::array<double, 3>;

inline Vec3 operator+(Vec3 p, Vec3 q) {
    return {p[0] + q[0], p[1] + q[1], p[2] + q[2]};
}
inline Vec3 operator-(Vec3 p, Vec3 q) {
    return {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
}
inline Vec3 operator*(double k, Vec3 p) {
    return {k * p[0], k * p[1], k * p[2]};
}
inline double dot(Vec3 p, Vec3 q) {
    return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
}
inline double distance(Vec3 p, Vec3 q) {
    return std::sqrt(dot(p - q, p - q));
}
inline Vec3 cross(Vec3 p, Vec3 q) {
    return {p[1] * q[2] - p[2] * q[1], p[2] * q[0] - p[0] * q[2], p[0] * q[1] - p[1] * q[0]};
}

// Rotation of p by `degrees` about the line through the origin along `axis`, counter-clockwise
// seen from the axis tip (Rodrigues).
inline Vec3 rotateRightHanded(Vec3 p, Vec3 axis, double degrees) {
    const Vec3 k = (1.0 / std::sqrt(dot(axis, axis))) * axis;
    const double t = degrees * std::numbers::pi / 180.0;
    return std::cos(t) * p + std::sin(t) * cross(k, p) + ((1 - std::cos(t)) * dot(k, p)) * k;
}

inline constexpr Vec3 kCubeCorners[8] = {{-1, 1, 1},  {1, 1, 1},  {-1, -1, 1},  {1, -1, 1},
                                         {-1, 1, -1}, {1, 1, -1}, {-1, -1, -1}, {1, -1, -1}};
// Outline corners Q0..Q3 (in order round the face) of the cube faces +z, -z, +y, -y, +x, -x.
inline constexpr int kCubeOutline[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                           {2, 3, 7, 6}, {1, 3, 7, 5}, {0, 2, 6, 4}};

inline constexpr Vec3 kTetraCorners[4] = {{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}, {-1, -1, -1}};
inline constexpr Vec3 kTetraNormals[4] = {{1, 1, 1}, {-1, -1, 1}, {-1, 1, -1}, {1, -1, -1}};
// Outline corners Q0, Q1, Q2 of the tetrahedron's colour faces 0..3.
inline constexpr int kTetraOutline[4][3] = {{3, 1, 0}, {3, 0, 2}, {0, 1, 2}, {2, 1, 3}};

// One sticker: where its colour is held and its centre on the solved puzzle.
struct Sticker {
    int face;
    int a;
    int b;
    Vec3 centre;
};

inline std::vector<Sticker> cubeStickers(int n) {
    std::vector<Sticker> out;
    const double cells = n + 1;
    for (int f = 0; f < 6; ++f) {
        const Vec3 q0 = kCubeCorners[kCubeOutline[f][0]];
        const Vec3 q1 = kCubeCorners[kCubeOutline[f][1]];
        const Vec3 q3 = kCubeCorners[kCubeOutline[f][3]];
        for (int a = 0; a <= n; ++a) {
            for (int b = 0; b <= n; ++b) {
                const Vec3 c =
                    q0 + ((a + 0.5) / cells) * (q1 - q0) + ((b + 0.5) / cells) * (q3 - q0);
                out.push_back({f, a, b, c});
            }
        }
    }
    return out;
}

inline std::vector<Sticker> tetrahedronStickers(int n) {
    std::vector<Sticker> out;
    for (int f = 0; f < 4; ++f) {
        const Vec3 q0 = kTetraCorners[kTetraOutline[f][0]];
        const Vec3 q1 = kTetraCorners[kTetraOutline[f][1]];
        const Vec3 q2 = kTetraCorners[kTetraOutline[f][2]];
        auto p = [&](double u, double v) {
            return q0 + (u / (n + 1)) * (q1 - q0) + (v / (n + 1)) * (q2 - q0);
        };
        for (int a = 0; a <= n; ++a) {
            for (int i = 0; i <= n - a; ++i) {
                out.push_back({f, a, 2 * i, (1.0 / 3) * (p(a, i) + p(a + 1, i) + p(a, i + 1))});
                if (i < n - a) {
                    const Vec3 sum = p(a + 1, i + 1) + p(a + 1, i) + p(a, i + 1);
                    out.push_back({f, a, 2 * i + 1, (1.0 / 3) * sum});
                }
            }
        }
    }
    return out;
}

// Piracube stickers k = 0..4 of a face sit at cells (0,0), (1,0), (1,1), (2,0), (2,1): the centre
// square, then the corner triangles at Q0, Q3, Q2, Q1.
inline constexpr int kPiraCell[5][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};

inline std::vector<Sticker> piracubeStickers() {
    static constexpr int kTriangleCorner[5] = {-1, 0, 3, 2, 1};
    std::vector<Sticker> out;
    for (int f = 0; f < 6; ++f) {
        Vec3 q[4];
        for (int i = 0; i < 4; ++i) {
            q[i] = kCubeCorners[kCubeOutline[f][i]];
        }
        out.push_back({f, 0, 0, 0.25 * (q[0] + q[1] + q[2] + q[3])});
        for (int k = 1; k <= 4; ++k) {
            const int c = kTriangleCorner[k];
            const Vec3 mids = 0.5 * (q[(c + 1) % 4] + q[(c + 3) % 4]);
            out.push_back({f, kPiraCell[k][0], kPiraCell[k][1], (1.0 / 3) * (2.0 * q[c] + mids)});
        }
    }
    return out;
}

// The kind's name in test names.
inline std::string kindName(int kind) {
    static const char* const kNames[] = {"", "Cube", "Tetra", "Pira", "Sphere"};
    return kind >= 1 && kind <= 4 ? kNames[kind] : "Kind" + std::to_string(kind);
}

// Give every cell of every face its own number, so a permutation can be read back exactly.
inline int cellLabel(int a, int b, int face) {
    return 1 + face * 1000 + a * 32 + b;
}
inline void labelAllCells(GameState& g) {
    for (int a = 0; a < kCells; ++a) {
        for (int b = 0; b < kCells; ++b) {
            for (int f = 0; f < kFaces; ++f) {
                g.stickerColour[a][b][f] = cellLabel(a, b, f);
            }
        }
    }
}

} // namespace korvane::testing
