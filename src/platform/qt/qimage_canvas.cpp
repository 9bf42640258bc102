#include "platform/qt/qimage_canvas.h"

#include <QFontMetricsF>
#include <QPolygon>
#include <QRegion>
#include <QString>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/qt/status_artwork.h"

namespace korvane::qt {

namespace {

constexpr double kMinScale = 0.05;
// From this many device pixels a logical pixel, black cells on black need no smoothing.
constexpr double kSharpScale = 2.75;
// Smoothing writes the device pixels a shape touches, so it reaches at most one beyond it: a
// margin of two for what was drawn, and shapes more than a pixel's diagonal (plus Qt's rounding
// of outlines to 1/64) apart touch no pixel in common.
constexpr int kReach = 2;
constexpr double kApart = 1.5;

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
    QVarLengthArray<QPointF, 8> p;
    for (const QPointF& point : shape) {
        if (p.isEmpty() || point != p.back()) {
            p.append(point);
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
    // Edge i runs from corner i to the next.
    QVarLengthArray<QPointF, 8> normal(n);
    QVarLengthArray<double, 8> offset(n);
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF edge = p[(i + 1) % n] - p[i];
        normal[i] = outwardNormal(edge, orientation);
        offset[i] = edgeOffset(edge, by, slantedOnly);
    }
    grown.clear();
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype in = (i + n - 1) % n;
        growCorner(p[i], normal[in], offset[in], normal[i], offset[i], grown);
    }
    return true;
}

// Whether the two outlines are more than `gap` apart along the normal of one of their edges.
// Projections never bring points closer, so the outlines are at least that far apart.
bool apart(const QPolygonF& a, const QPolygonF& b, double gap) {
    const auto span = [](const QPolygonF& shape, QPointF axis) {
        double low = QPointF::dotProduct(shape[0], axis);
        double high = low;
        for (const QPointF& p : shape) {
            const double d = QPointF::dotProduct(p, axis);
            low = std::min(low, d);
            high = std::max(high, d);
        }
        return std::pair{low, high};
    };
    for (const QPolygonF* shape : {&a, &b}) {
        const qsizetype n = shape->size();
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF edge = (*shape)[(i + 1) % n] - (*shape)[i];
            const double length = std::hypot(edge.x(), edge.y());
            if (length == 0.0) {
                continue;
            }
            const QPointF axis(edge.y() / length, -edge.x() / length);
            const auto [lowA, highA] = span(a, axis);
            const auto [lowB, highB] = span(b, axis);
            if (lowB - highA > gap || lowA - highB > gap) {
                return true;
            }
        }
    }
    return false;
}

QPolygonF toDevice(const QPolygonF& shape, double scale) {
    QPolygonF device(shape.size());
    for (qsizetype i = 0; i < shape.size(); ++i) {
        device[i] = shape[i] * scale;
    }
    return device;
}

} // namespace

void DrawnArea::add(const QRect& area) {
    (area.bottom() < stripBottom_ ? top_ : rest_) |= area;
    const int last = std::min(area.bottom(), static_cast<int>(rows_.size()) - 1);
    for (int row = std::max(area.top(), 0); row <= last; ++row) {
        Span& span = rows_[row];
        span = span.from < span.to
                   ? Span{std::min(span.from, area.left()), std::max(span.to, area.right() + 1)}
                   : Span{area.left(), area.right() + 1};
    }
}

void DrawnArea::clear() {
    const QRect drawn = top_ | rest_;
    const int last = std::min(drawn.bottom(), static_cast<int>(rows_.size()) - 1);
    for (int row = std::max(drawn.top(), 0); row <= last; ++row) {
        rows_[row] = Span{};
    }
    top_ = QRect();
    rest_ = QRect();
}

QImageCanvas::QImageCanvas(Mode mode, Shortcuts shortcuts)
    : mode_(mode), shortcuts_(shortcuts == Shortcuts::On) {
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
    shownStrip_ = QImage();
    clearColour_ = Qt::black;
    drawnArea_ = DrawnArea(strip_.height(), image_.height());
    colouredShapes_.clear();
    damage_ = DrawnArea(strip_.height());
    damage_.add(image_.rect());
    drawnTexts_.clear();
    stripFresh_ = false;
}

