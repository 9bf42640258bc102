#include "platform/qt/smooth_fill.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace korvane::qt {

namespace {

constexpr long kOne = 256; // a pixel in the fill's units
constexpr int kChannelShifts[] = {0, 8, 16, 24};

// Qt's outline: device pixels rounded to 1/64, then in the fill's 1/256.
long toUnits(double v) {
    return std::lround(v * 64) * 4;
}

long cellOf(long v) {
    return v >> 8;
}

// Each channel times a / 255, rounded as Qt rounds it.
QRgb byteMul(QRgb x, unsigned a) {
    unsigned t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
    x &= 0xff00ff00;
    return x | t;
}

// Twice the area covered in a pixel (in 1/256 units squared) to a coverage of 0 to 255.
int coverage(long area, bool evenOdd) {
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
    top_ = std::max(0, static_cast<int>(std::floor(bounds.top())));
    const int bottom = std::min(image.height(), static_cast<int>(std::floor(bounds.bottom())) + 1);
    if (outline.size() < 3 || bottom <= top_ || bounds.right() < 0 ||
        bounds.left() >= image.width()) {
        return;
    }
    width_ = image.width();
    rows_ = bottom - top_;
    const long left = cellOf(toUnits(bounds.left()));
    const long right = cellOf(toUnits(bounds.right()));
    const bool clip = left < 0 || right >= width_;
    left_ = static_cast<int>(std::clamp<long>(left, -1, width_));
    columns_ = static_cast<int>(std::clamp<long>(right, -1, width_)) - left_ + 1;
    const std::size_t cells = static_cast<std::size_t>(rows_) * columns_;
    if (cells_.size() < cells) {
        cells_.assign(cells, Cell{});
    }
    if (runs_.size() < static_cast<std::size_t>(rows_)) {
        runs_.assign(rows_, Runs{});
    }
    x_ = toUnits(outline[0].x());
    y_ = toUnits(outline[0].y());
    for (qsizetype i = 1; i <= outline.size(); ++i) {
        const QPointF& to = outline[i % outline.size()];
        if (clip) {
            edge<true>(toUnits(to.x()), toUnits(to.y()));
        } else {
            edge<false>(toUnits(to.x()), toUnits(to.y()));
        }
    }
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    // Over a pixel of the colour itself, a colour of whole channels (0 or 255) blends back to
    // itself: black cells over black leave such pixels as they are.
    const bool wholeChannels = std::all_of(kChannelShifts, std::end(kChannelShifts), [&](int s) {
        const unsigned channel = (colour >> s) & 0xff;
        return channel == 0 || channel == 0xff;
    });
    const Paint paint{colour, rule == Qt::OddEvenFill, wholeChannels};
    for (int row = 0; row < rows_; ++row) {
        sweep(reinterpret_cast<QRgb*>(bits + (top_ + row) * stride), row, paint);
    }
}

// The grid column of image column x. With `clip`, cells left of the image gather in one column
// before it, so that what they cover carries on to the right, and cells right of it in one
// after it; without, the shape lies within the image.
template <bool clip> inline long SmoothFill::column(long x) const {
    return (clip ? std::clamp<long>(x, -1, width_) : x) - left_;
}

// A piece of an edge within one image row: from (x1, y1) to (x2, y2), y relative to the row's
// top, going down (or up). Rows outside the image are left out.
template <bool clip>
[[gnu::always_inline]] inline void SmoothFill::edgeInRow(long row, long x1, long y1, long x2,
                                                         long y2, bool down) {
    row -= top_;
    if (y1 == y2 || row < 0 || row >= rows_) {
        return;
    }
    long ex1 = cellOf(x1);
    const long ex2 = cellOf(x2);
    const long fx1 = x1 - ex1 * kOne;
    const long fx2 = x2 - ex2 * kOne;
    Cell* cells = cells_.data() + row * columns_;
    Runs& runs = runs_[row];
    const int c1 = static_cast<int>(column<clip>(ex1));
    const int c2 = static_cast<int>(column<clip>(ex2));
    runs.low[down] = std::min(runs.low[down], std::min(c1, c2));
    runs.high[down] = std::max(runs.high[down], std::max(c1, c2));
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
            cells[column<clip>(ex1)].add(kOne * delta, delta);
            y1 += delta;
            ex1 += step;
        }
    }
    cells[c2].add((fx2 + kOne - first) * (y2 - y1), y2 - y1);
}

