#include "platform/qt/puzzle_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/puzzle_dialog.h"
#include "platform/qt/qimage_canvas.h"

namespace korvane::qt {

namespace {

// The flags word of a stylus message: the left button held, or nothing held.
constexpr int kLeftButtonHeld = 0x0001;
constexpr int kNoButton = 0;

// The status strip across the top of the picture, in logical pixels; redrawn at every paint.
constexpr QRect kStatusStrip(0, 0, 242, 24);
// A picture this large in device pixels is kept whole even on a smaller (or no) screen.
constexpr QSize kLargestPlainPicture(2048, 2048);

} // namespace

PictureLayout layoutPicture(QSize widgetSize, double devicePixelRatio) {
    const int deviceWidth = static_cast<int>(std::floor(widgetSize.width() * devicePixelRatio));
    const int deviceHeight = static_cast<int>(std::floor(widgetSize.height() * devicePixelRatio));
    // Whole steps of 3 x 4 device pixels keep the picture exactly 3:4.
    const int step = std::max(1, std::min(deviceWidth / 3, deviceHeight / 4));
    const int width = 3 * step;
    const int height = 4 * step;
    PictureLayout layout;
    // Pinned to the top, centred across: the status strip stays at the top of the window.
    layout.device = QRect((deviceWidth - width) / 2, 0, width, height);
    layout.scale = static_cast<double>(width) / PuzzleView::kPictureWidth;
    return layout;
}

double backBufferScale(double scale, QSize screenDevicePixels) {
    const QSize room = screenDevicePixels.expandedTo(kLargestPlainPicture);
    const double largest =
        std::min(static_cast<double>(room.width()) / PuzzleView::kPictureWidth,
                 static_cast<double>(room.height()) / PuzzleView::kPictureHeight);
    return std::min(scale, largest);
}

QPoint toLogical(const PictureLayout& layout, QPointF widgetPos, double devicePixelRatio) {
    const double x = (widgetPos.x() * devicePixelRatio - layout.device.x()) / layout.scale;
    const double y = (widgetPos.y() * devicePixelRatio - layout.device.y()) / layout.scale;
    return QPoint(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
}

PuzzleView::PuzzleView(PuzzleDialog& dialog, QImageCanvas& backBuffer, QWidget* parent)
    : QWidget(parent), dialog_(dialog), backBuffer_(backBuffer) {
    // Every pixel is painted from the back buffer: the view is never erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Never smaller than the picture at scale 1.
    setMinimumSize(kPictureWidth, kPictureHeight);
    reportPaints_ = qEnvironmentVariableIsSet("KORVANE_COUNT_PAINTS");
}

void PuzzleView::reportPaints(const char* when) const {
    if (reportPaints_) {
        std::printf("paints at %s: %d\n", when, paintCount_);
        std::fflush(stdout);
    }
}

void PuzzleView::setStarted(bool started) {
    started_ = started;
}

void PuzzleView::setPreferredSize(QSize size) {
    preferredSize_ = size;
    updateGeometry();
}

PictureLayout PuzzleView::pictureLayout() const {
    return layoutPicture(size(), devicePixelRatioF());
}

QPoint PuzzleView::toLogical(QPointF widgetPos) const {
    return korvane::qt::toLogical(pictureLayout(), widgetPos, devicePixelRatioF());
}

bool PuzzleView::matchBackBufferToView() {
    const QScreen* shown = screen();
    const QSize screenPixels = shown ? shown->size() * shown->devicePixelRatio() : QSize();
    const double scale = backBufferScale(pictureLayout().scale, screenPixels);
    if (backBuffer_.mode() != QImageCanvas::Mode::Smooth || backBuffer_.scale() == scale) {
        return false;
    }
    backBuffer_.setScale(scale);
    return true;
}

void PuzzleView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The current picture, a running turn's frame among them, at the new size.
    if (started_ && matchBackBufferToView()) {
        dialog_.refreshPicture();
    }
}

QColor PuzzleView::marginColour() const {
    return started_ && dialog_.view().bgColour == 1 ? Qt::white : Qt::black;
}

// Where the picture lies, in widget coordinates.
QRectF PuzzleView::pictureInView() const {
    const PictureLayout layout = pictureLayout();
    const double dpr = devicePixelRatioF();
    return QRectF(layout.device.x() / dpr, layout.device.y() / dpr, layout.device.width() / dpr,
                  layout.device.height() / dpr);
}

void PuzzleView::showChanges() {
    const QRegion damage = backBuffer_.takeDamage();
    if (!painted_ || marginColour() != paintedMargin_) {
        repaint();
        return;
    }
    // Buffer pixels to view pixels, with one to spare for the scaling's rounding. The strip
    // is drawn again at every paint.
    const QRectF picture = pictureInView();
    const double bufferScale = backBuffer_.scale();
    const double toView = picture.width() / (kPictureWidth * bufferScale);
    QRegion area;
    for (const QRectF changed : damage + QRectF(QPointF(kStatusStrip.topLeft()) * bufferScale,
                                                QSizeF(kStatusStrip.size()) * bufferScale)
                                             .toAlignedRect()) {
        area += QRectF(picture.topLeft() + changed.topLeft() * toView, changed.size() * toView)
                    .toAlignedRect()
                    .adjusted(-1, -1, 1, 1);
    }
    repaint(area & rect());
}

void PuzzleView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRectF picture = pictureInView();
    // The margins only: the picture covers the rest (where it covers a pixel in part, that
    // pixel is filled first, as under the whole picture).
    const QRect inside(QPoint(static_cast<int>(std::ceil(picture.left())),
                              static_cast<int>(std::ceil(picture.top()))),
                       QPoint(static_cast<int>(std::floor(picture.right())) - 1,
                              static_cast<int>(std::floor(picture.bottom())) - 1));
    paintedMargin_ = marginColour();
    for (const QRect& margin : event->region().subtracted(started_ ? QRegion(inside) : QRegion())) {
        painter.fillRect(margin, paintedMargin_);
    }
    if (!started_) {
        return;
    }
    // A new device pixel ratio (the window moved to another screen) needs a whole new picture.
    if (matchBackBufferToView()) {
        dialog_.invalidatePicture();
    }
    dialog_.paintWindow();

    const double bufferScale = backBuffer_.scale();
    const QRectF source(0, 0, kPictureWidth * bufferScale, kPictureHeight * bufferScale);
    painter.drawImage(picture, backBuffer_.image(), source);
    ++paintCount_;
    if (!painted_) {
        painted_ = true;
        emit firstPainted();
    }
}

void PuzzleView::mousePressEvent(QMouseEvent* event) {
    if (!started_ || event->button() != Qt::LeftButton) {
        return;
    }
    reportPaints("press");
    const QPoint at = toLogical(event->position());
    dialog_.OnLButtonDown(kLeftButtonHeld, at.x(), at.y());
}

void PuzzleView::mouseMoveEvent(QMouseEvent* event) {
    if (!started_ || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const QPoint at = toLogical(event->position());
    dialog_.OnMouseMove(kLeftButtonHeld, at.x(), at.y());
}

void PuzzleView::mouseReleaseEvent(QMouseEvent* event) {
    if (!started_ || event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint at = toLogical(event->position());
    dialog_.OnLButtonUp(kNoButton, at.x(), at.y());
    reportPaints("release");
}

void PuzzleView::keyPressEvent(QKeyEvent* event) {
    dialog_.OnKeyDown();
    event->accept();
}

void PuzzleView::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
}

} // namespace korvane::qt
