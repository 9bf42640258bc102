#include <QGuiApplication>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <tuple>

#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "platform/qt/qimage_canvas.h"
#include "platform/qt/smooth_fill.h"
#include "render/renderer.h"
#include "render/status_line.h"

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
    // The exact picture follows the game's rules; the smooth one at twice the resolution covers
    // the same logical pixels, its device pixels crisp along whole-pixel edges.
    void cellsCoverTheGamesPixels() {
        QImageCanvas exact(QImageCanvas::Mode::ExactPixels);
        QImageCanvas smooth;
        smooth.setScale(2.0);
        drawCells(exact);
        drawCells(smooth);
        QCOMPARE(exact.image().size(), QSize(242, 322));
        // The outline runs through the corner pixels, down to row 20; a rectangle leaves out
        // its right and bottom edges.
        for (const auto& [x, y, colour] : {std::tuple{10, 15, Qt::black},
                                           {15, 20, Qt::black},
                                           {15, 15, Qt::red},
                                           {15, 21, Qt::white},
                                           {39, 19, Qt::red},
                                           {40, 15, Qt::white},
                                           {35, 20, Qt::white}})
            QCOMPARE(exact.logicalPixel(x, y), QColor(colour));
        for (int y = 5; y <= 25; ++y)
            for (int x = 5; x <= 45; ++x)
                QCOMPARE(smooth.logicalPixel(x, y), exact.logicalPixel(x, y));
        QCOMPARE(smooth.image().pixelColor(79, 30), QColor(Qt::red));
        QCOMPARE(smooth.image().pixelColor(80, 30), QColor(Qt::white));
    }

    // Our smoothed fill against QPainter's, both fill rules, over colour and over black, some in
    // the colour under them: random outlines of three to six corners, crossing themselves, leaving
    // the image, with upright and level edges; and convex cells inside the image (the quick way
    // through the fill) with corners on logical pixels at each scale the game draws at, some half a
    // pixel off as the thin pens put them; and outlines large enough to be filled in bands of rows.
    void smoothFillGivesQtsPixels_data() {
        QTest::addColumn<double>("scale"); // of the convex cells; 0: any outline
        QTest::addColumn<int>("side");
        QTest::newRow("any outline") << 0.0 << 100;
        QTest::newRow("any outline, in bands") << 0.0 << 600;
        for (const double scale : {1.0, 1.25, 1.5, 2.0, 2.5, 3.0})
            QTest::newRow(qPrintable(QString("convex at %1").arg(scale))) << scale << 100;
    }
    void smoothFillGivesQtsPixels() {
        QFETCH(double, scale);
        QFETCH(int, side);
        const int shapes = side > 100 ? 30 : 400;
        std::mt19937 random(7);
        std::uniform_real_distribution<double> anywhere(-0.2 * side, 1.2 * side);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        const auto convexCell = [&](int corners) {
            const double reach = 100.0 / scale;
            const QPointF centre(reach * (0.2 + 0.6 * unit(random)),
                                 reach * (0.2 + 0.6 * unit(random)));
            const double radius = 1.0 + unit(random) * reach * 0.2;
            std::vector<double> angles(corners);
            std::generate(angles.begin(), angles.end(), [&] { return 2 * M_PI * unit(random); });
            std::sort(angles.begin(), angles.end());
            const double shift = random() % 2 ? 0.5 : 0.0;
            QPolygonF outline;
            for (const double angle : angles) {
                const QPointF corner = centre + radius * QPointF(std::cos(angle), std::sin(angle));
                outline << QPointF(std::round(corner.x()), std::round(corner.y())) * scale +
                               QPointF(shift, shift);
            }
            return outline;
        };
        SmoothFill fill;
        for (int shape = 0; shape < shapes; ++shape) {
            // Channels such as these come out one off when blended over themselves.
            const QColor background = shape % 2 ? QColor(Qt::black) : QColor(152, 169, 191);
            QImage qt(side, side, QImage::Format_RGB32);
            qt.fill(background);
            QImage ours = qt.copy();
            QPolygonF outline;
            if (scale > 0) {
                outline = convexCell(3 + shape % 4);
            } else {
                for (int i = 0; i < 3 + shape % 4; ++i)
                    outline << QPointF(anywhere(random), anywhere(random));
                if (shape % 5 == 0) {
                    outline[1].setX(outline[0].x());
                    outline[2].setY(outline[1].y());
                }
            }
            // Sometimes the background's own colour, which over itself can come out different.
            const QColor colour =
                shape % 7 ? QColor(random() % 256, random() % 256, random() % 256) : background;
            const Qt::FillRule rule = shape % 3 ? Qt::WindingFill : Qt::OddEvenFill;
            QPainter painter(&qt);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawPolygon(outline, rule);
            painter.end();
            fill.fill(ours, outline, colour.rgb(), rule);
            QVERIFY2(ours == qt, qPrintable(QString("shape %1").arg(shape)));
        }
    }

    // Partial clears, unsmoothed black fills and copied status numbers change no pixel of a
    // spinning puzzle, also where fractional scales cover the last row and column in part.
    void shortcutsDrawTheSamePixels() {
        for (const auto& [type, level, scale, background] : {std::tuple{int(kPiracube), 2, 2.5, 0},
                                                             {int(kCube), 5, 1.25, 0},
                                                             {int(kCube), 2, 3.0, 1},
                                                             {int(kSphere), 2, 1.5, 0}}) {
            QImageCanvas quick;
            QImageCanvas plain(QImageCanvas::Mode::Smooth, QImageCanvas::Shortcuts::Off);
            auto puzzle = std::make_unique<Puzzle>();
            auto screen = std::make_unique<ScreenRecords>();
            GameRecord record;
            View view;
            buildPuzzleState(*puzzle, type, level);
            view.bgColour = background;
            quick.setScale(scale);
            plain.setScale(scale);
            for (int frame = 0; frame < 30; ++frame) {
                spinX(*puzzle, frame % 5 - 2);
                spinY(*puzzle, 3 - frame % 7);
                view.zoom = 0.9 + 0.1 * (frame % 4);
                record.moveCount = frame / 4;
                record.clockRunning = frame / 10 % 2;
                for (QImageCanvas* canvas : {&quick, &plain}) {
                    drawWholePuzzle(*puzzle, view, *canvas, *screen);
                    composeStatusLine(record, *canvas, frame / 3);
                }
                QVERIFY2(quick.image() == plain.image(),
                         qPrintable(QString("%1 %2 frame %3").arg(type).arg(level).arg(frame)));
            }
        }
    }
};

QTEST_MAIN(BackBufferTest)
#include "tst_back_buffer.moc"
