#pragma once

#include <QImage>
#include <QPolygonF>
#include <climits>
#include <vector>

namespace korvane::qt {

// Pixels [from, to) in one colour, through the C library's tuned wide fill where its wide
// character is a pixel's size.
void fillPixels(QRgb* from, QRgb* to, QRgb colour);

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
        bool wholeChannels; // every channel 0 or 255
    };
    // The cells and runs of one fill over the shape's bounds, copied into each loop so that
    // nothing is read again after every store.
    struct Grid {
        Cell* cells = nullptr;
        Runs* runs = nullptr;
        long top = 0; // the image row of the grid's first row
        long rows = 0;
        long left = 0; // the image column of the grid's first column (-1: left of the image)
        long columns = 0;
        long width = 0; // the image's
        template <bool clip> long column(long x) const;
        void touch(long row, bool down, long c1, long c2) const;
    };
    struct Pen {
        long x; // in 1/256 pixel
        long y;
    };

    template <bool clip> static void edge(const Grid& g, Pen& pen, long toX, long toY);
    template <bool clip>
    static void edgeInRow(const Grid& g, long row, long x1, long y1, long x2, long y2, bool down);
    template <bool evenOdd, bool outside>
    static void sweep(const Grid& g, QRgb* line, long row, const Paint& paint);
    static void blendPixel(QRgb& pixel, int c, const Paint& paint);
    static void blendRun(QRgb* line, long from, long to, long width, int c, const Paint& paint);

    // The cells of the shape's bounds row by row, and each row's runs: all empty between
    // fills, as the sweep clears what it reads.
    std::vector<Cell> cells_;
    std::vector<Runs> runs_;
};

} // namespace korvane::qt
