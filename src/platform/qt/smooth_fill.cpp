#include "platform/qt/smooth_fill.h"

#include <algorithm>
#include <cmath>

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
    rows_.resize(bottom - top_);
    for (std::vector<Cell>& row : rows_) {
        row.clear();
    }
    x_ = toUnits(outline[0].x());
    y_ = toUnits(outline[0].y());
    moveToCell(cellOf(x_), cellOf(y_));
    for (qsizetype i = 1; i <= outline.size(); ++i) {
        const QPointF& to = outline[i % outline.size()];
        edge(toUnits(to.x()), toUnits(to.y()));
    }
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        sweep(image, row, colour, rule == Qt::OddEvenFill);
    }
}

// Cells left of the image gather in one column before it, so that what they cover carries on
// to the right; cells right of it in one after it.
void SmoothFill::moveToCell(long x, long y) {
    cellX_ = std::clamp<long>(x, -1, width_);
    cellY_ = y;
    cell_ = nullptr;
}

// A cell entered again is added again; the sweep sums them.
void SmoothFill::accumulate(long area, long cover) {
    if (cell_ == nullptr) {
        const long row = cellY_ - top_;
        if (row < 0 || row >= static_cast<long>(rows_.size())) {
            return;
        }
        cell_ = &rows_[row].emplace_back(Cell{static_cast<int>(cellX_), 0, 0});
    }
    cell_->area += area;
    cell_->cover += static_cast<int>(cover);
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

void SmoothFill::sweep(QImage& image, int row, QRgb colour, bool evenOdd) {
    std::vector<Cell>& cells = rows_[row];
    if (cells.empty()) {
        return;
    }
    std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.x < b.x; });
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(top_ + row));
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
    long cover = 0;
    int x = -1;
    for (auto it = cells.begin(); it != cells.end();) {
        const int cellX = it->x;
        long cellArea = 0;
        long cellCover = 0;
        for (; it != cells.end() && it->x == cellX; ++it) {
            cellArea += it->area;
            cellCover += it->cover;
        }
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
    if (cover != 0 && x < width_) {
        blend(x, width_, coverage(cover * 2 * kOne, evenOdd));
    }
}

} // namespace korvane::qt
