#pragma once

#include "model/game_state.h"
#include "render/canvas.h"

namespace korvane {

// How a sticker's coloured polygon sits inside its black cell: a cube cell moves each corner a
// twelfth of the way to the opposite corner in whole pixels; a triangle moves each vertex towards
// the midpoint of the opposite side (a twelfth on the tetrahedron, an eighth on the Piracube); the
// Piracube's centre diamond moves each vertex 0.04 of the way to the opposite one.
enum class Inset { CubeCell, TetraTriangle, PiraTriangle, PiraDiamond };

// The coloured polygon of a cell: 4 points for cells and diamonds, 3 for triangles.
void insetPolygon(Inset rule, const Point* cell, Point* out);

// Midpoint of two screen points in whole pixels: p + (q - p) / 2, truncating toward zero.
Point midpoint(Point p, Point q);

// The whole pixel t / n of the way from a to b: a + (b - a) x t / n in doubles, truncated.
Point pointBetween(Point a, Point b, int t, double n);

// One sticker: the black cell with the thin pen, then the coloured polygon with no outline in a
// fresh brush, after which the brush selected before is put back. record, when given, receives
// the cell as the stylus will test it.
void drawSticker(Canvas& canvas, const Point* cell, int count, Inset rule, Rgb colour,
                 StickerScreen* record);

// A black polygon with the thin pen: the surfaces laid bare at the cut of a turning layer.
void drawBlackPolygon(Canvas& canvas, const Point* points, int count);

} // namespace korvane
