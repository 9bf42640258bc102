#include <QGuiApplication>
#include <QTest>

#include "platform/qt/qimage_canvas.h"

using namespace korvane;
using namespace korvane::qt;

namespace {

constexpr Brush kRed{{255, 0, 0}};

bool isDark(const QColor& c) {
    return c.red() < 90 && c.green() < 90 && c.blue() < 90;
}
// Anything drawn on the strip's light grey bar.
bool isArtwork(const QColor& c) {
    return c.lightness() < 170 || c.saturation() > 60;
}

// Where the inked pixels of a logical rectangle lie.
QRect bounds(QImageCanvas& canvas, QRect area, bool (*ink)(const QColor&)) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (ink(canvas.logicalPixel(x, y))) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

void fillWhite(QImageCanvas& canvas) {
    const Brush old = canvas.selectBrush(kWhiteBrush);
    const Pen oldPen = canvas.selectPen(Pen::Null);
    canvas.rectangle(-1, -1, 242, 322);
    canvas.selectBrush(old);
    canvas.selectPen(oldPen);
}

void square(QImageCanvas& canvas, int left, int top, int right, int bottom) {
    const Point points[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    canvas.polygon(points, 4);
}

QRect darkBounds(QImageCanvas& canvas, QRect area) {
    return bounds(canvas, area, isDark);
}
QRect artworkBounds(QImageCanvas& canvas, QRect area) {
    return bounds(canvas, area, isArtwork);
}

} // namespace

// The back buffer on a QImage: its drawing state, what each call puts where, the status strip
// and text, and its resolution.
class BackBufferTest : public QObject {
    Q_OBJECT
private slots:
    void polygonsAndRectanglesCoverTheirPixels_data() {
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("border"); // dark pixels inward from the edge
        QTest::newRow("no outline") << int(Pen::Null) << 0;
        QTest::newRow("thin") << int(Pen::Thin) << 1;
        QTest::newRow("thick") << int(Pen::Thick) << 2;
    }
    void polygonsAndRectanglesCoverTheirPixels() {
        QFETCH(int, pen);
        QFETCH(int, border);
        QImageCanvas canvas(QImageCanvas::Mode::ExactPixels);
        fillWhite(canvas);
        canvas.selectBrush(kRed);
        canvas.selectPen(static_cast<Pen>(pen));
        canvas.rectangle(10, 10, 30, 20);
        // Right and bottom exclusive, the outline inside.
        QCOMPARE(canvas.logicalPixel(10, 10), border ? QColor(Qt::black) : QColor(Qt::red));
        QCOMPARE(canvas.logicalPixel(29, 19), border ? QColor(Qt::black) : QColor(Qt::red));
        QCOMPARE(canvas.logicalPixel(10 + border, 15), QColor(Qt::red));
        QCOMPARE(canvas.logicalPixel(30, 15), QColor(Qt::white));
        QCOMPARE(canvas.logicalPixel(15, 20), QColor(Qt::white));

        square(canvas, 50, 50, 70, 70);
        QCOMPARE(canvas.logicalPixel(60, 60), QColor(Qt::red));
        QCOMPARE(canvas.logicalPixel(45, 60), QColor(Qt::white));
        QCOMPARE(canvas.logicalPixel(75, 60), QColor(Qt::white));
        QCOMPARE(isDark(canvas.logicalPixel(50, 60)), border > 0);
        // The outline runs through the corner pixels: the bottom edge lies on row 70.
        QCOMPARE(isDark(canvas.logicalPixel(60, 70)), border > 0);
        QCOMPARE(isDark(canvas.logicalPixel(60, 68)), false);
    }

    void polygonsFillEvenOdd() {
        QImageCanvas canvas(QImageCanvas::Mode::ExactPixels);
        fillWhite(canvas);
        canvas.selectBrush(kRed);
        const Point once[3] = {{100, 100}, {180, 100}, {140, 180}};
        canvas.polygon(once, 3);
        QCOMPARE(canvas.logicalPixel(140, 130), QColor(Qt::red));
        // Around the triangle twice: every inside point is crossed an even number of times.
        canvas.selectBrush(kWhiteBrush);
        canvas.polygon(once, 3);
        canvas.selectBrush(kRed);
        const Point twice[6] = {{100, 100}, {180, 100}, {140, 180},
                                {100, 100}, {180, 100}, {140, 180}};
        canvas.polygon(twice, 6);
        QCOMPARE(canvas.logicalPixel(140, 130), QColor(Qt::white));
    }

    void smoothPicturesMatchTheExactOne() {
        // A black cell with its thin outline covers the same pixels at any whole scale.
        QImageCanvas exact(QImageCanvas::Mode::ExactPixels);
        QImageCanvas smooth;
        smooth.setScale(2.0);
        for (QImageCanvas* canvas : {&exact, &smooth}) {
            fillWhite(*canvas);
            canvas->selectBrush(kBlackBrush);
            canvas->selectPen(Pen::Thin);
            square(*canvas, 10, 10, 20, 20);
        }
        for (int x = 8; x <= 22; ++x) {
            QCOMPARE(smooth.logicalPixel(x, 15), exact.logicalPixel(x, 15));
            QCOMPARE(smooth.logicalPixel(15, x), exact.logicalPixel(15, x));
        }
        QCOMPARE(smooth.image().pixelColor(20, 30), QColor(Qt::black));
        QCOMPARE(smooth.image().pixelColor(19, 30), QColor(Qt::white));
        QCOMPARE(smooth.image().pixelColor(41, 30), QColor(Qt::black));
        QCOMPARE(smooth.image().pixelColor(42, 30), QColor(Qt::white));
    }

