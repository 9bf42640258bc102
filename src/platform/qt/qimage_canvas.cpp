#include "platform/qt/qimage_canvas.h"

#include <QFontMetricsF>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cmath>

#include "platform/qt/status_artwork.h"

namespace korvane::qt {

namespace {

constexpr double kMinScale = 0.05;
// From this many device pixels a logical pixel, black cells on black need no smoothing.
constexpr double kSharpScale = 2.75;

QColor toQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// The game's pens: the outline pens are solid black, 1 or 2 logical pixels wide.
QPen toQPen(Pen pen) {
    switch (pen) {
    case Pen::Thin:
        return QPen(Qt::black, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    case Pen::Thick:
        return QPen(Qt::black, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    case Pen::Null:
        break;
    }
    return QPen(Qt::NoPen);
}

double penWidth(Pen pen) {
    return pen == Pen::Thick ? 2.0 : pen == Pen::Thin ? 1.0 : 0.0;
}

double outlineShift(Pen pen) {
    return pen == Pen::Thin ? 0.5 : 0.0;
}

double cross(QPointF a, QPointF b) {
    return a.x() * b.y() - a.y() * b.x();
}

// The unit normal of edge vector e pointing out of a polygon of the given orientation.
QPointF outwardNormal(QPointF e, double orientation) {
    const double length = std::hypot(e.x(), e.y());
    return QPointF(e.y(), -e.x()) * (orientation / length);
}

// How far each edge of a polygon moves out when it grows: every edge, or only the slanted
// ones (level and upright edges on whole pixels already meet their neighbours exactly).
double edgeOffset(QPointF edge, double by, bool slantedOnly) {
    return slantedOnly && (edge.x() == 0.0 || edge.y() == 0.0) ? 0.0 : by;
}

// Where the edges into and out of corner p meet after moving out by da and db along their
// outward normals a and b; bevelled (two points) where that lies more than four times the
// larger offset away, as a mitred stroke would be.
void growCorner(QPointF p, QPointF a, double da, QPointF b, double db, QPolygonF& grown) {
    const double det = cross(a, b);
    const double limit = 4.0 * std::max(da, db);
    if (std::abs(det) > 1e-9) {
        const QPointF move = (QPointF(b.y(), -b.x()) * da - QPointF(a.y(), -a.x()) * db) / det;
        if (std::hypot(move.x(), move.y()) <= limit) {
            grown << p + move;
            return;
        }
    } else if (QPointF::dotProduct(a, b) > 0.0) {
        grown << p + (a * da + b * db) / 2.0; // a straight run
        return;
    }
    grown << p + a * da << p + b * db;
}

// The polygon grown outward, as a stroke of twice the offset would cover it. False for shapes
// without area. Fill the result with the winding rule: a tiny loop that growing can make at a
// short edge then stays filled.
bool growPolygon(const QPolygonF& shape, double by, bool slantedOnly, QPolygonF& grown) {
    QPolygonF p;
    for (const QPointF& point : shape) {
        if (p.isEmpty() || point != p.back()) {
            p << point;
        }
    }
    if (p.size() > 1 && p.front() == p.back()) {
        p.removeLast();
    }
    const qsizetype n = p.size();
    double area = 0.0;
    for (qsizetype i = 0; i < n; ++i) {
        area += cross(p[i], p[(i + 1) % n]);
    }
    if (n < 3 || std::abs(area) < 1e-9) {
        return false;
    }
    const double orientation = area > 0 ? 1.0 : -1.0;
    grown.clear();
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF in = p[i] - p[(i + n - 1) % n];
        const QPointF out = p[(i + 1) % n] - p[i];
        growCorner(p[i], outwardNormal(in, orientation), edgeOffset(in, by, slantedOnly),
                   outwardNormal(out, orientation), edgeOffset(out, by, slantedOnly), grown);
    }
    return true;
}

} // namespace

QImageCanvas::QImageCanvas(Mode mode) : mode_(mode) {
    remake();
}

void QImageCanvas::setScale(double devicePixelsPerLogical) {
    const double scale =
        mode_ == Mode::ExactPixels ? 1.0 : std::max(devicePixelsPerLogical, kMinScale);
    if (scale != scale_ || image_.isNull()) {
        scale_ = scale;
        remake();
    }
}

void QImageCanvas::remake() {
    if (painter_.isActive()) {
        painter_.end();
    }
    const int width = static_cast<int>(std::ceil(kWidth * scale_));
    const int height = static_cast<int>(std::ceil(kHeight * scale_));
    image_ = QImage(width, height, QImage::Format_RGB32);
    image_.fill(Qt::black);
    strip_ = renderStatusStrip(scale_);
}

QPainter& QImageCanvas::painter() {
    if (!painter_.isActive()) {
        painter_.begin(&image_);
        const bool smooth = mode_ == Mode::Smooth;
        painter_.setRenderHint(QPainter::Antialiasing, smooth);
        painter_.setRenderHint(QPainter::TextAntialiasing, smooth);
        painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
        // The image keeps device pixels; the painter works in logical pixels.
        painter_.scale(scale_, scale_);
        painter_.setFont(statusFont());
    }
    return painter_;
}

const QImage& QImageCanvas::image() {
    if (painter_.isActive()) {
        painter_.end();
    }
    return image_;
}

QColor QImageCanvas::logicalPixel(int x, int y) {
    const QImage& picture = image();
    const int px = static_cast<int>((x + 0.5) * scale_);
    const int py = static_cast<int>((y + 0.5) * scale_);
    if (!picture.valid(px, py)) {
        return QColor();
    }
    return picture.pixelColor(px, py);
}

Brush QImageCanvas::selectBrush(Brush brush) {
    const Brush previous = brush_;
    brush_ = brush;
    return previous;
}

Pen QImageCanvas::selectPen(Pen pen) {
    const Pen previous = pen_;
    pen_ = pen;
    return previous;
}

void QImageCanvas::polygon(const Point* points, int count) {
    QPolygonF shape(count);
    for (int i = 0; i < count; ++i) {
        shape[i] = QPointF(points[i].x, points[i].y);
    }
    QPainter& p = painter();
    const QColor fill = toQColor(brush_.colour);
    p.setBrush(fill);
    p.setPen(Qt::NoPen);
    const bool smooth = mode_ == Mode::Smooth;
    QPolygonF grown;
    if (pen_ == Pen::Null) {
        // Antialiased neighbours that share a slanted edge would let the background show
        // through as a faint seam; half a device pixel more on those edges closes it.
        if (smooth && growPolygon(shape, 0.5 / scale_, true, grown)) {
            p.drawPolygon(grown, Qt::WindingFill);
        } else {
            p.drawPolygon(shape, Qt::OddEvenFill);
        }
        return;
    }
    // The outline runs through the centres of the corner pixels, as the game's pens draw it;
    // a pen of even width is centred on the pixel edges instead, so both stay crisp.
    const QPolygonF outline = shape.translated(outlineShift(pen_), outlineShift(pen_));
    if (smooth && brush_.colour == Rgb{0, 0, 0} &&
        growPolygon(outline, penWidth(pen_) / 2.0, false, grown)) {
        // A black cell with its black outline is one larger black shape: filling it is many
        // times quicker than stroking. On a black background its outer edge cannot show and the
        // stickers drawn over it are smoothed themselves; at three device pixels a logical pixel
        // and more, the steps it leaves where faces meet are too fine to see, so it is filled
        // unsmoothed there, which halves the cost of a redraw.
        p.setRenderHint(QPainter::Antialiasing, !backgroundBlack_ || scale_ < kSharpScale);
        p.drawPolygon(grown, Qt::WindingFill);
        p.setRenderHint(QPainter::Antialiasing, true);
        return;
    }
    p.drawPolygon(shape, Qt::OddEvenFill);
    p.setPen(toQPen(pen_));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(outline);
}

void QImageCanvas::rectangle(int left, int top, int right, int bottom) {
    QPainter& p = painter();
    const QRectF area(left, top, right - left, bottom - top);
    p.fillRect(area, toQColor(brush_.colour));
    if (left <= 0 && top <= 0 && right >= kWidth && bottom >= kHeight) {
        backgroundBlack_ = brush_.colour == Rgb{0, 0, 0};
    }
    const double width = penWidth(pen_);
    if (width > 0.0) {
        // The outline lies inside the rectangle, as the game's pens draw it.
        const double half = width / 2.0;
        p.setPen(toQPen(pen_));
        p.setBrush(Qt::NoBrush);
        p.drawRect(area.adjusted(half, half, -half, -half));
    }
}

void QImageCanvas::drawTextRight(const char* text, int left, int top, int right, int bottom) {
    QPainter& p = painter();
    const QString line = QString::fromUtf8(text);
    const double advance = QFontMetricsF(p.font(), p.device()).horizontalAdvance(line);
    p.save();
    p.setClipRect(QRectF(left, top, right - left, bottom - top));
    p.setPen(Qt::black);
    p.drawText(QPointF(right - advance, top + statusFontAscent()), line);
    p.restore();
}

void QImageCanvas::copyStatusStrip() {
    QPainter& p = painter();
    // Device pixel for device pixel: undo the logical scale for this one copy.
    p.save();
    p.resetTransform();
    p.drawImage(QPointF(0, 0), strip_);
    p.restore();
}

} // namespace korvane::qt
