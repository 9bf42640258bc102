#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QRect>
#include <QRegion>
#include <string>
#include <vector>

#include "platform/qt/smooth_fill.h"
#include "render/canvas.h"

namespace korvane::qt {

// The back buffer on a QImage: 242 x 322 logical pixels held at device resolution (scale device
// pixels per logical pixel), so polygons stay crisp on any window size and HiDPI screen while
// every game coordinate stays an integer logical pixel. The selected brush and pen live here,
// not in the painter, so they survive a change of resolution. Remaking the buffer clears it.
//
// A redraw costs mostly Qt's antialiased fill, so the buffer skips work that cannot change a
// pixel: smoothed fills go through our own fill (Qt's pixels, quicker), a whole clear fills only
// what was drawn since the last one, a black fill is left out where everything it could touch
// is black already, and it keeps the area drawn since the window last showed it so that
// only that is shown again.
// An area drawn on, kept as two boxes: the status strip's rows, which every paint draws, and
// the rest, so that neither grows the other to the whole picture.
// Given a number of rows, it also keeps each row's span from the first pixel drawn to the last.
class DrawnArea {
public:
    struct Span {
        int from = 0;
        int to = 0; // none unless from < to
    };
    explicit DrawnArea(int stripBottom = 0, int rows = 0)
        : stripBottom_(stripBottom), rows_(rows) {}
    void add(const QRect& area);
    QRegion region() const { return QRegion(top_) + rest_; }
    const std::vector<Span>& rows() const { return rows_; }
    void clear();

private:
    int stripBottom_;
    QRect top_;
    QRect rest_;
    std::vector<Span> rows_;
};

class QImageCanvas : public Canvas {
public:
    static constexpr int kWidth = 242;
    static constexpr int kHeight = 322;
    // Smooth: antialiased at any scale. ExactPixels: 1 device pixel a logical pixel, no
    // antialiasing, for tests that read single pixels.
    enum class Mode { Smooth, ExactPixels };

    // Shortcuts::Off draws everything the plain way; tests compare both.
    enum class Shortcuts { On, Off };

    explicit QImageCanvas(Mode mode = Mode::Smooth, Shortcuts shortcuts = Shortcuts::On);

    // Remake the buffer at a new resolution (ignored in ExactPixels mode, which stays at 1).
    void setScale(double devicePixelsPerLogical);
    double scale() const { return scale_; }
    Mode mode() const { return mode_; }
    // The finished picture in device pixels; any drawing in progress is flushed first.
    const QImage& image();
    // The colour at the centre of logical pixel (x, y).
    QColor logicalPixel(int x, int y);
    // The device pixels drawn since the last call (the whole image after a remake).
    QRegion takeDamage();
    // The status strip's device pixels, and whether they differ from when this was last asked
    // (always after a remake): a strip composed again as it was need not be shown again.
    QRect stripArea() const;
    bool takeStripChanged();
    void forgetShownStrip() { shownStrip_ = QImage(); }

    Brush selectBrush(Brush brush) override;
    Pen selectPen(Pen pen) override;
    void polygon(const Point* points, int count) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void drawTextRight(const char* text, int left, int top, int right, int bottom) override;
    void copyStatusStrip() override;

private:
    QPainter& painter();
    QPainter& painterAsSet();
    void ownPixels();
    void clearRows(QRgb colour, const std::vector<QRect>& partial);
    void remake();
    void fill(const QPolygonF& shape, Qt::FillRule rule, bool smoothEdges);
    void clearWhole(const QRectF& area, const QColor& colour);
    bool onlyBlackAround(const QPolygonF& deviceShape) const;
    void drawn(const QRectF& deviceArea, bool black, const QPolygonF* deviceShape = nullptr);
    void setSmoothing(bool smooth);
    void setFillColour(const QColor& colour);

    Mode mode_;
    bool shortcuts_;
    double scale_ = 1.0;
    QImage image_;
    QImage strip_;
    QPainter painter_;
    Brush brush_ = kWhiteBrush;
    Pen pen_ = Pen::Null;
    bool backgroundBlack_ = false; // the last clear of the whole buffer was black
    SmoothFill smoothFill_;
    QPolygonF grown_; // a polygon grown for filling, its room kept from one to the next
    // The painter's state, so that unchanged settings are not set again for every polygon.
    bool smoothing_ = false;
    bool stroking_ = false;
    QColor fillColour_;
    // Since the last whole clear: the colour of everything outside drawnArea_, and the device
    // outlines of whatever was not drawn in black.
    QColor clearColour_;
    DrawnArea drawnArea_;
    std::vector<QPolygonF> colouredShapes_;
    DrawnArea damage_;
    // The status numbers as last drawn on a fresh strip, to be copied instead of drawn again.
    struct DrawnText {
        std::string text;
        QRect place;
        QImage pixels;
    };
    std::vector<DrawnText> drawnTexts_;
    std::vector<QRect> textsOnStrip_; // drawn since the strip; empty and false: not fresh
    bool stripFresh_ = false;
    QImage shownStrip_; // the strip as takeStripChanged last saw it
    void touched(const QRect& deviceArea);
};

} // namespace korvane::qt