QRegion QImageCanvas::takeDamage() {
    return std::exchange(damage_, DrawnArea(strip_.height())).region();
}

QRect QImageCanvas::stripArea() const {
    return strip_.rect();
}

bool QImageCanvas::takeStripChanged() {
    const QImage& picture = image();
    const QRect area = stripArea() & picture.rect();
    const std::size_t rowBytes = static_cast<std::size_t>(area.width()) * sizeof(QRgb);
    bool same = shownStrip_.size() == area.size();
    for (int row = 0; same && row < area.height(); ++row) {
        same =
            std::memcmp(picture.constScanLine(row), shownStrip_.constScanLine(row), rowBytes) == 0;
    }
    if (!same) {
        shownStrip_ = picture.copy(area);
    }
    return !same;
}

// Whatever is drawn over the strip means the numbers may no longer be drawn on it alone.
void QImageCanvas::touched(const QRect& deviceArea) {
    drawnArea_.add(deviceArea);
    damage_.add(deviceArea);
    if (deviceArea.intersects(stripArea())) {
        stripFresh_ = false;
    }
}

void QImageCanvas::drawn(const QRectF& deviceArea, bool black, const QPolygonF* deviceShape) {
    const QRect area =
        deviceArea.toAlignedRect().adjusted(-kReach, -kReach, kReach, kReach) & image_.rect();
    touched(area);
    if (!black) {
        colouredShapes_.push_back(deviceShape ? *deviceShape : QPolygonF(QRectF(area)));
    }
}

// Whether every device pixel a fill of this outline could touch, smoothed or not, is black
// already: the background is black and nothing but black was drawn near it since it was cleared.
bool QImageCanvas::onlyBlackAround(const QPolygonF& deviceShape) const {
    const QRectF reach = deviceShape.boundingRect().adjusted(-kApart, -kApart, kApart, kApart);
    return std::all_of(colouredShapes_.begin(), colouredShapes_.end(), [&](const QPolygonF& c) {
        return !reach.intersects(c.boundingRect()) || apart(deviceShape, c, kApart);
    });
}

// The painter with the smoothing of the buffer's mode: everything but polygon fills is drawn
// so, whatever the last fill chose.
QPainter& QImageCanvas::painterAsSet() {
    QPainter& p = painter();
    setSmoothing(mode_ == Mode::Smooth);
    return p;
}

void QImageCanvas::setSmoothing(bool smooth) {
    if (smooth != smoothing_) {
        smoothing_ = smooth;
        painter_.setRenderHint(QPainter::Antialiasing, smooth);
    }
}

void QImageCanvas::setFillColour(const QColor& colour) {
    if (stroking_) {
        stroking_ = false;
        painter_.setPen(Qt::NoPen);
    }
    if (colour != fillColour_) {
        fillColour_ = colour;
        painter_.setBrush(colour);
    }
}

void QImageCanvas::fill(const QPolygonF& shape, Qt::FillRule rule, bool smoothEdges) {
    const bool black = brush_.colour == Rgb{0, 0, 0};
    const QPolygonF device = toDevice(shape, scale_);
    // Black filled into black, smoothed or not, is black: where nothing else is near, the fill
    // would not change a pixel.
    if (black && shortcuts_ && backgroundBlack_ && onlyBlackAround(device)) {
        return;
    }
    if (smoothEdges && shortcuts_ && !SmoothFill::isUprightRectangle(device)) {
        ownPixels();
        smoothFill_.fill(image_, device, toQColor(brush_.colour).rgb(), rule);
    } else {
        QPainter& p = painter();
        setSmoothing(smoothEdges);
        setFillColour(toQColor(brush_.colour));
        p.drawPolygon(shape, rule);
    }
    drawn(device.boundingRect(), black, &device);
}