    void neighboursLeaveNoSeam() {
        // Two triangles sharing a slanted edge, as the facets of the sphere do: no background
        // may show along the edge.
        QImageCanvas canvas;
        canvas.setScale(2.0);
        fillWhite(canvas);
        canvas.selectBrush(kRed);
        const Point upper[3] = {{20, 20}, {80, 20}, {20, 70}};
        const Point lower[3] = {{80, 20}, {80, 70}, {20, 70}};
        canvas.polygon(upper, 3);
        canvas.polygon(lower, 3);
        const QImage& image = canvas.image();
        int worst = 0;
        for (int x = 50; x < 150; ++x) {
            const int y = 140 - (x - 40) * 100 / 120;
            for (int dy = -1; dy <= 1; ++dy) {
                worst = std::max(worst, image.pixelColor(x, y + dy).green());
            }
        }
        QVERIFY2(worst < 8, qPrintable(QString::number(worst)));
    }

    void textIsRightAlignedOnTheStatusBaseline_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("right");
        QTest::newRow("time") << "125" << 148;
        QTest::newRow("moves") << "17" << 215;
        QTest::newRow("zero") << "0" << 148;
    }
    void textIsRightAlignedOnTheStatusBaseline() {
        QFETCH(QString, text);
        QFETCH(int, right);
        QImageCanvas canvas(QImageCanvas::Mode::ExactPixels);
        fillWhite(canvas);
        canvas.drawTextRight(text.toUtf8().constData(), right - 48, 3, right, 24);
        const QRect ink = darkBounds(canvas, QRect(right - 60, 0, 70, 30));
        QVERIFY(!ink.isEmpty());
        // About 7 pixels a digit of a 12.5-pixel bold face, ending at the right edge.
        QVERIFY2(ink.right() >= right - 2 && ink.right() < right,
                 qPrintable(QString::number(ink.right())));
        QVERIFY(qAbs(ink.width() - 7 * text.size()) <= 3);
        // Digits sit on the baseline 11.3 pixels below the top (last ink row 13), 9 pixels tall.
        QVERIFY2(ink.bottom() == 13 && ink.top() >= 4 && ink.top() <= 6,
                 qPrintable(QString("%1..%2").arg(ink.top()).arg(ink.bottom())));
    }

    void statusStripCoversTheTopRows() {
        QImageCanvas canvas(QImageCanvas::Mode::ExactPixels);
        canvas.selectBrush(kRed);
        canvas.rectangle(-1, -1, 242, 322);
        canvas.copyStatusStrip();
        const QColor bar = canvas.logicalPixel(70, 10);
        QVERIFY(bar.lightness() > 200 && bar.saturation() < 30);
        QCOMPARE(canvas.logicalPixel(70, 23), QColor(Qt::black));
        QCOMPARE(canvas.logicalPixel(70, 24), QColor(Qt::red));
        QCOMPARE(canvas.logicalPixel(240, 10), QColor(Qt::red));
        // The artwork's places: the two magnifiers, the hourglass, the cube; nothing where the
        // counters go.
        QVERIFY(!artworkBounds(canvas, QRect(3, 3, 16, 16)).isEmpty());
        QVERIFY(!artworkBounds(canvas, QRect(24, 3, 12, 16)).isEmpty());
        QVERIFY(artworkBounds(canvas, QRect(21, 0, 1, 22)).isEmpty()); // between the buttons
        const QRect hourglass = artworkBounds(canvas, QRect(149, 0, 23, 22));
        QVERIFY(hourglass.left() >= 150 && hourglass.right() <= 170 && hourglass.height() > 15);
        QVERIFY(artworkBounds(canvas, QRect(40, 0, 109, 22)).isEmpty());
        QVERIFY(artworkBounds(canvas, QRect(172, 0, 44, 22)).isEmpty());
        const QRect cube = artworkBounds(canvas, QRect(216, 0, 24, 22));
        QVERIFY(cube.left() >= 218 && cube.height() > 15);
        int colourful = 0;
        for (int x = 216; x < 240; ++x) {
            colourful += canvas.logicalPixel(x, 12).saturation() > 150 ? 1 : 0;
        }
        QVERIFY(colourful > 10);
    }

    void resolutionFollowsTheScale_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("1") << 1.0 << QSize(242, 322);
        QTest::newRow("2") << 2.0 << QSize(484, 644);
        QTest::newRow("1.875") << 1.875 << QSize(454, 604);
        QTest::newRow("0.5") << 0.5 << QSize(121, 161);
    }
    void resolutionFollowsTheScale() {
        QFETCH(double, scale);
        QFETCH(QSize, pixels);
        QImageCanvas canvas;
        canvas.selectBrush(kRed);
        canvas.setScale(scale);
        QCOMPARE(canvas.image().size(), pixels);
        // The brush survives the new buffer; a whole-pixel square is crisp at whole scales.
        square(canvas, 20, 40, 60, 80);
        QCOMPARE(canvas.logicalPixel(40, 60), QColor(Qt::red));
        QCOMPARE(canvas.logicalPixel(10, 60), QColor(Qt::black));
        if (scale == 2.0) {
            QCOMPARE(canvas.image().pixelColor(40, 100), QColor(Qt::red));
            QCOMPARE(canvas.image().pixelColor(39, 100), QColor(Qt::black));
        }
    }
};

QTEST_MAIN(BackBufferTest)
#include "tst_back_buffer.moc"
