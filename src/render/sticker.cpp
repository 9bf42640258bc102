#include "render/sticker.h"

#include "render/palette.h"
#include "render/projection.h"

namespace korvane {

namespace {

constexpr int kCubeInsetDivisor = 12;
constexpr double kTetraInset = 0.08333333333333333;
constexpr double kPiraTriangleInset = 0.125;
constexpr double kPiraDiamondInset = 0.04;

Point moveToward(Point from, Point to, double factor) {
    return {truncToPixel(from.x + (to.x - from.x) * factor),
            truncToPixel(from.y + (to.y - from.y) * factor)};
}

// Opposite corners, all computed from the cell as it stands.
void insetQuad(const Point* cell, Point* out, bool wholePixels) {
    for (int i = 0; i < 4; ++i) {
        const Point p = cell[i];
        const Point q = cell[(i + 2) % 4];
        out[i] = wholePixels ? Point{p.x + (q.x - p.x) / kCubeInsetDivisor,
                                     p.y + (q.y - p.y) / kCubeInsetDivisor}
                             : moveToward(p, q, kPiraDiamondInset);
    }
}

void insetTriangle(const Point* cell, Point* out, double factor) {
    for (int i = 0; i < 3; ++i) {
        const Point side = midpoint(cell[(i + 1) % 3], cell[(i + 2) % 3]);
        out[i] = moveToward(cell[i], side, factor);
    }
}

} // namespace

Point midpoint(Point p, Point q) {
    return {p.x + (q.x - p.x) / 2, p.y + (q.y - p.y) / 2};
}

Point pointBetween(Point a, Point b, int t, double n) {
    return {truncToPixel(a.x + static_cast<double>(b.x - a.x) * t / n),
            truncToPixel(a.y + static_cast<double>(b.y - a.y) * t / n)};
}

void insetPolygon(Inset rule, const Point* cell, Point* out) {
    switch (rule) {
    case Inset::CubeCell:
        insetQuad(cell, out, true);
        break;
    case Inset::PiraDiamond:
        insetQuad(cell, out, false);
        break;
    case Inset::TetraTriangle:
        insetTriangle(cell, out, kTetraInset);
        break;
    case Inset::PiraTriangle:
        insetTriangle(cell, out, kPiraTriangleInset);
        break;
    }
}

void drawSticker(Canvas& canvas, const Point* cell, int count, Inset rule, Rgb colour,
                 StickerScreen* record) {
    canvas.selectPen(Pen::Thin);
    canvas.selectBrush(backgroundBrush(0));
    canvas.polygon(cell, count);
    canvas.selectPen(Pen::Null);
    if (record != nullptr) {
        for (int i = 0; i < count; ++i) {
            record->p[i] = cell[i];
        }
    }
    Point inset[4];
    insetPolygon(rule, cell, inset);
    const Brush previous = canvas.selectBrush(Brush{colour});
    canvas.polygon(inset, count);
    canvas.selectBrush(previous);
}

void drawBlackPolygon(Canvas& canvas, const Point* points, int count) {
    canvas.selectBrush(backgroundBrush(0));
    canvas.selectPen(Pen::Thin);
    canvas.polygon(points, count);
}

} // namespace korvane
