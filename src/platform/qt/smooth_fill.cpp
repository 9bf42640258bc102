#include "platform/qt/smooth_fill.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <utility>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace korvane::qt {

namespace {

constexpr long kOne = 256; // a pixel in the fill's units
constexpr int kChannelShifts[] = {0, 8, 16, 24};
constexpr long kGridCells = 1L << 18; // 2 MB of cells at most

// Qt's outline: device pixels rounded to 1/64, then in the fill's 1/256.
long toUnits(double v) {
    return std::lround(v * 64) * 4;
}

long cellOf(long v) {
    return v >> 8;
}

// The colour over a pixel by coverage c of 255: each channel of each times its share / 255,
// rounded as Qt rounds it (t + t / 256 + 128) / 256, and the two added. No channel's sum goes
// past 255, so the channels never carry into each other.
QRgb blend(QRgb pixel, QRgb colour, int c) {
#ifdef __SSE2__
    // All eight channels at once, in 16-bit lanes: products of bytes fit.
    const __m128i zero = _mm_setzero_si128();
    const __m128i both = _mm_unpacklo_epi8(
        _mm_cvtsi64_si128(static_cast<long long>((static_cast<quint64>(colour) << 32) | pixel)),
        zero);
    const __m128i shares = _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(255 - c)),
                                              _mm_set1_epi16(static_cast<short>(c)));
    __m128i t = _mm_mullo_epi16(both, shares);
    t = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(0x80)),
                       8);
    t = _mm_add_epi16(t, _mm_srli_si128(t, 8));
    return static_cast<QRgb>(_mm_cvtsi128_si32(_mm_packus_epi16(t, zero)));
#else
    const auto byteMul = [](QRgb x, unsigned a) {
        unsigned t = (x & 0xff00ff) * a;
        t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
        t &= 0xff00ff;
        x = ((x >> 8) & 0xff00ff) * a;
        x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
        x &= 0xff00ff00;
        return x | t;
    };
    return byteMul(colour, c) + byteMul(pixel, 255 - c);
#endif
}

// Twice the area covered in a pixel (in 1/256 units squared) to a coverage of 0 to 255.
template <bool evenOdd> int coverage(long area) {
    int c = static_cast<int>(area >> 9);
    c = c < 0 ? -c : c;
    if (evenOdd) {
        c &= 511;
        return c > 256 ? 512 - c : c == 256 ? 255 : c;
    }
    return std::min(c, 255);
}

// Division rounded down, with the remainder made positive.
void divide(long p, long d, long& quotient, long& remainder) {
    quotient = p / d;
    remainder = p % d;
    if (remainder < 0) {
        --quotient;
        remainder += d;
    }
}

} // namespace

void fillPixels(QRgb* from, QRgb* to, QRgb colour) {
    if constexpr (sizeof(wchar_t) == sizeof(QRgb)) {
        if (from < to) {
            std::wmemset(reinterpret_cast<wchar_t*>(from), static_cast<wchar_t>(colour),
                         static_cast<std::size_t>(to - from));
        }
    } else {
        std::fill(from, to, colour);
    }
}

bool SmoothFill::isUprightRectangle(const QPolygonF& outline) {
    const qsizetype n = outline.size();
    if (n != 4 && !(n == 5 && outline[4] == outline[0])) {
        return false;
    }
    const QPointF* p = outline.constData();
    return (p[0].x() == p[1].x() && p[1].y() == p[2].y() && p[2].x() == p[3].x() &&
            p[3].y() == p[0].y()) ||
           (p[0].y() == p[1].y() && p[1].x() == p[2].x() && p[2].y() == p[3].y() &&
            p[3].x() == p[0].x());
}

