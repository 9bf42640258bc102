// Mouse events go through the window, as the desktop delivers them, so the view's hold on the
// mouse while the button is down is the real one.
#define QTEST_QPA_MOUSE_HANDLING

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "app/commands.h"
#include "model/rotation.h"
#include "qt/window_helpers.h"

using namespace korvane;
using namespace korvane::qt;
using namespace korvane::qt::testing;

namespace {

// Whether `after` holds the corners a spin of `degrees` about the view x axis, in `steps` equal
// parts, leaves of `before`.
bool spunAboutX(const Puzzle& before, const Puzzle& after, int degrees, int steps) {
    auto spun = std::make_unique<Puzzle>(before);
    for (int i = 0; i < steps; ++i) {
        spinX(*spun, static_cast<double>(degrees) / steps);
    }
    const double* c = &spun->corner[0][0];
    return std::equal(c, c + 3 * kCorners, &after.corner[0][0],
                      [](double a, double b) { return std::abs(a - b) < 1e-9; });
}

} // namespace

// The view's placement of the picture, its mapping from window pixels to logical ones, and
// the mouse through the real window.
class PuzzleViewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void init() {
        clearGameSettings();
        window_ = startWindow();
        QVERIFY(window_);
    }
    void cleanup() { window_.reset(); }

    // The picture fills the largest 3:4 rectangle of whole device pixels, at the top and
    // centred across; every logical pixel's middle maps back to it, also off the picture.
    void windowPixelsMapToLogicalPixels_data() {
        QTest::addColumn<QSize>("widget");
        QTest::addColumn<double>("dpr");
        QTest::addColumn<QRect>("device");
        QTest::newRow("twice") << QSize(480, 640) << 1.0 << QRect(0, 0, 480, 640);
        QTest::newRow("wide: margins") << QSize(600, 640) << 1.0 << QRect(60, 0, 480, 640);
        QTest::newRow("tall: 1.25, at the top") << QSize(301, 503) << 1.0 << QRect(0, 0, 300, 400);
        QTest::newRow("device pixel ratio 1.5") << QSize(480, 640) << 1.5 << QRect(0, 0, 720, 960);
    }
    void windowPixelsMapToLogicalPixels() {
        QFETCH(QSize, widget);
        QFETCH(double, dpr);
        QFETCH(QRect, device);
        const PictureLayout layout = layoutPicture(widget, dpr);
        QCOMPARE(layout.device, device);
        QCOMPARE(layout.scale, device.width() / 240.0);
        for (int p = -2; p <= 321; ++p) {
            const QPointF at((device.x() + (p % 243 + 0.5) * layout.scale) / dpr,
                             (device.y() + (p + 0.5) * layout.scale) / dpr);
            QCOMPARE(toLogical(layout, at, dpr), QPoint(p % 243, p));
        }
    }

    // A 30-pixel drag off the puzzle spins it 30 degrees, in one move or many, at any size.
    void spinFollowsTheMouse_data() {
        QTest::addColumn<QSize>("view");
        QTest::addColumn<int>("steps");
        QTest::newRow("twice, one move") << QSize(480, 640) << 1;
        QTest::newRow("twice, many moves") << QSize(480, 640) << 30;
        QTest::newRow("wide, many moves") << QSize(700, 420) << 10;
    }
    void spinFollowsTheMouse() {
        QFETCH(QSize, view);
        QFETCH(int, steps);
        QVERIFY(resizeView(*window_, view));
        const auto before = std::make_unique<Puzzle>(window_->dialog().puzzle());
        dragLogical(window_->view(), QPoint(120, 310), QPoint(120, 280), steps);
        QCOMPARE(window_->dialog().gesture().spinActive, 0);
        QVERIFY(spunAboutX(*before, window_->dialog().puzzle(), 30, steps));
    }

    void releaseOutsideTheWindowEndsTheSpin() {
        QVERIFY(resizeView(*window_, QSize(480, 640)));
        PuzzleView& view = window_->view();
        const QPoint press = widgetPointFor(view, {120, 310});
        const QPoint outside(press.x(), -view.mapTo(window_.get(), QPoint(0, 0)).y() - 40);
        QVERIFY(!window_->rect().contains(view.mapTo(window_.get(), outside)));
        const auto before = std::make_unique<Puzzle>(window_->dialog().puzzle());
        QTest::mousePress(&view, Qt::LeftButton, {}, press);
        QTest::mouseMove(&view, outside);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, outside);
        QCOMPARE(window_->dialog().gesture().spinActive, 0);
        QVERIFY(
            spunAboutX(*before, window_->dialog().puzzle(), 310 - view.toLogical(outside).y(), 1));
    }

    // What the window shows after a drag's repaints of the changed parts is what a whole
    // repaint shows: nothing stale is left.
    void repaintsOfChangesLeaveNothingStale() {
        QVERIFY(resizeView(*window_, QSize(480, 640)));
        PuzzleView& view = window_->view();
        dragLogical(view, QPoint(120, 310), QPoint(170, 240), 12);
        const QPoint at = view.mapTo(window_.get(), QPoint(0, 0));
        const QImage shown =
            window_->screen()
                ->grabWindow(window_->winId(), at.x(), at.y(), view.width(), view.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, view.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // The back buffer grows with the window up to the screen's size (at least 2048 pixels),
    // then the view scales it up: no window size asks for gigabytes.
    void backBufferStopsAtTheScreensSize_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<double>("buffer");
        QTest::newRow("fits") << 2.0 << QSize(1920, 1080) << 2.0;
        QTest::newRow("32767 pixels wide") << 136.5 << QSize(1920, 1080) << 6.4;
        QTest::newRow("portrait 4K") << 20.0 << QSize(2160, 3840) << 9.0;
    }
    void backBufferStopsAtTheScreensSize() {
        QFETCH(double, scale);
        QFETCH(QSize, screen);
        QFETCH(double, buffer);
        QCOMPARE(backBufferScale(scale, screen), buffer);
    }

    void aViewLargerThanTheBufferShowsItScaled() {
        QVERIFY(resizeView(*window_, QSize(1560, 2080)));
        QCOMPARE(window_->backBuffer().scale(), 6.4);
        PuzzleView& view = window_->view();
        const QImage shot = view.grab().toImage();
        const Point* p = window_->dialog().screen().stickerPoly[0][1][0].p;
        const QPoint sticker((p[0].x + p[1].x + p[2].x) / 3, (p[0].y + p[1].y + p[2].y) / 3);
        for (const QPoint at : {QPoint(5, 310), QPoint(60, 10), sticker}) {
            QCOMPARE(shownAt(shot, view, at.x(), at.y()),
                     window_->backBuffer().logicalPixel(at.x(), at.y()));
        }
    }

    void zoomButtonHeldStepsUntilReleased() {
        PuzzleView& view = window_->view();
        QTest::mousePress(&view, Qt::LeftButton, {}, widgetPointFor(view, {10, 10}));
        QCOMPARE(window_->dialog().gesture().zoomDir, -1);
        QTRY_VERIFY(window_->dialog().view().zoom < 1.2 - 0.03); // two ticks or more
        QTest::mouseRelease(&view, Qt::LeftButton, {}, widgetPointFor(view, {10, 10}));
        QCOMPARE(window_->dialog().gesture().zoomDir, 0);
        QVERIFY(!window_->platform().timerRunning(kZoomTimer));
        const double zoom = window_->dialog().view().zoom;
        QTest::qWait(3 * kZoomPeriodMs);
        QCOMPARE(window_->dialog().view().zoom, zoom);
    }

    // A wheel notch zooms a step (a touchpad's small scrolls add up to one); the view says
    // what it shows to a screen reader and keeps it current.
    void wheelZoomsAndTheViewDescribesTheGame() {
        PuzzleView& view = window_->view();
        const double zoom = window_->dialog().view().zoom;
        const QPointF at = widgetPointFor(view, {120, 200});
        QWheelEvent notch(at, view.mapToGlobal(at), {}, {0, -60}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &notch);
        QCOMPARE(window_->dialog().view().zoom, zoom);
        QApplication::sendEvent(&view, &notch);
        QCOMPARE(window_->dialog().view().zoom, zoom - 0.02);
        QCOMPARE(view.accessibleName(), QString("Puzzle"));
        QVERIFY2(view.accessibleDescription().endsWith("training, 0 moves, 0 seconds"),
                 qPrintable(view.accessibleDescription()));
        window_->commandAction(kCmdCubeLevel1 + 1)->trigger();
        window_->dialog().turnAxis1(0, 1);
        QTRY_COMPARE(view.accessibleDescription(),
                     QString("Cube, level 2, training, 1 moves, 0 seconds"));
    }

private:
    std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(PuzzleViewTest)
#include "tst_puzzle_view.moc"
