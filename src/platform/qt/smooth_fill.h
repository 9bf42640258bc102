#pragma once

#include <QImage>
#include <QPolygonF>
#include <cstdint>
#include <vector>

namespace korvane::qt {

// An antialiased polygon fill that gives exactly the pixels of QPainter's on an RGB32 image
// (opaque colour, no clip, outline in device pixels), for a fraction of the cost on the game's
// shapes. Qt rasterises a shape in bands of a few rows, walks its outline again for each band
// and keeps each row's cells in a sorted list; this walks it once into a grid of cells over the
// shape's bounds and reads each row's touched cells from a bit set, in order without sorting.
// The arithmetic is Qt's: the outline rounded to 1/64 pixel, coverage as the area under each
// edge per pixel in 1/256 units, the colour blended by coverage with Qt's rounding. A test
// compares it with QPainter pixel for pixel.
class SmoothFill {
public:
    // Qt fills an upright rectangle another way, with pixels of its own: leave those to it.
    static bool isUprightRectangle(const QPolygonF& outline);

    void fill(QImage& image, const QPolygonF& outline, QRgb colour, Qt::FillRule rule);

private:
    void moveToCell(long x, long y);
    void accumulate(long area, long cover);
    void edge(long toX, long toY);
    void edgeInRow(long row, long x1, long y1, long x2, long y2);
    void sweep(QRgb* line, int row, QRgb colour, bool evenOdd);

    // The cells of the shape's bounds, row by row: what each edge adds to a cell's area and
    // cover, and a bit for each cell something was added to. All zero between fills: the
    // sweep clears what it reads.
    std::vector<int> area_;
    std::vector<int> cover_;
    std::vector<std::uint64_t> touched_;
    int top_ = 0; // the image row of the grid's first row
    int rows_ = 0;
    int left_ = 0; // the cell column of the grid's first column (-1: left of the image)
    int columns_ = 0;
    int words_ = 0; // bit words a row
    int width_ = 0;
    long cellX_ = 0;
    long cellY_ = 0;
    long cell_ = -1; // the current cell's index in the grid, or -1 outside its rows
    long x_ = 0;     // the pen, in 1/256 pixel
    long y_ = 0;
};

} // namespace korvane::qt
