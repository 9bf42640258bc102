#pragma once

#include <QImage>
#include <QPolygonF>
#include <climits>
#include <vector>

namespace korvane::qt {

// An antialiased polygon fill that gives exactly the pixels of QPainter's on an RGB32 image
// (opaque colour, no clip, outline in device pixels), for a fraction of the cost on the game's
// shapes. Qt rasterises a shape in bands of a few rows, walks its outline again for each band
// and keeps each row's cells in a sorted list; this walks it once into a grid of cells over the
// shape's bounds. Each row keeps the span of cells its downward edges touched and the span its
// upward ones touched: for a convex shape its two sides, read cell by cell, with the solid run
// between them written whole. (A shape of any other form comes out the same, only slower: an
// untouched cell inside a span adds nothing.) The arithmetic is Qt's: the outline rounded to
// 1/64 pixel, coverage as the area under each edge per pixel in 1/256 units, the colour blended
// by coverage with Qt's rounding. A test compares it with QPainter pixel for pixel.
class SmoothFill {
public:
    // Qt fills an upright rectangle another way, with pixels of its own: leave those to it.
    static bool isUprightRectangle(const QPolygonF& outline);

    void fill(QImage& image, const QPolygonF& outline, QRgb colour, Qt::FillRule rule);

private:
    // What the edges add to one pixel: the area left of them, and how far they go down.
    struct Cell {
        int area = 0;
        int cover = 0;
        void add(long a, long c) {
            area += static_cast<int>(a);
            cover += static_cast<int>(c);
        }
    };
    // The grid columns touched in a row by edges going up [0] and down [1].
    struct Runs {
        int low[2] = {INT_MAX, INT_MAX};
        int high[2] = {INT_MIN, INT_MIN};
    };

    struct Paint {
        QRgb colour;
        bool evenOdd;
        bool wholeChannels; // every channel 0 or 255
    };

    template <bool clip> long column(long x) const;
    template <bool clip> void edge(long toX, long toY);
    template <bool clip> void edgeInRow(long row, long x1, long y1, long x2, long y2, bool down);
    void sweep(QRgb* line, int row, const Paint& paint);
    static void blendPixel(QRgb& pixel, int c, const Paint& paint);
    void blendRun(QRgb* line, int from, int to, int c, const Paint& paint) const;

    // The cells of the shape's bounds row by row, and each row's runs: all empty between
    // fills, as the sweep clears what it reads.
    std::vector<Cell> cells_;
    std::vector<Runs> runs_;
    int top_ = 0; // the image row of the grid's first row
    int rows_ = 0;
    int left_ = 0; // the image column of the grid's first column (-1: left of the image)
    int columns_ = 0;
    int width_ = 0;
    long x_ = 0; // the pen, in 1/256 pixel
    long y_ = 0;
};

} // namespace korvane::qt