template <bool clip> void SmoothFill::edge(long toX, long toY) {
    long ey1 = cellOf(y_);
    const long ey2 = cellOf(toY);
    const long fy1 = y_ - ey1 * kOne;
    const long fy2 = toY - ey2 * kOne;
    const long dx = toX - x_;
    long dy = toY - y_;
    const long fromX = x_;
    x_ = toX;
    y_ = toY;
    const bool down = dy > 0;
    if (ey1 == ey2) {
        edgeInRow<clip>(ey1, fromX, fy1, toX, fy2, down);
        return;
    }
    const long step = down ? 1 : -1;
    const long first = down ? kOne : 0;
    if (dx == 0) {
        // Upright: the same cell of every row, no need to walk along the rows.
        const long ex = cellOf(fromX);
        const int c = static_cast<int>(column<clip>(ex));
        const long twoFx = (fromX - ex * kOne) * 2;
        const auto add = [&](long row, long cover) {
            row -= top_;
            if (row >= 0 && row < rows_) {
                Runs& runs = runs_[row];
                runs.low[down] = std::min(runs.low[down], c);
                runs.high[down] = std::max(runs.high[down], c);
                cells_[row * columns_ + c].add(twoFx * cover, cover);
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
    edgeInRow<clip>(ey1, fromX, fy1, x, first, down);
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
            edgeInRow<clip>(ey1, x, kOne - first, next, first, down);
            x = next;
            ey1 += step;
        }
    }
    edgeInRow<clip>(ey1, x, kOne - first, toX, fy2, down);
}

// One row: the cells of its runs in order, each blended by its own coverage, the pixels between
// and after the runs by the cover carried from the left. Clears the cells and runs it reads.
void SmoothFill::sweep(QRgb* line, int row, const Paint& paint) {
    const Runs runs = std::exchange(runs_[row], Runs{});
    int from[2] = {runs.low[0], runs.low[1]};
    int to[2] = {runs.high[0], runs.high[1]};
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
    Cell* cells = cells_.data() + static_cast<std::size_t>(row) * columns_;
    long cover = 0;
    int x = -1;
    for (int r = 0; r < 2 && from[r] <= to[r]; ++r) {
        const int start = left_ + from[r];
        if (start > x && cover != 0) {
            blendRun(line, x, start, coverage(cover * 2 * kOne, paint.evenOdd), paint);
        }
        for (int c = from[r]; c <= to[r]; ++c) {
            const Cell sum = std::exchange(cells[c], Cell{});
            cover += sum.cover;
            const int cellX = left_ + c;
            const long area = cover * 2 * kOne - sum.area;
            if (area != 0 && cellX >= 0 && cellX < width_) {
                blendPixel(line[cellX], coverage(area, paint.evenOdd), paint);
            }
        }
        x = left_ + to[r] + 1;
    }
    if (cover != 0 && x < width_) {
        blendRun(line, x, width_, coverage(cover * 2 * kOne, paint.evenOdd), paint);
    }
}

inline void SmoothFill::blendPixel(QRgb& pixel, int c, const Paint& paint) {
    if (c == 255) {
        pixel = paint.colour;
    } else if (c != 0 && !(paint.wholeChannels && pixel == paint.colour)) {
        pixel = byteMul(paint.colour, c) + byteMul(pixel, 255 - c);
    }
}

// Pixels from to to (clamped to the row) blended with the colour by coverage c.
void SmoothFill::blendRun(QRgb* line, int from, int to, int c, const Paint& paint) const {
    from = std::max(from, 0);
    to = std::min(to, width_);
    if (c == 0 || from >= to) {
        return;
    }
    if (c == 255) {
        std::fill(line + from, line + to, paint.colour);
        return;
    }
    const QRgb part = byteMul(paint.colour, c);
    for (int x = from; x < to; ++x) {
        line[x] = part + byteMul(line[x], 255 - c);
    }
}

} // namespace korvane::qt
