#include <algorithm>

#include "render/colour_aid.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/puzzle_drawing.h"
#include "render/sticker.h"

namespace korvane {

namespace {

// The colour faces in the order of the piraMask slots: the order the halves are drawn in.
constexpr int kPiraFaceOrder[kFaces] = {0, 1, 2, 4, 3, 5};

constexpr int kCentreSticker = 0;
constexpr int kCornerStickers = 2; // corner triangles per row of piraTable, and rows of them

// The corners around the cut of a half, as the bits to flip in the turning corner's number. A
// corner number holds one bit per axis, so flipping one bit walks along an edge; the path runs
// around the six corners one and two edges away from the turning corner, and the midpoints of
// its six steps are the hexagon, neighbours sharing a face. Always: consecutive entries differ
// in exactly one bit, cyclically.
constexpr int kCutPath[6] = {1, 3, 2, 6, 4, 5};

// What a pass draws: every sticker with its record, or the stickers of one half of the corner.
struct PiraSelection {
    bool wholePuzzle;
    int corner;
    int part; // 0 the still half, 1 the turning half
    bool has(const Puzzle& g, int position, int k) const {
        return wholePuzzle || g.piraMask[corner][position][k] == part;
    }
};

void drawPiraFace(const Puzzle& g, Canvas& canvas, const CubeFaceView& view, int position,
                  const PiraSelection& selection, ScreenRecords* records) {
    const Point* q = view.q;
    const Point m[4] = {midpoint(q[0], q[1]), midpoint(q[0], q[3]), midpoint(q[2], q[3]),
                        midpoint(q[1], q[2])};
    const int face = view.face;
    if (selection.has(g, position, kCentreSticker)) {
        paintSticker(canvas, m, 4, Inset::PiraDiamond, kPiracube, g.stickerColour[0][0][face],
                     view.brightness, *view.shown, nullptr);
    }
    for (int r = 0; r < kCornerStickers; ++r) {
        for (int c = 0; c < kCornerStickers; ++c) {
            if (!selection.has(g, position, 1 + r * kCornerStickers + c)) {
                continue;
            }
            const int* t = g.piraTable[r][c];
            const Point cell[3] = {q[std::clamp(t[0], 0, 3)], m[std::clamp(t[1], 0, 3)],
                                   m[std::clamp(t[2], 0, 3)]};
            StickerScreen* record =
                records != nullptr ? &records->stickerPoly[view.slot - 1][1 + r][c] : nullptr;
            paintSticker(canvas, cell, 3, Inset::PiraTriangle, kPiracube,
                         g.stickerColour[1 + r][c][face], view.brightness, *view.shown, record);
        }
    }
}

void drawCutHexagon(const Puzzle& g, const View& view, Canvas& canvas, int turning) {
    Point hexagon[6];
    for (int i = 0; i < 6; ++i) {
        const double* p = g.corner[turning ^ kCutPath[i]];
        const double* q = g.corner[turning ^ kCutPath[(i + 1) % 6]];
        hexagon[i] = midpoint(projectPerspective(view, p[0], p[1], p[2]),
                              projectPerspective(view, q[0], q[1], q[2]));
    }
    drawBlackPolygon(canvas, hexagon, 6);
}

} // namespace

void drawPiracube(const Puzzle& g, const View& view, Canvas& canvas, ScreenRecords& records) {
    for (int face = 0; face < kFaces; ++face) {
        CubeFaceView shown{};
        if (viewCubeFace(g, view, face, shown)) {
            recordCubeFace(shown, records);
            drawPiraFace(g, canvas, shown, 0, {true, 0, 0}, &records);
        }
    }
}

void drawPiracubePiece(const Puzzle& g, const View& view, const Move& move, int piece,
                       Canvas& canvas) {
    const int turning = move.corner();
    if (move.kind != Move::Kind::Corner || turning < 0 || turning >= kCorners) {
        return;
    }
    const PiraSelection selection{false, turning, piece};
    // The cut is the still half's own face, laid bare by the turn: it goes under that half's
    // stickers, which cover it where they overlap.
    if (selection.part == 0) {
        drawCutHexagon(g, view, canvas, turning);
    }
    for (int position = 0; position < kFaces; ++position) {
        CubeFaceView shown{};
        if (viewCubeFace(g, view, kPiraFaceOrder[position], shown)) {
            drawPiraFace(g, canvas, shown, position, selection, nullptr);
        }
    }
}

} // namespace korvane
