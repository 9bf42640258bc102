#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>

#include "render/canvas.h"

namespace korvane::qt {

// The back buffer on a QImage: 242 x 322 logical pixels held at device resolution (scale device
// pixels per logical pixel), so polygons stay crisp on any window size and HiDPI screen while
// every game coordinate stays an integer logical pixel. The selected brush and pen live here,
// not in the painter, so they survive a change of resolution. Remaking the buffer clears it.
class QImageCanvas : public Canvas {
public:
    static constexpr int kWidth = 242;
    static constexpr int kHeight = 322;
    // Smooth: antialiased at any scale. ExactPixels: 1 device pixel a logical pixel, no
    // antialiasing, for tests that read single pixels.
    enum class Mode { Smooth, ExactPixels };

    explicit QImageCanvas(Mode mode = Mode::Smooth);

    // Remake the buffer at a new resolution (ignored in ExactPixels mode, which stays at 1).
    void setScale(double devicePixelsPerLogical);
    double scale() const { return scale_; }
    Mode mode() const { return mode_; }
    // The finished picture in device pixels; any drawing in progress is flushed first.
    const QImage& image();
    // The colour at the centre of logical pixel (x, y).
    QColor logicalPixel(int x, int y);

    Brush selectBrush(Brush brush) override;
    Pen selectPen(Pen pen) override;
    void polygon(const Point* points, int count) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void drawTextRight(const char* text, int left, int top, int right, int bottom) override;
    void copyStatusStrip() override;

private:
    QPainter& painter();
    void remake();

    Mode mode_;
    double scale_ = 1.0;
    QImage image_;
    QImage strip_;
    QPainter painter_;
    Brush brush_ = kWhiteBrush;
    Pen pen_ = Pen::Null;
    bool backgroundBlack_ = false; // the last clear of the whole buffer was black
};

} // namespace korvane::qt
