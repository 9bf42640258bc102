#include "render/colour_aid.h"

#include <algorithm>
#include <cmath>

#include "render/palette.h"

namespace korvane {

namespace {

// The symbols, drawn in a unit disc (x right, y down) so they fit any sticker shape the same way.
struct UnitPoint {
    double x;
    double y;
};
struct UnitPart {
    int count;
    UnitPoint p[6];
};
struct UnitSymbol {
    int partCount;
    UnitPart parts[4];
};

constexpr double kHex = 0.8660254037844386; // sqrt(3) / 2, for hexagons and the triangle

constexpr UnitPart hexagon(double cx, double cy, double r) {
    return {6,
            {{cx + r, cy},
             {cx + r / 2, cy + r * kHex},
             {cx - r / 2, cy + r * kHex},
             {cx - r, cy},
             {cx - r / 2, cy - r * kHex},
             {cx + r / 2, cy - r * kHex}}};
}

constexpr UnitPart box(double left, double top, double right, double bottom) {
    return {4, {{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
}

// One shape per palette row, told apart by outline and by how many pieces they have rather than
// by direction, since a face may be seen turned any way: a dot, a triangle, a plus, a bar, two
// dots and a hollow square.
constexpr UnitSymbol kSymbols[kColourSymbols] = {
    {1, {hexagon(0, 0, 0.45)}},
    {1, {{3, {{0, -0.95}, {0.95 * kHex, 0.475}, {-0.95 * kHex, 0.475}}}}},
    {2, {box(-0.85, -0.22, 0.85, 0.22), box(-0.22, -0.85, 0.22, 0.85)}},
    {1, {box(-0.85, -0.17, 0.85, 0.17)}},
    {2, {hexagon(-0.5, 0, 0.38), hexagon(0.5, 0, 0.38)}},
    {4,
     {box(-0.65, -0.65, 0.65, -0.4), box(-0.65, 0.4, 0.65, 0.65), box(-0.65, -0.4, -0.4, 0.4),
      box(0.4, -0.4, 0.65, 0.4)}},
};

// How much of a sticker a symbol covers: the unit disc becomes this share of the square from
// which a quadrilateral is mapped, and of the inscribed circle of the triangle from which a
// triangle is mapped. Either keeps the symbol a quarter of the room to the edges clear of them.
constexpr double kQuadScale = 0.6;
constexpr double kTriangleScale = 0.75;
// The least distance from a sticker's middle to each of its edges, in pixels, for a symbol.
constexpr double kMinRoom = 4.0;

// The triangle a symbol is laid out in: circumradius 1 around the disc's centre, inscribed
// circle 1/2, apex up, vertices in the order they map to the sticker's.
constexpr UnitPoint kUnitTriangle[3] = {{0, -1}, {kHex, 0.5}, {-kHex, 0.5}};

int toPixel(double v) {
    return static_cast<int>(std::lround(v));
}

// Least distance from the average of the points to the line of each edge.
double roomInside(const Point* polygon, int count) {
    double cx = 0.0;
    double cy = 0.0;
    for (int i = 0; i < count; ++i) {
        cx += polygon[i].x;
        cy += polygon[i].y;
    }
    cx /= count;
    cy /= count;
    double room = 1e9;
    for (int i = 0; i < count; ++i) {
        const Point a = polygon[i];
        const Point b = polygon[(i + 1) % count];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length == 0.0) {
            return 0.0;
        }
        const double cross = (b.x - a.x) * (cy - a.y) - (b.y - a.y) * (cx - a.x);
        room = std::min(room, std::fabs(cross) / length);
    }
    return room;
}

// (u, v) in -1..1 across the square onto the quadrilateral q0 q1 q2 q3 (q0 at (-1, -1), q1 at
// (1, -1), q2 at (1, 1)).
Point bilinear(const Point* q, UnitPoint s) {
    const double u = (s.x * kQuadScale + 1.0) / 2.0;
    const double v = (s.y * kQuadScale + 1.0) / 2.0;
    const double w[4] = {(1 - u) * (1 - v), u * (1 - v), u * v, (1 - u) * v};
    double x = 0.0;
    double y = 0.0;
    for (int i = 0; i < 4; ++i) {
        x += w[i] * q[i].x;
        y += w[i] * q[i].y;
    }
    return {toPixel(x), toPixel(y)};
}

// The point's barycentric weights in the unit triangle carry it onto the sticker's triangle.
Point affine(const Point* t, UnitPoint s) {
    const UnitPoint p{s.x * kTriangleScale / 2.0, s.y * kTriangleScale / 2.0};
    const UnitPoint* a = kUnitTriangle;
    const double det =
        (a[1].y - a[2].y) * (a[0].x - a[2].x) + (a[2].x - a[1].x) * (a[0].y - a[2].y);
    const double w0 =
        ((a[1].y - a[2].y) * (p.x - a[2].x) + (a[2].x - a[1].x) * (p.y - a[2].y)) / det;
    const double w1 =
        ((a[2].y - a[0].y) * (p.x - a[2].x) + (a[0].x - a[2].x) * (p.y - a[2].y)) / det;
    const double w2 = 1.0 - w0 - w1;
    return {toPixel(w0 * t[0].x + w1 * t[1].x + w2 * t[2].x),
            toPixel(w0 * t[0].y + w1 * t[1].y + w2 * t[2].y)};
}

// WCAG relative luminance of an sRGB colour, 0 black .. 1 white.
double luminance(Rgb c) {
    const auto linear = [](int channel) {
        const double v = std::clamp(channel, 0, 255) / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

// The colour-blind palette at full brightness; each channel is that share of B in 255ths.
constexpr Rgb kColourBlindRows[kColourSymbols] = {
    {213, 213, 213}, // white, as the game's own
    {86, 180, 233},  // sky blue
    {213, 94, 0},    // vermillion
    {240, 228, 66},  // yellow
    {0, 114, 178},   // blue
    {0, 158, 115},   // bluish green
};

constexpr int kBrightest = 255;

} // namespace

int colourSymbol(int puzzleType, int colourNumber) {
    static constexpr int kTetraRows[4] = {0, 5, 4, 1};
    if (puzzleType == kTetrahedron) {
        return colourNumber >= 0 && colourNumber < 4 ? kTetraRows[colourNumber] : -1;
    }
    return colourNumber >= 0 && colourNumber < kColourSymbols ? colourNumber : -1;
}

SymbolShape symbolOnSticker(const Point* polygon, int count, int symbol) {
    SymbolShape shape;
    if (symbol < 0 || symbol >= kColourSymbols || (count != 3 && count != 4) ||
        roomInside(polygon, count) < kMinRoom) {
        return shape;
    }
    const UnitSymbol& unit = kSymbols[symbol];
    shape.partCount = unit.partCount;
    for (int i = 0; i < unit.partCount; ++i) {
        SymbolPart& part = shape.parts[i];
        part.count = unit.parts[i].count;
        for (int k = 0; k < part.count; ++k) {
            const UnitPoint s = unit.parts[i].p[k];
            part.p[k] = count == 4 ? bilinear(polygon, s) : affine(polygon, s);
        }
    }
    return shape;
}

Rgb symbolInk(Rgb stickerColour) {
    // Black and white stand out equally at luminance 0.179: (L + 0.05) / 0.05 = 1.05 / (L + 0.05).
    return luminance(stickerColour) > 0.179 ? kBlackBrush.colour : kWhiteBrush.colour;
}

void drawColourSymbol(Canvas& canvas, const Point* polygon, int count, int puzzleType,
                      int colourNumber, Rgb stickerColour) {
    const SymbolShape shape =
        symbolOnSticker(polygon, count, colourSymbol(puzzleType, colourNumber));
    if (shape.partCount == 0) {
        return;
    }
    const Brush brush = canvas.selectBrush(Brush{symbolInk(stickerColour)});
    const Pen pen = canvas.selectPen(Pen::Null);
    for (int i = 0; i < shape.partCount; ++i) {
        canvas.polygon(shape.parts[i].p, shape.parts[i].count);
    }
    canvas.selectPen(pen);
    canvas.selectBrush(brush);
}

Rgb colourBlindStickerRgb(int puzzleType, int colourNumber, int brightness) {
    const int row = colourSymbol(puzzleType, colourNumber);
    if (row < 0) {
        return stickerRgb(puzzleType, colourNumber, brightness);
    }
    const Rgb full = kColourBlindRows[row];
    const int b = std::clamp(brightness, 0, kBrightest);
    return {full.r * b / kBrightest, full.g * b / kBrightest, full.b * b / kBrightest};
}

void paintSticker(Canvas& canvas, const Point* cell, int count, Inset rule, int puzzleType,
                  int colourNumber, int brightness, const View& view, StickerScreen* record) {
    const Rgb colour = view.colourBlindPalette
                           ? colourBlindStickerRgb(puzzleType, colourNumber, brightness)
                           : stickerRgb(puzzleType, colourNumber, brightness);
    drawSticker(canvas, cell, count, rule, colour, record);
    if (view.colourSymbols) {
        Point inset[4];
        insetPolygon(rule, cell, inset);
        drawColourSymbol(canvas, inset, count, puzzleType, colourNumber, colour);
    }
}

} // namespace korvane
