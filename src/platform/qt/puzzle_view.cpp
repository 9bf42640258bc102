#include "platform/qt/puzzle_view.h"

#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "app/puzzle_dialog.h"
#include "input/zoom.h"
#include "platform/qt/qimage_canvas.h"

namespace korvane::qt {

namespace {

// The flags word of a stylus message: the left button held, or nothing held.
constexpr int kLeftButtonHeld = 0x0001;
constexpr int kNoButton = 0;
// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

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
    setAccessibleName(tr("Puzzle"));
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
    if (!painted_ || marginColour() != paintedMargin_) {
        repaint();
        return;
    }
    // The status strip is composed now rather than in the paint, so that a strip that came out
    // as it was shown last (the same numbers, no button held) is left out of what is shown again:
    // a spin then sends the window system one area, the puzzle's, not two.
    compose();
    composed_ = true;
    QRegion damage = backBuffer_.takeDamage();
    if (!backBuffer_.takeStripChanged()) {
        damage -= backBuffer_.stripArea();
    }
    QRegion area;
    for (const QRect& changed : damage) {
        area += inView(changed);
    }
    repaint(area & rect());
    composed_ = false;
}

// The picture (a whole new one when the device pixel ratio changed: the window moved to another
// screen) with the status strip over it.
void PuzzleView::compose() {
    if (matchBackBufferToView()) {
        dialog_.invalidatePicture();
    }
    dialog_.paintWindow();
}

// Back buffer pixels to view pixels, with one to spare for the scaling's rounding.
QRect PuzzleView::inView(const QRect& bufferArea) const {
    const QRectF picture = pictureInView();
    const double toView = picture.width() / (kPictureWidth * backBuffer_.scale());
    return QRectF(picture.topLeft() + QPointF(bufferArea.topLeft()) * toView,
                  QSizeF(bufferArea.size()) * toView)
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
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
    if (!composed_) {
        compose();
        // What the window shows of the strip now: all of it, or a part that the next change
        // must show whole.
        const QRect wholeStrip = inView(backBuffer_.stripArea()) & rect();
        const QRegion strip = event->region() & wholeStrip;
        if (strip == QRegion(wholeStrip)) {
            backBuffer_.takeStripChanged();
        } else if (!strip.isEmpty()) {
            backBuffer_.forgetShownStrip();
        }
    }

    const double bufferScale = backBuffer_.scale();
    const QRectF source(0, 0, kPictureWidth * bufferScale, kPictureHeight * bufferScale);
    painter.drawImage(picture, backBuffer_.image(), source);
    ++paintCount_;
    describe();
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

// Keys by what they mean on the player's layout (the key's symbol), not where they sit.
std::optional<PuzzleDialog::Key> gameKey(int qtKey) {
    using Key = PuzzleDialog::Key;
    switch (qtKey) {
    case Qt::Key_Up:
        return Key::Up;
    case Qt::Key_Down:
        return Key::Down;
    case Qt::Key_Left:
        return Key::Left;
    case Qt::Key_Right:
        return Key::Right;
    case Qt::Key_Plus:
        return Key::ZoomIn;
    case Qt::Key_Minus:
        return Key::ZoomOut;
    case Qt::Key_Home:
        return Key::Home;
    default:
        return std::nullopt;
    }
}

void PuzzleView::keyPressEvent(QKeyEvent* event) {
    // Any key first ends a replay or goes on with a paused game, and does nothing else then.
    if (started_ && dialog_.OnKeyDown()) {
        event->accept();
        return;
    }
    const std::optional<PuzzleDialog::Key> key = gameKey(event->key());
    if (!started_ || !key) {
        event->ignore();
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    dialog_.OnKeyDown(*key, (mods & Qt::ShiftModifier) != 0, (mods & Qt::ControlModifier) != 0);
    event->accept();
}

void PuzzleView::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
}

namespace {
bool byTabKey(const QFocusEvent* event) {
    return event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
}
} // namespace

// Tabbing between the view and the tool bar shows where the keyboard is: on the view, the
// sticker cursor; on a button, the button's own focus frame. Focus that comes with the window
// or a click shows nothing, so the picture stays as the mouse player knows it.
void PuzzleView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (started_ && byTabKey(event)) {
        dialog_.OnKeyboardFocus(true);
    }
}

void PuzzleView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (started_ && byTabKey(event)) {
        dialog_.OnKeyboardFocus(false);
    }
}

} // namespace korvane::qt

namespace korvane::qt {

// What a screen reader says of the view: the puzzle, its level, the moves and the time, kept
// as the picture shows them.
QString viewDescription(const Puzzle& puzzle, const GameRecord& record, int seconds) {
    static const char* const kinds[] = {"Cube", "Tetrahedron", "Piracube", "Sphere"};
    const int type = puzzle.puzzleType;
    const QString kind =
        type >= kCube && type <= kSphere ? QString::fromLatin1(kinds[type - 1]) : QString();
    QString text = kind;
    if (type == kCube || type == kTetrahedron) {
        text += QStringLiteral(", level %1").arg(sizeLevel(puzzle));
    }
    text +=
        record.clockRunning == 1 ? QStringLiteral(", timed game") : QStringLiteral(", training");
    return text + QStringLiteral(", %1 moves, %2 seconds")
                      .arg(record.moveCount)
                      .arg(record.clockRunning == 1 ? seconds : 0);
}

void PuzzleView::describe() {
    const QString text =
        viewDescription(dialog_.puzzle(), dialog_.record(), dialog_.elapsedSeconds());
    if (text != accessibleDescription()) {
        setAccessibleDescription(text);
    }
}

// A zoom step a notch; a touchpad's small scrolls add up to notches.
void PuzzleView::wheelEvent(QWheelEvent* event) {
    if (!started_) {
        return event->ignore();
    }
    wheelAngle_ += event->angleDelta().y();
    for (; wheelAngle_ >= kWheelNotch; wheelAngle_ -= kWheelNotch) {
        dialog_.OnKeyDown(PuzzleDialog::Key::ZoomIn, false, false);
    }
    for (; wheelAngle_ <= -kWheelNotch; wheelAngle_ += kWheelNotch) {
        dialog_.OnKeyDown(PuzzleDialog::Key::ZoomOut, false, false);
    }
    event->accept();
}

// The magnifiers of the status strip say what they do.
bool PuzzleView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    auto* help = static_cast<QHelpEvent*>(event);
    const QPoint at = toLogical(help->pos());
    const int button = at.x() >= 0 && at.y() >= 0 ? zoomButtonAt(at.x(), at.y()) : 0;
    if (button == 0) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), button < 0 ? tr("Zoom out") : tr("Zoom in"), this);
    }
    return true;
}

} // namespace korvane::qt
