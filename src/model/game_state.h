#pragma once

#include <cstdint>

namespace korvane {

// Puzzle kind codes held in GameState::puzzleType.
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

// Everything that describes the puzzle on screen and the game being played. One instance lives
// in PuzzleDialog; there is no heap and no second copy apart from savedColour during a turn.
// Always: 1 <= N <= 5 for the cube, 1 <= N <= 4 for the tetrahedron; between turns
// stickerColour is a permutation of the solved colouring; moveCount >= 0; undoState is 0
// exactly when the undo button is enabled.
struct GameState {
    // What the next renderer call does: 0 nothing, 1 full redraw, 2 one animation piece.
    int renderMode = 0;

    // Undo record: -1 nothing to undo, 0 the last move can be undone, 1 an unrecorded turn runs.
    int undoState = -1;
    int lastMoveKind = 0;    // 1..4 turnAxis1..turnAxis4, 5 turnCorner
    int lastMoveDir = 0;     // the direction that undoes the last move
    int lastMoveCorner = -1; // corner of the last Piracube move, -1 for axis turns

    // Counters and clock (whole seconds from the platform's monotonic clock).
    int moveCount = 0;
    int clockRunning = 0;
    std::int64_t startTime = 0;
    std::int64_t clockNow = 0;
    int elapsedSeconds = 0;

    // View and size.
    double zoom = 1.2;
    double size = 2.0;    // N: a cube or tetrahedron of size N has N + 1 layers per axis
    double twoSize = 4.0; // 2N
    int turnAxis = 0;     // cube 1..3, tetrahedron 1..4, Piracube the corner 0..7; 0 between turns
    int layer = 0;        // the turning layer, or during a frame the piece code (-4 - K cuts)
    int gestureState = 0; // face slot 1..4 hit by the last press, 0 for none
    double degToRad = 0.017453292519943278;

    // Rotation workspace: 4 x 4 matrices used at indices 1..4; points are row vectors.
    double xformMatrix[5][5] = {};
    double matA[5][5] = {};
    double matB[5][5] = {};
    double matC[5][5] = {};

    // Screen records left by every full redraw and read by the stylus handlers, indexed by
    // face slot - 1 (slots 1..4). Cube slots not drawn show (-1, -1) outlines.
    Point faceOutline[kFaceSlots][4] = {};
    StickerScreen stickerPoly[kFaceSlots][kCells][kCells] = {};
    int pressedRow = 0;
    int pressedCol = 0;

    // Piracube drawing table: for corner cell (1 + r, c) the outline points of its triangle.
    int piraTable[2][3][3] = {};
    double animFrames = 10.0;
    int puzzleType = kPiracube;
    int spinActive = 0;
    int lastStylusX = 0;
    int lastStylusY = 0;
    // +1 or -1 per cube or Piracube face slot 1..3: which of the opposite faces is shown.
    int faceSign[3] = {};
    // Tetrahedron index table, [row][pair][8]: (b, a) of the images under R^2 and R of the
    // upright (slots 0..3) and inverted (slots 4..7) triangle of the pair.
    int triIndexTable[kCells][9][8] = {};
    double rotCos = 1.0;
    double rotSin = 0.0;

    // Sticker colours, [a][b][face]. Between turns: a permutation of the solved colouring.
    int stickerColour[kCells][kCells][kFaces] = {};
    int savedColour[kCells][kCells][kFaces] = {};
    // Piracube membership, [corner][slot][k]: 1 where sticker k turns with that corner.
    // Slots 0..5 stand for colour faces 0, 1, 2, 4, 3, 5.
    int piraMask[kCorners][7][6] = {};
    int drawTurningPart = 0;

    double centreX = 120.0;
    double centreY = 145.0;
    int bgColour = 0; // 0 black, 1 white
    int zoomDir = 0;  // -1 or +1 while a zoom button is held

    // Geometry in view space, already rotated into the current view.
    double corner[kCorners][3] = {};
    double faceNormal[kFaces][3] = {};
    double spherePoint[4][8][5][3] = {};
};

// The whole-number part of size, the level a rebuild or a stored "Nivel" uses.
inline int sizeLevel(const GameState& g) {
    return static_cast<int>(g.size);
}

} // namespace korvane
