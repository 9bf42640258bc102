#include <QGuiApplication>
#include <QTest>

#include "platform/qt/qimage_canvas.h"

using namespace korvane;
using namespace korvane::qt;

namespace {

constexpr Brush kRed{{255, 0, 0}};

// Red cells on white: a polygon with a thin outline and a bare rectangle.
void drawCells(QImageCanvas& canvas) {
    canvas.selectBrush(kWhiteBrush);
    canvas.rectangle(-1, -1, 242, 322);
    canvas.selectBrush(kRed);
    canvas.selectPen(Pen::Thin);
    const Point square[4] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    canvas.polygon(square, 4);
    canvas.selectPen(Pen::Null);
    canvas.rectangle(30, 10, 40, 20);
}

} // namespace

// The back buffer on a QImage, pixel for pixel.
class BackBufferTest : public QObject {
    Q_OBJECT
private slots:
    void exactPixelsFollowTheGamesRules() {
        QImageCanvas canvas(QImageCanvas::Mode::ExactPixels);
        drawCells(canvas);
        QCOMPARE(canvas.image().size(), QSize(242, 322));
        // The outline runs through the corner pixels, down to row 20.
        QCOMPARE(canvas.logicalPixel(10, 15), QColor(Qt::black));
        QCOMPARE(canvas.logicalPixel(15, 20), QColor(Qt::black));
        QCOMPARE(canvas.logicalPixel(15, 15), QColor(Qt::red));
        QCOMPARE(canvas.logicalPixel(15, 21), QColor(Qt::white));
        // A rectangle leaves out its right and bottom edges.
        QCOMPARE(canvas.logicalPixel(39, 19), QColor(Qt::red));
        QCOMPARE(canvas.logicalPixel(40, 15), QColor(Qt::white));
        QCOMPARE(canvas.logicalPixel(35, 20), QColor(Qt::white));
    }

    // The smooth buffer at twice the resolution covers the same logical pixels, its device
    // pixels crisp along whole-pixel edges.
    void smoothPicturesMatchTheExactOne() {
        QImageCanvas exact(QImageCanvas::Mode::ExactPixels);
        QImageCanvas smooth;
        smooth.setScale(2.0);
        drawCells(exact);
        drawCells(smooth);
        for (int y = 5; y <= 25; ++y) {
            for (int x = 5; x <= 45; ++x) {
                QCOMPARE(smooth.logicalPixel(x, y), exact.logicalPixel(x, y));
            }
        }
        QCOMPARE(smooth.image().pixelColor(79, 30), QColor(Qt::red));
        QCOMPARE(smooth.image().pixelColor(80, 30), QColor(Qt::white));
    }
};

QTEST_MAIN(BackBufferTest)
#include "tst_back_buffer.moc"
