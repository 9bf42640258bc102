// Mouse events go through the window, as the desktop delivers them, so the view's hold on the
// mouse while the button is down is the real one.
#define QTEST_QPA_MOUSE_HANDLING

#include <QApplication>
#include <QTest>
#include <memory>

#include "app/commands.h"
#include "qt/window_helpers.h"

using namespace korvane;
using namespace korvane::qt;
using namespace korvane::qt::testing;

Q_DECLARE_METATYPE(PictureLayout)

// The view's picture placement and its mapping from window pixels to the logical picture, alone
// and through the real window at several sizes.
class PuzzleViewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }

    void init() {
        clearGameSettings();
        window_ = std::make_unique<MainWindow>();
        window_->start();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void layoutKeepsThePictureThreeByFour_data() {
        QTest::addColumn<QSize>("widget");
        QTest::addColumn<double>("dpr");
        QTest::addColumn<QRect>("device");
        QTest::addColumn<double>("scale");
        QTest::newRow("twice") << QSize(480, 640) << 1.0 << QRect(0, 0, 480, 640) << 2.0;
        QTest::newRow("logical size") << QSize(240, 320) << 1.0 << QRect(0, 0, 240, 320) << 1.0;
        QTest::newRow("wide: centred") << QSize(600, 640) << 1.0 << QRect(60, 0, 480, 640) << 2.0;
        QTest::newRow("tall: centred") << QSize(300, 500) << 1.0 << QRect(0, 50, 300, 400) << 1.25;
        QTest::newRow("odd size") << QSize(301, 403) << 1.0 << QRect(0, 1, 300, 400) << 1.25;
        QTest::newRow("HiDPI 2") << QSize(480, 640) << 2.0 << QRect(0, 0, 960, 1280) << 4.0;
        QTest::newRow("HiDPI 1.5") << QSize(480, 640) << 1.5 << QRect(0, 0, 720, 960) << 3.0;
        QTest::newRow("small") << QSize(120, 160) << 1.0 << QRect(0, 0, 120, 160) << 0.5;
        QTest::newRow("empty") << QSize(0, 0) << 1.0 << QRect(-1, -2, 3, 4) << 0.0125;
    }
    void layoutKeepsThePictureThreeByFour() {
        QFETCH(QSize, widget);
        QFETCH(double, dpr);
        QFETCH(QRect, device);
        QFETCH(double, scale);
        const PictureLayout layout = layoutPicture(widget, dpr);
        QCOMPARE(layout.device, device);
        QCOMPARE(layout.scale, scale);
    }

    void windowPixelsMapToLogicalPixels_data() {
        QTest::addColumn<QSize>("widget");
        QTest::addColumn<double>("dpr");
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<QPoint>("logical");
        QTest::newRow("origin") << QSize(480, 640) << 1.0 << QPointF(0, 0) << QPoint(0, 0);
        QTest::newRow("last pixel")
            << QSize(480, 640) << 1.0 << QPointF(479, 639) << QPoint(239, 319);
        QTest::newRow("margin left") << QSize(600, 640) << 1.0 << QPointF(59, 10) << QPoint(-1, 5);
        QTest::newRow("after margin") << QSize(600, 640) << 1.0 << QPointF(60, 10) << QPoint(0, 5);
        QTest::newRow("scale 1.25")
            << QSize(300, 500) << 1.0 << QPointF(150, 250) << QPoint(120, 160);
        QTest::newRow("HiDPI 1.5") << QSize(480, 640) << 1.5 << QPointF(10, 10) << QPoint(5, 5);
        QTest::newRow("fraction") << QSize(480, 640) << 1.0 << QPointF(3.9, 5.99) << QPoint(1, 2);
        QTest::newRow("outside above")
            << QSize(480, 640) << 1.0 << QPointF(100, -30) << QPoint(50, -15);
        QTest::newRow("outside below")
            << QSize(480, 640) << 1.0 << QPointF(100, 700) << QPoint(50, 350);
    }
    void windowPixelsMapToLogicalPixels() {
        QFETCH(QSize, widget);
        QFETCH(double, dpr);
        QFETCH(QPointF, at);
        QFETCH(QPoint, logical);
        QCOMPARE(toLogical(layoutPicture(widget, dpr), at, dpr), logical);
    }

    void spinFollowsTheMouseAtAnySize_data() {
        QTest::addColumn<QSize>("view");
        QTest::addColumn<int>("steps");
        QTest::newRow("twice, one move") << QSize(480, 640) << 1;
        QTest::newRow("twice, many moves") << QSize(480, 640) << 30;
        QTest::newRow("scale 1.25, one move") << QSize(300, 500) << 1;
        QTest::newRow("wide, many moves") << QSize(700, 420) << 10;
    }
    void spinFollowsTheMouseAtAnySize() {
        QFETCH(QSize, view);
        QFETCH(int, steps);
        resizeView(view);
        const auto expected = spunAboutX(window_->dialog().g, 30, steps);
        // Below the puzzle: no sticker there, so the drag spins.
        const QPoint from(120, 310);
        QTest::mousePress(&window_->view(), Qt::LeftButton, {},
                          widgetPointFor(window_->view(), from));
        const GameState& g = window_->dialog().g;
        QCOMPARE(g.spinActive, 1);
        QCOMPARE(QPoint(g.lastStylusX, g.lastStylusY), from);
        for (int i = 1; i <= steps; ++i) {
            QTest::mouseMove(&window_->view(),
                             widgetPointFor(window_->view(), from - QPoint(0, 30 * i / steps)));
        }
        QTest::mouseRelease(&window_->view(), Qt::LeftButton, {},
                            widgetPointFor(window_->view(), from - QPoint(0, 30)));
        QCOMPARE(g.spinActive, 0);
        QVERIFY(sameCorners(g, *expected));
    }

    void releaseOutsideTheWindowEndsTheSpin() {
        resizeView(QSize(480, 640));
        PuzzleView& view = window_->view();
        const QPoint press = widgetPointFor(view, 120, 310);
        const QPoint outside(press.x(), -view.mapTo(window_.get(), QPoint(0, 0)).y() - 40);
        QVERIFY(!window_->rect().contains(view.mapTo(window_.get(), outside)));
        const int up = 310 - view.toLogical(outside).y();
        const auto expected = spunAboutX(window_->dialog().g, up, 1);
        QTest::mousePress(&view, Qt::LeftButton, {}, press);
        QTest::mouseMove(&view, outside);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, outside);
        QCOMPARE(window_->dialog().g.spinActive, 0);
        QVERIFY(sameCorners(window_->dialog().g, *expected));
    }

    void touchDragSpinsLikeTheMouse() {
        resizeView(QSize(300, 500));
        PuzzleView& view = window_->view();
        static QPointingDevice* touchScreen = QTest::createTouchDevice();
        const auto expected = spunAboutX(window_->dialog().g, 30, 1);
        const QPoint from = widgetPointFor(view, 120, 310);
        const QPoint to = widgetPointFor(view, 120, 280);
        QTest::touchEvent(&view, touchScreen).press(0, from, &view);
        QCOMPARE(window_->dialog().g.spinActive, 1);
        QTest::touchEvent(&view, touchScreen).move(0, to, &view);
        QTest::touchEvent(&view, touchScreen).release(0, to, &view);
        QCOMPARE(window_->dialog().g.spinActive, 0);
        QVERIFY(sameCorners(window_->dialog().g, *expected));
    }

    void zoomButtonsAtTheirLogicalPlace() {
        resizeView(QSize(300, 500));
        PuzzleView& view = window_->view();
        QTest::mousePress(&view, Qt::LeftButton, {}, widgetPointFor(view, 10, 10));
        QCOMPARE(window_->dialog().g.zoomDir, -1);
        QVERIFY(window_->platform().timerRunning(kZoomTimer));
        QCOMPARE(window_->platform().timerPeriod(kZoomTimer), kZoomPeriodMs);
        // The timer's ticks reach the game while the button is held.
        QTRY_VERIFY(window_->dialog().g.zoom < 1.2);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, widgetPointFor(view, 10, 10));
        QCOMPARE(window_->dialog().g.zoomDir, 0);
        QVERIFY(!window_->platform().timerRunning(kZoomTimer));

        QTest::mousePress(&view, Qt::LeftButton, {}, widgetPointFor(view, 37, 20));
        QCOMPARE(window_->dialog().g.zoomDir, 1);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, widgetPointFor(view, 37, 20));
        // Just beside the buttons is no button.
        QTest::mousePress(&view, Qt::LeftButton, {}, widgetPointFor(view, 38, 10));
        QCOMPARE(window_->dialog().g.zoomDir, 0);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, widgetPointFor(view, 38, 10));
    }

    void strokeAlongACubeRowTurns() {
        window_->commandAction(kCmdCubeLevel1 + 1)->trigger();
        resizeView(QSize(300, 500));
        const GameState& g = window_->dialog().g;
        const QPoint from = cellCentre(g, 0, 1, 0);
        const QPoint to = cellCentre(g, 0, 1, 2);
        dragLogical(window_->view(), from, to, 3);
        QCOMPARE(g.moveCount, 1);
        QVERIFY(window_->commandAction(kCmdUndo)->isEnabled());
    }

private:
    void resizeView(QSize view) {
        window_->resize(window_->size() - window_->view().size() + view);
        QTRY_COMPARE(window_->view().size(), view);
    }
    static QPoint cellCentre(const GameState& g, int slot, int row, int col) {
        const StickerScreen& s = g.stickerPoly[slot][row][col];
        return QPoint((s.p[0].x + s.p[1].x + s.p[2].x + s.p[3].x) / 4,
                      (s.p[0].y + s.p[1].y + s.p[2].y + s.p[3].y) / 4);
    }

    std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(PuzzleViewTest)
#include "tst_puzzle_view.moc"
