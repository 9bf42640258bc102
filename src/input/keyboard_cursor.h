#pragma once

#include <functional>
#include <vector>

#include "input/strokes.h"
#include "model/game_state.h"

namespace korvane {

// The keyboard cursor: a highlighted sticker the arrow keys move about the picture, and from
// which Shift+arrow makes the stroke a mouse would make from it to the neighbour.

// A sticker the cursor can stand on: drawn by the last full redraw, on a face facing the viewer,
// and pressable (some pixel of it is what the press hit test finds there).
struct CursorSticker {
    StickerHit id;  // face slot, row and column as the press hit test names them
    double x = 0.0; // the middle on screen: the average of the cell's corners
    double y = 0.0;
    Point press;    // the pixel a stroke from or onto this sticker presses or releases at
    Point cell[4];  // the cell as the press hit test sees it, for the cursor's outline
    int points = 0; // 4 for a cube cell, 3 for a triangle
    // A cell of its face's grid of rows and columns (cube, tetrahedron), whose edges the arrows
    // cross; the Piracube's handles are not, and go by the picture alone. A cube cell's corners
    // are in the order of the cube's redraw, so its edges lead to row - 1, column - 1, row + 1,
    // column + 1; a triangle's row and column are the tetrahedron's.
    bool onGrid = false;
};

enum class Arrow { Up, Down, Left, Right };

// The hit test the press uses, as a function of a pixel.
using PressHitTest = std::function<StickerHit(Point)>;

// Whether a sticker cell can be pressed, and where: the pixel nearest its middle that the hit
// test takes for `id` (the middle itself when it is); false when no pixel of the cell is.
bool findPressPoint(const Point* cell, int points, StickerHit id, const PressHitTest& hit,
                    Point& press);

// The sticker an arrow moves the cursor to from stickers[current]. On a face's grid each edge
// of the cell takes the arrow nearest its way (a triangle leaves one free), and the arrow goes
// to the next sticker of the face that edge leads to, past any the press cannot find; off the
// edge of the face, to the sticker of the next face across that edge. A triangle's free arrow
// goes along the third line of its face (the layers no stroke onto an edge neighbour turns). With
// no grid (the Piracube), or nothing there: the nearest sticker ahead on screen, counting a
// step aside twice a step ahead. `current` itself when none lies ahead or `current` is not an
// index of the list. Shift+arrow strokes from stickers[current].press to the neighbour's press.
int neighbourSticker(const std::vector<CursorSticker>& stickers, int current, Arrow arrow);

// The index of the sticker named `id`, or -1: where the cursor stands after a redraw.
int findCursorSticker(const std::vector<CursorSticker>& stickers, StickerHit id);

// The sticker whose middle lies nearest to (x, y), or -1 for an empty list: where the cursor
// appears on the first arrow key (the picture's centre) or where a redraw left it.
int nearestSticker(const std::vector<CursorSticker>& stickers, double x, double y);

// The stickers of the last full redraw in g, in the order of the press scan.
std::vector<CursorSticker> cursorStickers(const StylusTarget& g);

} // namespace korvane
