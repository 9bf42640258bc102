#pragma once

#include "render/canvas.h"

namespace korvane {

// Shade of a face from the z of its normal: cube and Piracube trunc(nz x 250 + 80), tetrahedron
// trunc(nz x 0.85 x 250 + 80), limited to 255 above.
int faceBrightness(int puzzleType, double nz);
// The colour of a sticker with colour number n on a face of brightness B (tetrahedron numbers
// 0..3 map to rows 0, 5, 4, 1 of the cube palette). Numbers outside the palette draw grey.
Rgb stickerRgb(int puzzleType, int colourNumber, int brightness);
// Flat brushes by number 0..12 (8 and 9 hold none and give black); 11 black, 12 white.
Rgb flatBrushColour(int number);
// The background brush: bgBrush[bgColour], black for anything but 1.
Brush backgroundBrush(int bgColour);

} // namespace korvane
