#include "platform/qt/smooth_fill.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>

namespace korvane::qt {

namespace {

constexpr long kOne = 256; // a pixel in the fill's units

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
    left_ = static_cast<int>(std::clamp<long>(cellOf(toUnits(bounds.left())), -1, width_));
    const long right = std::clamp<long>(cellOf(toUnits(bounds.right())), -1, width_);
    columns_ = static_cast<int>(right) - left_ + 1;
    words_ = (columns_ + 63) / 64;
    const std::size_t cells = static_cast<std::size_t>(rows_) * columns_;
    if (area_.size() < cells) {
        area_.assign(cells, 0);
        cover_.assign(cells, 0);
    }
    const std::size_t words = static_cast<std::size_t>(rows_) * words_;
    if (touched_.size() < words) {
        touched_.assign(words, 0);
    }
    x_ = toUnits(outline[0].x());
    y_ = toUnits(outline[0].y());
    moveToCell(cellOf(x_), cellOf(y_));
    for (qsizetype i = 1; i <= outline.size(); ++i) {
        const QPointF& to = outline[i % outline.size()];
        edge(toUnits(to.x()), toUnits(to.y()));
    }
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int row = 0; row < rows_; ++row) {
        sweep(reinterpret_cast<QRgb*>(bits + (top_ + row) * stride), row, colour,
              rule == Qt::OddEvenFill);
    }
}

// Cells left of the image gather in one column before it, so that what they cover carries on
// to the right; cells right of it in one after it.
inline void SmoothFill::moveToCell(long x, long y) {
    cellX_ = std::clamp<long>(x, -1, width_) - left_;
    cellY_ = y - top_;
    cell_ = cellY_ >= 0 && cellY_ < rows_ ? cellY_ * columns_ + cellX_ : -1;
}

// A cell entered again is added to again.
inline void SmoothFill::accumulate(long area, long cover) {
    if (cell_ >= 0) {
        area_[cell_] += static_cast<int>(area);
        cover_[cell_] += static_cast<int>(cover);
        touched_[cellY_ * words_ + (cellX_ >> 6)] |= std::uint64_t{1} << (cellX_ & 63);
    }
}

// A piece of an edge within one row: from (x1, y1) to (x2, y2), y relative to the row's top.
void SmoothFill::edgeInRow(long row, long x1, long y1, long x2, long y2) {
    long dx = x2 - x1;
    long ex1 = cellOf(x1);
    const long ex2 = cellOf(x2);
    const long fx1 = x1 - ex1 * kOne;
    const long fx2 = x2 - ex2 * kOne;
    if (y1 == y2) {
        moveToCell(ex2, row);
        return;
    }
    if (ex1 == ex2) {
        accumulate((fx1 + fx2) * (y2 - y1), y2 - y1);
        return;
    }
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
    accumulate((fx1 + first) * delta, delta);
    ex1 += step;
    moveToCell(ex1, row);
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
            accumulate(kOne * delta, delta);
            y1 += delta;
            ex1 += step;
            moveToCell(ex1, row);
        }
    }
    accumulate((fx2 + kOne - first) * (y2 - y1), y2 - y1);
}

void SmoothFill::edge(long toX, long toY) {
    long ey1 = cellOf(y_);
    const long ey2 = cellOf(toY);
    const long fy1 = y_ - ey1 * kOne;
    const long fy2 = toY - ey2 * kOne;
    long dx = toX - x_;
    long dy = toY - y_;
    const long fromX = x_;
    x_ = toX;
    y_ = toY;
    if (ey1 == ey2) {
        edgeInRow(ey1, fromX, fy1, toX, fy2);
        return;
    }
    long step = 1;
    long first = kOne;
    if (dx == 0) {
        // Upright: the same cell of every row, no need to walk along the rows.
        const long ex = cellOf(fromX);
        const long twoFx = (fromX - ex * kOne) * 2;
        if (dy < 0) {
            first = 0;
            step = -1;
        }
        long delta = first - fy1;
        accumulate(twoFx * delta, delta);
        ey1 += step;
        moveToCell(ex, ey1);
        delta = first + first - kOne;
        while (ey1 != ey2) {
            accumulate(twoFx * delta, delta);
            ey1 += step;
            moveToCell(ex, ey1);
        }
        delta = fy2 - kOne + first;
        accumulate(twoFx * delta, delta);
        return;
    }
    long p = (kOne - fy1) * dx;
    if (dy < 0) {
        p = fy1 * dx;
        first = 0;
        step = -1;
        dy = -dy;
    }
    long delta = 0;
    long mod = 0;
    divide(p, dy, delta, mod);
    long x = fromX + delta;
    edgeInRow(ey1, fromX, fy1, x, first);
    ey1 += step;
    moveToCell(cellOf(x), ey1);
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
            edgeInRow(ey1, x, kOne - first, next, first);
            x = next;
            ey1 += step;
            moveToCell(cellOf(x), ey1);
        }
    }
    edgeInRow(ey1, x, kOne - first, toX, fy2);
}

// One row: the touched cells in order, each blended by its own coverage, the runs between them
// by the cover carried from the left. Clears the cells it reads.
void SmoothFill::sweep(QRgb* line, int row, QRgb colour, bool evenOdd) {
    const auto blend = [&](int from, int to, int c) {
        from = std::max(from, 0);
        to = std::min(to, width_);
        if (c == 0 || from >= to) {
            return;
        }
        if (c == 255) {
            std::fill(line + from, line + to, colour);
            return;
        }
        const QRgb part = byteMul(colour, c);
        for (int x = from; x < to; ++x) {
            line[x] = part + byteMul(line[x], 255 - c);
        }
    };
    std::uint64_t* words = touched_.data() + static_cast<std::size_t>(row) * words_;
    int* areas = area_.data() + static_cast<std::size_t>(row) * columns_;
    int* covers = cover_.data() + static_cast<std::size_t>(row) * columns_;
    long cover = 0;
    int x = -1;
    for (int w = 0; w < words_; ++w) {
        for (std::uint64_t bits = std::exchange(words[w], 0); bits != 0; bits &= bits - 1) {
            const int column = w * 64 + std::countr_zero(bits);
            const int cellX = left_ + column;
            const long cellArea = std::exchange(areas[column], 0);
            const long cellCover = std::exchange(covers[column], 0);
            if (cellX > x && cover != 0) {
                blend(x, cellX, coverage(cover * 2 * kOne, evenOdd));
            }
            cover += cellCover;
            const long area = cover * 2 * kOne - cellArea;
            if (area != 0 && cellX >= 0) {
                blend(cellX, cellX + 1, coverage(area, evenOdd));
            }
            x = cellX + 1;
        }
    }
    if (cover != 0 && x < width_) {
        blend(x, width_, coverage(cover * 2 * kOne, evenOdd));
    }
}

} // namespace korvane::qt
