#pragma once

#include "input/strokes.h"
#include "model/game_state.h"

namespace korvane {

// The scans that press and release share: containment in a face slot's outline and in its
// sticker slots, in the row-major order of each kind. Face slots are 1..4; the records are read
// at slot - 1.

// Corners of an outline: 4 for the cube and the Piracube, 3 for the tetrahedron.
int outlinePoints(int puzzleType);

// The level the scans run to, bounded so that every row and column they visit lies inside the
// screen records (and, for the tetrahedron, inside triIndexTable); -1 when there is none.
int gridLevel(const StylusTarget& g, int puzzleType);

// Whether the last full redraw drew face slot `slot`. The cube's redraw clears the outlines of
// the slots it leaves out, but the tetrahedron and the Piracube keep those of faces turned away
// since: such a slot counts only while the face it names faces the viewer, so a stroke is
// judged against the picture the player saw. The Piracube's slot names its face by faceSign.
bool slotOnScreen(const StylusTarget& g, int puzzleType, int slot);

bool inFaceOutline(const StylusTarget& g, int puzzleType, int slot, int x, int y);
bool inSticker(const StylusTarget& g, int puzzleType, int slot, int row, int col, int x, int y);

// The first sticker slot of face slot `slot` holding (x, y) in the scan order of the kind:
// cube rows 0..N and columns 0..N, tetrahedron rows 0..N and columns 0..2N-2r, Piracube the
// handles (1, 0), (1, 1), (2, 0), (2, 1). Slot 0 when none holds it.
StickerHit findSticker(const StylusTarget& g, int puzzleType, int slot, int x, int y);

} // namespace korvane