void SmoothFill::fill(QImage& image, const QPolygonF& outline, QRgb colour, Qt::FillRule rule) {
    const QRectF bounds = outline.boundingRect();
    const int top = std::max(0, static_cast<int>(std::floor(bounds.top())));
    const int bottom = std::min(image.height(), static_cast<int>(std::floor(bounds.bottom())) + 1);
    const int width = image.width();
    if (outline.size() < 3 || bottom <= top || bounds.right() < 0 || bounds.left() >= width) {
        return;
    }
    const long left = cellOf(toUnits(bounds.left()));
    const long right = cellOf(toUnits(bounds.right()));
    Grid grid;
    grid.left = std::clamp<long>(left, -1, width);
    grid.columns = std::clamp<long>(right, -1, width) - grid.left + 1;
    grid.width = width;
    // A shape larger than the grid may hold is filled in bands of rows, its outline walked again
    // for each: a large window cannot make the grid take more memory than the picture's pixels.
    const long bandRows = std::max(1L, kGridCells / grid.columns);
    const std::size_t cells =
        static_cast<std::size_t>(std::min<long>(bottom - top, bandRows) * grid.columns);
    if (cells_.size() < cells) {
        cells_.assign(cells, Cell{});
    }
    if (runs_.size() < static_cast<std::size_t>(std::min<long>(bottom - top, bandRows))) {
        runs_.assign(std::min<long>(bottom - top, bandRows), Runs{});
    }
    grid.cells = cells_.data();
    grid.runs = runs_.data();
    // Over a pixel of the colour itself, a colour of whole channels (0 or 255) blends back to
    // itself: black cells over black leave such pixels as they are.
    const bool wholeChannels = std::all_of(kChannelShifts, std::end(kChannelShifts), [&](int s) {
        const unsigned channel = (colour >> s) & 0xff;
        return channel == 0 || channel == 0xff;
    });
    const Paint paint{colour, wholeChannels};
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (grid.top = top; grid.top < bottom; grid.top += bandRows) {
        grid.rows = std::min<long>(bandRows, bottom - grid.top);
        // Whether some cell of the outline lies outside the grid (the rounding of the outline
        // can take its last row one further).
        const bool clip = left < 0 || right >= width || cellOf(toUnits(bounds.top())) < grid.top ||
                          cellOf(toUnits(bounds.bottom())) >= grid.top + grid.rows;
        Pen pen{toUnits(outline[0].x()), toUnits(outline[0].y())};
        for (qsizetype i = 1; i <= outline.size(); ++i) {
            const QPointF& to = outline[i % outline.size()];
            if (clip) {
                edge<true>(grid, pen, toUnits(to.x()), toUnits(to.y()));
            } else {
                edge<false>(grid, pen, toUnits(to.x()), toUnits(to.y()));
            }
        }
        // Only cells left or right of the image lie outside it.
        const bool outside = left < 0 || right >= width;
        for (long row = 0; row < grid.rows; ++row) {
            QRgb* line = reinterpret_cast<QRgb*>(bits + (grid.top + row) * stride);
            if (rule == Qt::OddEvenFill) {
                outside ? sweep<true, true>(grid, line, row, paint)
                        : sweep<true, false>(grid, line, row, paint);
            } else {
                outside ? sweep<false, true>(grid, line, row, paint)
                        : sweep<false, false>(grid, line, row, paint);
            }
        }
    }
}

// The grid column of image column x. With `clip`, cells left of the image gather in one column
// before it, so that what they cover carries on to the right, and cells right of it in one
// after it; without, every cell lies within the image.
template <bool clip> inline long SmoothFill::Grid::column(long x) const {
    return (clip ? std::clamp<long>(x, -1, width) : x) - left;
}

// Grid cells c1 to c2 of a row will be added to by an edge going down (or up).
inline void SmoothFill::Grid::touch(long row, bool down, long c1, long c2) const {
    Runs& r = runs[row];
    r.low[down] = static_cast<int>(std::min<long>(r.low[down], std::min(c1, c2)));
    r.high[down] = static_cast<int>(std::max<long>(r.high[down], std::max(c1, c2)));
}

// A piece of an edge within one image row: from (x1, y1) to (x2, y2), y relative to the row's
// top, going down (or up). With `clip`, rows outside the image are left out.
template <bool clip>
[[gnu::always_inline]] inline void SmoothFill::edgeInRow(const Grid& g, long row, long x1, long y1,
                                                         long x2, long y2, bool down) {
    row -= g.top;
    if (y1 == y2 || (clip && (row < 0 || row >= g.rows))) {
        return;
    }
    long ex1 = cellOf(x1);
    const long ex2 = cellOf(x2);
    const long fx1 = x1 - ex1 * kOne;
    const long fx2 = x2 - ex2 * kOne;
    Cell* cells = g.cells + row * g.columns;
    const long c1 = g.column<clip>(ex1);
    const long c2 = g.column<clip>(ex2);
    g.touch(row, down, c1, c2);
    if (ex1 == ex2) {
        cells[c1].add((fx1 + fx2) * (y2 - y1), y2 - y1);
        return;
    }
    long dx = x2 - x1;
    long p = (kOne - fx1) * (y2 - y1);
    long first = kOne;
    long step = 1;
    if (dx < 0) {
        p = fx1 * (y2 - y1);
        first = 0;
        step = -1;
        dx = -dx;
    }
    long delta = 0;
    long mod = 0;
    divide(p, dx, delta, mod);
    cells[c1].add((fx1 + first) * delta, delta);
    ex1 += step;
    y1 += delta;
    if (ex1 != ex2) {
        long lift = 0;
        long rem = 0;
        divide(kOne * (y2 - y1 + delta), dx, lift, rem);
        mod -= dx;
        while (ex1 != ex2) {
            delta = lift;
            mod += rem;
            if (mod >= 0) {
                mod -= dx;
                ++delta;
            }
            cells[g.column<clip>(ex1)].add(kOne * delta, delta);
            y1 += delta;
            ex1 += step;
        }
    }
    cells[c2].add((fx2 + kOne - first) * (y2 - y1), y2 - y1);
}

