#pragma once

#include <cstdint>
#include <vector>

#include "model/move.h"

namespace korvane {

// Puzzle kind codes held in Puzzle::puzzleType.
enum PuzzleType : int { kCube = 1, kTetrahedron = 2, kPiracube = 3, kSphere = 4 };

// Array bounds of the game state: rows and columns of a face, faces, corners.
inline constexpr int kCells = 18;
inline constexpr int kFaces = 6;
inline constexpr int kCorners = 8;
inline constexpr int kFaceSlots = 4;

// A screen point in back-buffer pixels (242 x 322, the window shows the top-left 240 x 320).
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// The screen polygon of one sticker slot: 4 points for a cube cell, 3 for a triangle;
// the last two points are never written.
struct StickerScreen {
    Point p[6];
};

// The puzzle: its kind, size, sticker colours, geometry in view space and the per-kind tables.
// Always: 1 <= N <= 17 for the cube, 1 <= N <= 8 for the tetrahedron, 3 for the Piracube;
// between turns stickerColour is a permutation of the solved colouring. No heap.
struct Puzzle {
    int puzzleType = kPiracube;
    double size = 2.0; // N: a cube or tetrahedron of size N has N + 1 layers per axis

    // Sticker colours, [a][b][face].
    int stickerColour[kCells][kCells][kFaces] = {};

    // Piracube drawing table: for corner cell (1 + r, c) the outline points of its triangle.
    int piraTable[2][3][3] = {};
    // Piracube membership, [corner][slot][k]: 1 where sticker k turns with that corner.
    // Slots 0..5 stand for colour faces 0, 1, 2, 4, 3, 5.
    int piraMask[kCorners][7][6] = {};
    // Tetrahedron index table, [row][pair][8]: (b, a) of the images under R^2 and R of the
    // upright (slots 0..3) and inverted (slots 4..7) triangle of the pair.
    int triIndexTable[kCells][9][8] = {};

    // Geometry in view space, already rotated into the current view.
    double corner[kCorners][3] = {};
    double faceNormal[kFaces][3] = {};
    double spherePoint[4][8][5][3] = {};
};

// The game record: counters, clock, the one-level undo and the moves played.
// Always: moveCount >= 0; undoState is 0 exactly when the undo button is enabled.
struct GameRecord {
    // -1 nothing to undo, 0 the last move can be undone, 1 an unrecorded turn runs.
    int undoState = -1;
    Move lastMove; // the last recorded move; undo plays its inverse

    // Counters and clock (whole seconds from the platform's monotonic clock).
    int moveCount = 0;
    int clockRunning = 0;
    std::int64_t startTime = 0;
    std::int64_t clockNow = 0;
    int elapsedSeconds = 0;

    // The turns of the last New Game's scramble, and the moves played since it (or since the
    // puzzle was built), an undone move taken off again.
    std::vector<Move> scramble;
    std::vector<Move> moves;
    // When each of those moves was made, in milliseconds since the clock started.
    std::vector<std::int64_t> moveMs;
    std::int64_t startMs = 0;
    bool undoUsed = false;
    // The fewest moves that solve the scramble, where the puzzle's distances are known; -1
    // where they are not.
    int par = -1;
};

// How the puzzle is shown: zoom, the picture's centre and the background (0 black, 1 white).
struct View {
    double zoom = 1.2;
    double centreX = 120.0;
    double centreY = 145.0;
    int bgColour = 0;
    // The colour aid, both off unless the player asks: a symbol on every sticker, one shape per
    // colour, and a palette told apart without telling red from green.
    bool colourSymbols = false;
    bool colourBlindPalette = false;
};

// The stylus gesture in progress.
struct Gesture {
    int gestureState = 0; // face slot 1..4 hit by the last press, 0 for none
    int pressedRow = 0;
    int pressedCol = 0;
    int spinActive = 0;
    int lastStylusX = 0;
    int lastStylusY = 0;
    int zoomDir = 0; // -1 or +1 while a zoom button is held
};

// What the last full redraw drew, read by the stylus handlers, indexed by face slot - 1 (slots
// 1..4). Cube slots not drawn show (-1, -1) outlines.
struct ScreenRecords {
    Point faceOutline[kFaceSlots][4] = {};
    StickerScreen stickerPoly[kFaceSlots][kCells][kCells] = {};
    // +1 or -1 per cube or Piracube face slot 1..3: which of the opposite faces is shown.
    int faceSign[3] = {};
};

// The whole-number part of size, the level a rebuild or a stored "Nivel" uses.
inline int sizeLevel(const Puzzle& p) {
    return static_cast<int>(p.size);
}

} // namespace korvane