// Before writing straight into the pixels: make sure no copy of the image shares them, or the
// painter would go on drawing into the copy.
void QImageCanvas::ownPixels() {
    if (!image_.isDetached()) {
        if (painter_.isActive()) {
            painter_.end();
        }
        image_.bits();
    }
}

QPainter& QImageCanvas::painter() {
    if (!painter_.isActive()) {
        painter_.begin(&image_);
        const bool smooth = mode_ == Mode::Smooth;
        painter_.setRenderHint(QPainter::Antialiasing, smooth);
        smoothing_ = smooth;
        painter_.setPen(Qt::NoPen);
        stroking_ = false;
        fillColour_ = QColor();
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
    const bool smooth = mode_ == Mode::Smooth;
    QPolygonF& grown = grown_;
    if (pen_ == Pen::Null) {
        // Antialiased neighbours that share a slanted edge would let the background show
        // through as a faint seam; half a device pixel more on those edges closes it.
        if (smooth && growPolygon(shape, 0.5 / scale_, true, grown)) {
            fill(grown, Qt::WindingFill, true);
        } else {
            fill(shape, Qt::OddEvenFill, smooth);
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
        fill(grown, Qt::WindingFill, !backgroundBlack_ || scale_ < kSharpScale);
        return;
    }
    fill(shape, Qt::OddEvenFill, smooth);
    QPainter& p = painterAsSet();
    p.setPen(toQPen(pen_));
    p.setBrush(Qt::NoBrush);
    stroking_ = true;
    fillColour_ = QColor();
    p.drawPolygon(outline);
    drawn(toDevice(outline, scale_).boundingRect().adjusted(-scale_, -scale_, scale_, scale_),
          true);
}

void QImageCanvas::rectangle(int left, int top, int right, int bottom) {
    QPainter& p = painterAsSet();
    const QRectF area(left, top, right - left, bottom - top);
    const QColor colour = toQColor(brush_.colour);
    if (left <= 0 && top <= 0 && right >= kWidth && bottom >= kHeight) {
        clearWhole(area, colour);
    } else {
        p.fillRect(area, colour);
        drawn(QRectF(area.topLeft() * scale_, area.size() * scale_), brush_.colour == Rgb{});
    }
    const double width = penWidth(pen_);
    if (width > 0.0) {
        // The outline lies inside the rectangle, as the game's pens draw it.
        const double half = width / 2.0;
        p.setPen(toQPen(pen_));
        p.setBrush(Qt::NoBrush);
        stroking_ = true;
        fillColour_ = QColor();
        p.drawRect(area.adjusted(half, half, -half, -half));
        drawn(QRectF(area.topLeft() * scale_, area.size() * scale_), true);
    }
}

// The whole buffer in one colour. Outside what was drawn since the last clear in the same colour
// it has that colour already, so only the drawn area is filled again: the same fill as a whole
// one, cut to that area, so that every pixel comes out as before.
void QImageCanvas::clearWhole(const QRectF& area, const QColor& colour) {
    QPainter& p = painterAsSet();
    // The last column or row the rectangle covers only in part keeps some of what it had.
    std::vector<QRect> partial;
    if (kWidth * scale_ != image_.width()) {
        partial.push_back(QRect(image_.width() - 1, 0, 1, image_.height()));
    }
    if (kHeight * scale_ != image_.height()) {
        partial.push_back(QRect(0, image_.height() - 1, image_.width(), 1));
    }
    const bool drawnOnly = shortcuts_ && colour == clearColour_;
    QRegion parts(drawnOnly ? drawnArea_.region() : QRegion(image_.rect()));
    QRegion partialParts;
    for (const QRect& part : partial) {
        parts += part;
        partialParts += part;
    }
    for (const QRect& part : parts) {
        damage_.add(part);
        if (part.intersects(stripArea())) {
            stripFresh_ = false;
        }
    }
    if (drawnOnly) {
        // Row by row, what was drawn on from its first pixel to its last (less than the box
        // around it for any shape but a box), in the very colour Qt's fill gives whole pixels.
        clearRows(colour.rgb(), partial);
        parts = partialParts;
    }
    // Each pixel once: a second partial fill would take more of what it keeps.
    for (const QRect& part : parts) {
        p.save();
        const QTransform logical = p.transform();
        p.resetTransform();
        p.setClipRect(part);
        p.setTransform(logical);
        p.fillRect(area, colour);
        p.restore();
    }
    clearColour_ = colour;
    drawnArea_.clear();
    colouredShapes_.clear();
    for (const QRect& part : partial) {
        colouredShapes_.push_back(QPolygonF(QRectF(part)));
    }
    backgroundBlack_ = colour == Qt::black;
}

// Each row's drawn span, less the last column and row where the clear covers them in part.
void QImageCanvas::clearRows(QRgb colour, const std::vector<QRect>& partial) {
    int columns = image_.width();
    int rows = image_.height();
    for (const QRect& part : partial) {
        (part.width() == 1 ? columns : rows) -= 1;
    }
    ownPixels();
    const std::vector<DrawnArea::Span>& spans = drawnArea_.rows();
    rows = std::min(rows, static_cast<int>(spans.size()));
    for (int row = 0; row < rows; ++row) {
        const int from = spans[row].from;
        const int to = std::min(spans[row].to, columns);
        if (from < to) {
            QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(row));
            fillPixels(line + from, line + to, colour);
        }
    }
}

void QImageCanvas::drawTextRight(const char* text, int left, int top, int right, int bottom) {
    const QRectF place(left, top, right - left, bottom - top);
    // Every pixel the clipped text may touch: a clip rounds its edges to whole pixels, never
    // beyond the ones it covers in part.
    const QRect pixels = QRectF(place.topLeft() * scale_, place.size() * scale_).toAlignedRect();
    const bool fresh = stripFresh_ && stripArea().contains(pixels) &&
                       std::none_of(textsOnStrip_.begin(), textsOnStrip_.end(),
                                    [&](const QRect& r) { return r.intersects(pixels); });
    QPainter& p = painterAsSet();
    if (fresh && shortcuts_) {
        // On the same strip the same number comes out the same: copy it.
        for (const DrawnText& drawn : drawnTexts_) {
            if (drawn.place == pixels && drawn.text == text) {
                p.save();
                p.resetTransform();
                p.drawImage(pixels.topLeft(), drawn.pixels);
                p.restore();
                textsOnStrip_.push_back(pixels);
                damage_.add(pixels);
                drawnArea_.add(pixels);
                return;
            }
        }
    }
    const QString line = QString::fromUtf8(text);
    const double advance = QFontMetricsF(p.font(), p.device()).horizontalAdvance(line);
    p.save();
    p.setClipRect(place);
    p.setPen(Qt::black);
    p.drawText(QPointF(right - advance, top + statusFontAscent()), line);
    p.restore();
    drawn(QRectF(place.topLeft() * scale_, place.size() * scale_), true);
    if (fresh) {
        stripFresh_ = true; // drawn() saw the text, which is no reason to stop
        textsOnStrip_.push_back(pixels);
        constexpr std::size_t kKept = 8;
        if (drawnTexts_.size() == kKept) {
            drawnTexts_.erase(drawnTexts_.begin());
        }
        drawnTexts_.push_back({text, pixels, image_.copy(pixels)});
    }
}

void QImageCanvas::copyStatusStrip() {
    QPainter& p = painterAsSet();
    // Device pixel for device pixel: undo the logical scale for this one copy.
    p.save();
    p.resetTransform();
    p.drawImage(QPointF(0, 0), strip_);
    p.restore();
    // Pixel for pixel: nothing beyond the strip is touched, so its box stays apart from the
    // puzzle's below (a margin would join the two into one box the picture's width).
    touched(stripArea());
    colouredShapes_.push_back(QPolygonF(QRectF(stripArea())));
    stripFresh_ = true;
    textsOnStrip_.clear();
}

} // namespace korvane::qt
