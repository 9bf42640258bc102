#pragma once

#include "model/game_state.h"
#include "render/canvas.h"
#include "render/sticker.h"

namespace korvane {

// The colour aid: a small symbol painted on every sticker, one shape per colour, so the puzzles
// can be played without telling colours apart; and a palette for colour-blind players.

inline constexpr int kColourSymbols = 6;

// The symbol of a sticker colour: the cube palette row the colour is painted from (0..5; the
// tetrahedron's colours 0..3 take rows 0, 5, 4, 1 and the Piracube the cube's), or -1 for a
// number no puzzle stores.
int colourSymbol(int puzzleType, int colourNumber);

// A symbol laid on one sticker: up to four small polygons of 3, 4 or 6 points each.
struct SymbolPart {
    Point p[6];
    int count = 0;
};
struct SymbolShape {
    SymbolPart parts[4];
    int partCount = 0;
};

// Symbol `symbol` (0..5) mapped into a sticker's coloured polygon (4 points: bilinearly from a
// square; 3 points: affinely from a triangle), so it looks painted on the sticker and keeps clear
// of its edges. No parts for a sticker too small to hold one legibly or for an unknown symbol.
SymbolShape symbolOnSticker(const Point* polygon, int count, int symbol);

// Black or white, whichever stands out more against the sticker colour (by relative luminance).
Rgb symbolInk(Rgb stickerColour);

// Paint the symbol of a sticker of colour number `colourNumber`, painted in `stickerColour`, over
// its coloured polygon, with no outline; the brush and pen selected before are put back.
void drawColourSymbol(Canvas& canvas, const Point* polygon, int count, int puzzleType,
                      int colourNumber, Rgb stickerColour);

// The colour-blind palette, in the same terms as stickerRgb: six colours from the Okabe-Ito set
// (white, sky blue, vermillion, yellow, blue, bluish green for cube rows 0..5) that stay apart
// under protanopia and deuteranopia; every channel follows the face brightness B as a fixed share
// of it, as the game's own palette does. Numbers outside the palette draw grey, unshaded.
// A sticker of colour number n on a face of brightness B, drawn as drawSticker draws it, in the
// palette the view chooses and with its symbol when the view asks for one.
void paintSticker(Canvas& canvas, const Point* cell, int count, Inset rule, int puzzleType,
                  int colourNumber, int brightness, const View& view, StickerScreen* record);

Rgb colourBlindStickerRgb(int puzzleType, int colourNumber, int brightness);

} // namespace korvane
