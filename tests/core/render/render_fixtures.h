#pragma once

#include <utility>
#include <vector>

#include "fakes/recording_canvas.h"
#include "model/game_state.h"
#include "render/renderer.h"

namespace korvane::testing {

// The solved cube and tetrahedron before any view rotation: the cube's face 0 (+z) looks
// straight at the viewer, and at zoom 1.2 it projects to x 60..180, y 85..205.
inline constexpr double kCubeCorners[kCorners][3] = {{-1, 1, 1},   {1, 1, 1},   {-1, -1, 1},
                                                     {1, -1, 1},   {-1, 1, -1}, {1, 1, -1},
                                                     {-1, -1, -1}, {1, -1, -1}};
inline constexpr double kCubeNormals[kFaces][3] = {{0, 0, 1},  {0, 0, -1}, {0, 1, 0},
                                                   {0, -1, 0}, {1, 0, 0},  {-1, 0, 0}};
inline constexpr double kTetraCorners[4][3] = {{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}, {-1, -1, -1}};
inline constexpr double kTetraNormals[4][3] = {{1, 1, 1}, {-1, -1, 1}, {-1, 1, -1}, {1, -1, -1}};

// A solved puzzle of level N in that view, every sticker carrying its face's number.
inline GameState solvedPuzzle(int type, int level) {
    GameState g;
    g.puzzleType = type;
    g.size = level;
    g.twoSize = 2.0 * level;
    const bool tetra = type == kTetrahedron;
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < kCorners; ++i) {
            g.corner[i][k] = tetra ? kTetraCorners[i % 4][k] : kCubeCorners[i][k];
        }
        for (int i = 0; i < kFaces; ++i) {
            g.faceNormal[i][k] = tetra ? (i < 4 ? kTetraNormals[i][k] : -1) : kCubeNormals[i][k];
        }
    }
    for (int a = 0; a < kCells; ++a) {
        for (int b = 0; b < kCells; ++b) {
            for (int f = 0; f < kFaces; ++f) {
                g.stickerColour[a][b][f] = f;
            }
        }
    }
    return g;
}

// Only the given normal passes the face test.
inline void showOnlyNormal(GameState& g, int normal) {
    for (int i = 0; i < kFaces; ++i) {
        g.faceNormal[i][2] = i == normal ? 1.0 : -1.0;
    }
}

inline RecordingCanvas render(GameState& g, int mode) {
    RecordingCanvas canvas;
    g.renderMode = mode;
    renderPuzzle(g, canvas);
    return canvas;
}

// The black cells of `count` points a drawing made, named by the stored record they match.
inline std::vector<std::pair<int, int>> cellsDrawn(const GameState& recorded, int slot,
                                                   const RecordingCanvas& canvas, int count) {
    std::vector<std::pair<int, int>> cells;
    for (const auto& call : canvas.polygons()) {
        for (int a = 0; a < kCells && call.pen == Pen::Thin; ++a) {
            for (int b = 0; b < kCells; ++b) {
                const Point* p = recorded.stickerPoly[slot - 1][a][b].p;
                if (std::vector<Point>(p, p + count) == call.points) {
                    cells.emplace_back(a, b);
                }
            }
        }
    }
    return cells;
}

} // namespace korvane::testing
