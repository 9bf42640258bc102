#include "input/sticker_scan.h"
#include "input/strokes.h"

namespace korvane {

namespace {

struct Handle {
    int row;
    int col;
};

// The Piracube's strokes: from a turn handle of the pressed face slot onto a handle of another
// face slot, valid only while the two slots show the faces given by their faceSign. The corner
// is 4 x [v(1) = -1] + 2 x [v(2) = +1] + [v(3) = +1], v(k) being the faceSign of slot k when it
// shows a face holding that corner; so a stroke turns a corner of the two faces it joins, and a
// stroke and its reverse turn the same corner in opposite directions.
struct PiracubeStroke {
    int fromSlot;
    Handle from;
    int toSlot;
    Handle to;
    int fromSign;
    int toSign;
    int dir;
    int corner;
};
constexpr PiracubeStroke kPiracubeStrokes[48] = {
    {1, {1, 0}, 2, {1, 0}, +1, -1, +1, 0}, {1, {1, 0}, 2, {1, 1}, -1, -1, -1, 4},
    {1, {1, 1}, 2, {1, 0}, +1, +1, -1, 2}, {1, {1, 1}, 2, {1, 1}, -1, +1, +1, 6},
    {1, {2, 0}, 2, {2, 0}, -1, +1, -1, 7}, {1, {2, 0}, 2, {2, 1}, +1, +1, +1, 3},
    {1, {2, 1}, 2, {2, 0}, -1, -1, +1, 5}, {1, {2, 1}, 2, {2, 1}, +1, -1, -1, 1},
    {1, {1, 0}, 3, {1, 0}, +1, -1, -1, 0}, {1, {1, 0}, 3, {1, 1}, -1, -1, +1, 4},
    {1, {1, 1}, 3, {2, 0}, -1, -1, -1, 6}, {1, {1, 1}, 3, {2, 1}, +1, -1, +1, 2},
    {1, {2, 0}, 3, {2, 0}, -1, +1, +1, 7}, {1, {2, 0}, 3, {2, 1}, +1, +1, -1, 3},
    {1, {2, 1}, 3, {1, 0}, +1, +1, +1, 1}, {1, {2, 1}, 3, {1, 1}, -1, +1, -1, 5},
    {2, {1, 0}, 1, {1, 0}, -1, +1, -1, 0}, {2, {1, 0}, 1, {1, 1}, +1, +1, +1, 2},
    {2, {1, 1}, 1, {1, 0}, -1, -1, +1, 4}, {2, {1, 1}, 1, {1, 1}, +1, -1, -1, 6},
    {2, {2, 0}, 1, {2, 0}, +1, -1, +1, 7}, {2, {2, 0}, 1, {2, 1}, -1, -1, -1, 5},
    {2, {2, 1}, 1, {2, 0}, +1, +1, -1, 3}, {2, {2, 1}, 1, {2, 1}, -1, +1, +1, 1},
    {2, {1, 0}, 3, {1, 0}, -1, -1, +1, 0}, {2, {1, 0}, 3, {2, 1}, +1, -1, -1, 2},
    {2, {1, 1}, 3, {1, 1}, -1, -1, -1, 4}, {2, {1, 1}, 3, {2, 0}, +1, -1, +1, 6},
    {2, {2, 0}, 3, {1, 1}, -1, +1, +1, 5}, {2, {2, 0}, 3, {2, 0}, +1, +1, -1, 7},
    {2, {2, 1}, 3, {1, 0}, -1, +1, -1, 1}, {2, {2, 1}, 3, {2, 1}, +1, +1, +1, 3},
    {3, {1, 0}, 1, {1, 0}, -1, +1, +1, 0}, {3, {1, 0}, 1, {2, 1}, +1, +1, -1, 1},
    {3, {1, 1}, 1, {1, 0}, -1, -1, -1, 4}, {3, {1, 1}, 1, {2, 1}, +1, -1, +1, 5},
    {3, {2, 0}, 1, {1, 1}, -1, -1, +1, 6}, {3, {2, 0}, 1, {2, 0}, +1, -1, -1, 7},
    {3, {2, 1}, 1, {1, 1}, -1, +1, -1, 2}, {3, {2, 1}, 1, {2, 0}, +1, +1, +1, 3},
    {3, {1, 0}, 2, {1, 0}, -1, -1, -1, 0}, {3, {1, 0}, 2, {2, 1}, +1, -1, +1, 1},
    {3, {1, 1}, 2, {1, 1}, -1, -1, +1, 4}, {3, {1, 1}, 2, {2, 0}, +1, -1, -1, 5},
    {3, {2, 0}, 2, {1, 1}, -1, +1, -1, 6}, {3, {2, 0}, 2, {2, 0}, +1, +1, +1, 7},
    {3, {2, 1}, 2, {1, 0}, -1, +1, +1, 2}, {3, {2, 1}, 2, {2, 1}, +1, +1, -1, 3},
};

bool same(const Handle& h, int row, int col) {
    return h.row == row && h.col == col;
}

Move piracubeTurn(const StylusTarget& g, int face, const StickerHit& hit) {
    const int fromSign = g.screen.faceSign[face - 1];
    const int toSign = g.screen.faceSign[hit.slot - 1];
    for (const PiracubeStroke& s : kPiracubeStrokes) {
        if (s.fromSlot == face && same(s.from, g.gesture.pressedRow, g.gesture.pressedCol) &&
            s.toSlot == hit.slot && same(s.to, hit.row, hit.col) && s.fromSign == fromSign &&
            s.toSign == toSign) {
            return Move::cornerTurn(s.corner, s.dir);
        }
    }
    return {};
}

} // namespace

Move decodePiracubeStroke(const StylusTarget& g, int x, int y) {
    const int face = g.gesture.gestureState;
    // A Piracube turn always joins two faces: a stroke that ends on the pressed face does nothing.
    if (face < 1 || face > 3 || inFaceOutline(g, kPiracube, face, x, y)) {
        return {};
    }
    for (int slot = 1; slot <= 3; ++slot) {
        if (slot == face || !slotOnScreen(g, kPiracube, slot)) {
            continue;
        }
        const StickerHit hit = findSticker(g, kPiracube, slot, x, y);
        if (hit.slot != 0) {
            return piracubeTurn(g, face, hit);
        }
    }
    return {};
}

} // namespace korvane
