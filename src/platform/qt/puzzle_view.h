#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <optional>

#include "app/puzzle_dialog.h"
#include "render/canvas.h"

namespace korvane::qt {

class QImageCanvas;

// Where the 240 x 320 logical picture lies in the view: the largest 3:4 rectangle of whole
// device pixels that fits, at the top and centred across. Its width is a multiple of 3, so scale
// (device pixels per logical pixel) is width / 240 exactly.
struct PictureLayout {
    QRect device;
    double scale = 1.0;
    friend bool operator==(const PictureLayout&, const PictureLayout&) = default;
};

PictureLayout layoutPicture(QSize widgetSize, double devicePixelRatio);
// The resolution of the back buffer for a picture at `scale`: the same, unless the picture
// would be larger than the screen (in device pixels; never less than kLargestPlainPicture),
// where the buffer stops growing and the view scales it up instead.
double backBufferScale(double scale, QSize screenDevicePixels);
// The logical picture pixel under a widget position (widget coordinates, device independent).
// Points off the picture map beyond 0..239 x 0..319, as the stylus handlers expect.
QPoint toLogical(const PictureLayout& layout, QPointF widgetPos, double devicePixelRatio);
// What the view's accessible description says of the game.
QString viewDescription(const Puzzle& puzzle, const GameRecord& record, int seconds);
// The game's key for a Qt key code, or none.
std::optional<PuzzleDialog::Key> gameKey(int qtKey);

// The central widget: shows the back buffer's picture scaled to fit, turns mouse (and touch,
// which arrives as mouse events) into the stylus handlers in logical coordinates, and
// the game's keys into its key handler. While the button is held the mouse stays with the view, so
// a release outside the window still ends the stroke. The back buffer follows the view's
// resolution.
class PuzzleView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPictureWidth = korvane::kPictureWidth;
    static constexpr int kPictureHeight = korvane::kPictureHeight;

    PuzzleView(PuzzleDialog& dialog, QImageCanvas& backBuffer, QWidget* parent = nullptr);

    // Once the dialog is initialised the view paints it and passes input on.
    void setStarted(bool started);
    void setPreferredSize(QSize size);
    QSize sizeHint() const override { return preferredSize_; }

    PictureLayout pictureLayout() const;
    // Paint what the back buffer drew since the last paint, and the status strip, now.
    void showChanges();
    // Paints so far; with KORVANE_COUNT_PAINTS set, written to stdout at each press and release
    // of the button, so a measurement can check that every move of a drag really redrew.
    int paintCount() const { return paintCount_; }
    QPoint toLogical(QPointF widgetPos) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

signals:
    // The first picture of the game has been painted (start-up measurements wait for it).
    void firstPainted();

private:
    bool matchBackBufferToView();
    QColor marginColour() const;
    QRectF pictureInView() const;
    QRect inView(const QRect& bufferArea) const;
    void compose();
    void reportPaints(const char* when) const;
    void describe();

    PuzzleDialog& dialog_;
    QImageCanvas& backBuffer_;
    bool started_ = false;
    bool painted_ = false;
    bool composed_ = false; // showChanges composed the strip for the paint it asks for
    QColor paintedMargin_;
    bool reportPaints_ = false;
    int paintCount_ = 0;
    int wheelAngle_ = 0; // eighths of a degree not yet a whole notch
    QSize preferredSize_{2 * kPictureWidth, 2 * kPictureHeight};
};

} // namespace korvane::qt
