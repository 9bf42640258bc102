#pragma once

#include "model/game_state.h"

namespace korvane {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A brush is a solid fill colour; creating one per sticker costs nothing.
struct Brush {
    Rgb colour;
    friend bool operator==(const Brush&, const Brush&) = default;
};

// The three pens of the game: none (no outline), solid black 1 pixel, solid black 2 pixels.
enum class Pen { Null, Thin, Thick };

// The picture the window shows, in logical pixels, and the back buffer that holds it with one
// spare pixel to the right and below.
inline constexpr int kPictureWidth = 240;
inline constexpr int kPictureHeight = 320;
inline constexpr int kBackBufferWidth = kPictureWidth + 2;
inline constexpr int kBackBufferHeight = kPictureHeight + 2;

inline constexpr Brush kBlackBrush{{0, 0, 0}};
inline constexpr Brush kWhiteBrush{{255, 255, 255}};

// The back buffer: a 242 x 322 logical-pixel drawing context with a selected brush and pen,
// as the renderer expects of it. Selecting returns what was selected before.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual Brush selectBrush(Brush brush) = 0;
    virtual Pen selectPen(Pen pen) = 0;
    // A closed polygon (3, 4 or 6 points), filled with the brush (even-odd) and outlined with
    // the pen.
    virtual void polygon(const Point* points, int count) = 0;
    // A rectangle filled with the brush and outlined with the pen, right and bottom exclusive.
    virtual void rectangle(int left, int top, int right, int bottom) = 0;
    // One line of text in the status font, black, right-aligned in the rectangle.
    virtual void drawTextRight(const char* text, int left, int top, int right, int bottom) = 0;
    // The status-strip picture (240 x 23) copied over the top 240 x 24 pixels.
    virtual void copyStatusStrip() = 0;
};

} // namespace korvane