template <bool clip> void SmoothFill::edge(const Grid& g, Pen& pen, long toX, long toY) {
    long ey1 = cellOf(pen.y);
    const long ey2 = cellOf(toY);
    const long fy1 = pen.y - ey1 * kOne;
    const long fy2 = toY - ey2 * kOne;
    const long fromX = pen.x;
    const long dx = toX - fromX;
    long dy = toY - pen.y;
    pen = Pen{toX, toY};
    const bool down = dy > 0;
    if (ey1 == ey2) {
        edgeInRow<clip>(g, ey1, fromX, fy1, toX, fy2, down);
        return;
    }
    const long step = down ? 1 : -1;
    const long first = down ? kOne : 0;
    if (dx == 0) {
        // Upright: the same cell of every row, no need to walk along the rows.
        const long ex = cellOf(fromX);
        const long c = g.column<clip>(ex);
        const long twoFx = (fromX - ex * kOne) * 2;
        const auto add = [&](long row, long cover) {
            row -= g.top;
            if (!clip || (row >= 0 && row < g.rows)) {
                g.touch(row, down, c, c);
                g.cells[row * g.columns + c].add(twoFx * cover, cover);
            }
        };
        add(ey1, first - fy1);
        for (ey1 += step; ey1 != ey2; ey1 += step) {
            add(ey1, first + first - kOne);
        }
        add(ey1, fy2 - kOne + first);
        return;
    }
    long p = down ? (kOne - fy1) * dx : fy1 * dx;
    dy = down ? dy : -dy;
    long delta = 0;
    long mod = 0;
    divide(p, dy, delta, mod);
    long x = fromX + delta;
    edgeInRow<clip>(g, ey1, fromX, fy1, x, first, down);
    ey1 += step;
    if (ey1 != ey2) {
        long lift = 0;
        long rem = 0;
        divide(kOne * dx, dy, lift, rem);
        mod -= dy;
        while (ey1 != ey2) {
            delta = lift;
            mod += rem;
            if (mod >= 0) {
                mod -= dy;
                ++delta;
            }
            const long next = x + delta;
            edgeInRow<clip>(g, ey1, x, kOne - first, next, first, down);
            x = next;
            ey1 += step;
        }
    }
    edgeInRow<clip>(g, ey1, x, kOne - first, toX, fy2, down);
}

// One row: the cells of its runs in order, each blended by its own coverage, the pixels between
// and after the runs by the cover carried from the left. Clears the cells and runs it reads.
template <bool evenOdd, bool outside>
void SmoothFill::sweep(const Grid& g, QRgb* line, long row, const Paint& paint) {
    const Runs runs = std::exchange(g.runs[row], Runs{});
    long from[2] = {runs.low[0], runs.low[1]};
    long to[2] = {runs.high[0], runs.high[1]};
    if (from[0] > to[0] || (from[1] <= to[1] && from[1] < from[0])) {
        std::swap(from[0], from[1]);
        std::swap(to[0], to[1]);
    }
    if (from[0] > to[0]) {
        return; // nothing in this row
    }
    if (from[1] <= to[0] + 1) {
        to[0] = std::max(to[0], to[1]); // one run, or the second empty
        from[1] = 1;
        to[1] = 0;
    }
    Cell* cells = g.cells + row * g.columns;
    const long left = g.left;
    const long width = g.width;
    long cover = 0;
    long x = -1;
    for (int r = 0; r < 2 && from[r] <= to[r]; ++r) {
        const long start = left + from[r];
        if (start > x && cover != 0) {
            blendRun(line, x, start, width, coverage<evenOdd>(cover * 2 * kOne), paint);
        }
        for (long c = from[r]; c <= to[r]; ++c) {
            const Cell sum = std::exchange(cells[c], Cell{});
            cover += sum.cover;
            const long cellX = left + c;
            const long area = cover * 2 * kOne - sum.area;
            if (area != 0 && (!outside || (cellX >= 0 && cellX < width))) {
                blendPixel(line[cellX], coverage<evenOdd>(area), paint);
            }
        }
        x = left + to[r] + 1;
    }
    if (cover != 0 && x < width) {
        blendRun(line, x, width, width, coverage<evenOdd>(cover * 2 * kOne), paint);
    }
}

inline void SmoothFill::blendPixel(QRgb& pixel, int c, const Paint& paint) {
    if (c == 255) {
        pixel = paint.colour;
    } else if (c != 0 && !(paint.wholeChannels && pixel == paint.colour)) {
        pixel = blend(pixel, paint.colour, c);
    }
}

// Pixels from to to (clamped to the row's width) blended with the colour by coverage c.
void SmoothFill::blendRun(QRgb* line, long from, long to, long width, int c, const Paint& paint) {
    from = std::max(from, 0L);
    to = std::min(to, width);
    if (c == 0 || from >= to) {
        return;
    }
    if (c == 255) {
        fillPixels(line + from, line + to, paint.colour);
        return;
    }
    for (long x = from; x < to; ++x) {
        line[x] = blend(line[x], paint.colour, c);
    }
}

} // namespace korvane::qt
