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
        applyBrushAndPen();
    }
    return painter_;
}

void QImageCanvas::applyBrushAndPen() {
    if (painter_.isActive()) {
        painter_.setBrush(toQColor(brush_.colour));
        painter_.setPen(toQPen(pen_));
    }
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
    applyBrushAndPen();
    return previous;
}

Pen QImageCanvas::selectPen(Pen pen) {
    const Pen previous = pen_;
    pen_ = pen;
    applyBrushAndPen();
    return previous;
}

void QImageCanvas::polygon(const Point* points, int count) {
    QPolygonF shape(count);
    for (int i = 0; i < count; ++i) {
        shape[i] = QPointF(points[i].x, points[i].y);
    }
    QPainter& p = painter();
    if (pen_ == Pen::Null) {
        p.drawPolygon(shape, Qt::OddEvenFill);
        return;
    }
    // The outline runs through the centres of the corner pixels, as the game's pens draw it;
    // a pen of even width is centred on the pixel edges instead, so both stay crisp.
    p.setPen(Qt::NoPen);
    p.drawPolygon(shape, Qt::OddEvenFill);
    const double shift = pen_ == Pen::Thin ? 0.5 : 0.0;
    p.setPen(toQPen(pen_));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(shape.translated(shift, shift));
    p.setBrush(toQColor(brush_.colour));
}

void QImageCanvas::rectangle(int left, int top, int right, int bottom) {
    QPainter& p = painter();
    const QRectF area(left, top, right - left, bottom - top);
    p.fillRect(area, toQColor(brush_.colour));
    const double width = penWidth(pen_);
    if (width > 0.0) {
        // The outline lies inside the rectangle, as the game's pens draw it.
        const double half = width / 2.0;
        p.save();
        p.setBrush(Qt::NoBrush);
        p.drawRect(area.adjusted(half, half, -half, -half));
        p.restore();
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
