// The view in the real window: its placement of the picture and mapping from window pixels to
// logical ones, the mouse as the desktop delivers it (so the view's hold on the mouse while the
// button is down is the real one), the back buffer. And a whole game: New Game with a known seed,
// then, turn by turn, a mouse stroke between two visible stickers that makes the best move by
// the distance table, until the game says "You did it." in par moves and enters the result,
// the par reaching the solve history; practice on the Piracube by the keys.
#define QTEST_QPA_MOUSE_HANDLING

#include <QDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

#include "app/commands.h"
#include "app/highscores.h"
#include "input/keyboard_cursor.h"
#include "input/sticker_strokes.h"
#include "model/game_rules.h"
#include "model/rotation.h"
#include "model/turns.h"
#include "window_helpers.h"

using namespace korvane;
using namespace korvane::qt;
using namespace korvane::qt::testing;

namespace {

// Whether `after` holds the corners a spin of `degrees` about the view x axis, in `steps` equal
// parts, leaves of `before`.
bool spunAboutX(const Puzzle& before, const Puzzle& after, int degrees, int steps) {
    auto spun = std::make_unique<Puzzle>(before);
    for (int i = 0; i < steps; ++i)
        spinX(*spun, static_cast<double>(degrees) / steps);
    const double* c = &spun->corner[0][0];
    return std::equal(c, c + 3 * kCorners, &after.corner[0][0],
                      [](double a, double b) { return std::abs(a - b) < 1e-9; });
}

} // namespace

class PlayGameTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window_;

    // The turn made by a mouse stroke between two stickers in sight whose rule names it, after
    // spins off the puzzle until there is one.
    bool makeTurn(const Move& turn) {
        for (int spins = 0; spins < 12; ++spins) {
            const PuzzleDialog& shown = window_->dialog();
            const StylusTarget target{shown.puzzle(), shown.screen(), Gesture{}};
            const std::vector<CursorSticker> stickers = cursorStickers(target);
            if (const auto found =
                    findStickerStroke(target, stickers, [&](const Move& m) { return m == turn; })) {
                const auto at = [&](StickerHit id) {
                    const Point p = stickers[findCursorSticker(stickers, id)].press;
                    return QPoint(p.x, p.y);
                };
                dragLogical(window_->view(), at(found->from), at(found->to), 2);
                return true;
            }
            dragLogical(window_->view(), QPoint(5, 310), QPoint(35, 300), 3);
        }
        return false;
    }

    // What the view shows at the middle of every sticker in sight.
    std::vector<QRgb> stickerPixels() {
        const PuzzleDialog& shown = window_->dialog();
        const QImage shot = window_->view().grab().toImage();
        std::vector<QRgb> out;
        for (const CursorSticker& s :
             cursorStickers({shown.puzzle(), shown.screen(), shown.gesture()}))
            out.push_back(shownAt(shot, window_->view(), s.press.x, s.press.y).rgb());
        return out;
    }

    // What the window shows, after the repaints of what changed, is what a whole repaint shows.
    bool showsAWholeRepaint() {
        const PuzzleView& view = window_->view();
        const QPoint at = view.mapTo(window_.get(), QPoint(0, 0));
        const QImage shown =
            window_->screen()
                ->grabWindow(window_->winId(), at.x(), at.y(), view.width(), view.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        return shown == window_->view().grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

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
    void windowPixelsMapToLogicalPixels() {
        for (const auto& [widget, dpr, device] :
             {std::tuple{QSize(480, 640), 1.0, QRect(0, 0, 480, 640)},
              {QSize(600, 640), 1.0, QRect(60, 0, 480, 640)},   // wide: margins
              {QSize(301, 503), 1.0, QRect(0, 0, 300, 400)},    // tall: 1.25, at the top
              {QSize(480, 640), 1.5, QRect(0, 0, 720, 960)}}) { // device pixel ratio
            const PictureLayout layout = layoutPicture(widget, dpr);
            QCOMPARE(layout.device, device);
            QCOMPARE(layout.scale, device.width() / 240.0);
            for (int p = -2; p <= 321; ++p) {
                const QPointF at((device.x() + (p % 243 + 0.5) * layout.scale) / dpr,
                                 (device.y() + (p + 0.5) * layout.scale) / dpr);
                QCOMPARE(toLogical(layout, at, dpr), QPoint(p % 243, p));
            }
        }
    }

    // A 30-pixel drag off the puzzle spins it 30 degrees, in one move or many, at any size; a
    // release outside the window ends the spin where it is. What the window shows then, after
    // the drags' repaints of the changed parts, is what a whole repaint shows: nothing stale.
    void spinFollowsTheMouseAndLeavesNothingStale() {
        PuzzleView& view = window_->view();
        for (const auto& [size, steps] : {std::pair{QSize(700, 420), 10}, {QSize(480, 640), 1}}) {
            QVERIFY(resizeView(*window_, size));
            const auto before = std::make_unique<Puzzle>(window_->dialog().puzzle());
            dragLogical(view, QPoint(120, 310), QPoint(120, 280), steps);
            QCOMPARE(window_->dialog().gesture().spinActive, 0);
            QVERIFY(spunAboutX(*before, window_->dialog().puzzle(), 30, steps));
        }
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
        dragLogical(view, QPoint(120, 310), QPoint(170, 240), 12);
        QVERIFY(showsAWholeRepaint());
    }

    // The back buffer grows with the window up to the screen's size (at least 2048 pixels),
    // then the view scales it up: no window size asks for gigabytes, and a view larger than the
    // buffer shows the buffer's pixels.
    void backBufferStopsAtTheScreensSize() {
        for (const auto& [scale, screen, buffer] : {std::tuple{2.0, QSize(1920, 1080), 2.0},
                                                    {136.5, QSize(1920, 1080), 6.4},
                                                    {20.0, QSize(2160, 3840), 9.0}})
            QCOMPARE(backBufferScale(scale, screen), buffer);
        QVERIFY(resizeView(*window_, QSize(1560, 2080)));
        QCOMPARE(window_->backBuffer().scale(), 6.4);
        PuzzleView& view = window_->view();
        const QImage shot = view.grab().toImage();
        const Point* p = window_->dialog().screen().stickerPoly[0][1][0].p;
        const QPoint sticker((p[0].x + p[1].x + p[2].x) / 3, (p[0].y + p[1].y + p[2].y) / 3);
        for (const QPoint at : {QPoint(5, 310), QPoint(60, 10), sticker})
            QCOMPARE(shownAt(shot, view, at.x(), at.y()),
                     window_->backBuffer().logicalPixel(at.x(), at.y()));
    }

    // The zoom button held steps until released; a wheel notch zooms a step (a touchpad's
    // small scrolls add up to one). The view says what it shows to a screen reader and keeps it
    // current.
    void zoomByButtonAndWheelAndTheViewDescribesTheGame() {
        PuzzleView& view = window_->view();
        PuzzleDialog& dialog = window_->dialog();
        QTest::mousePress(&view, Qt::LeftButton, {}, widgetPointFor(view, {10, 10}));
        QCOMPARE(dialog.gesture().zoomDir, -1);
        QTRY_VERIFY(dialog.view().zoom < 1.2 - 0.03); // two ticks or more
        QTest::mouseRelease(&view, Qt::LeftButton, {}, widgetPointFor(view, {10, 10}));
        QVERIFY(dialog.gesture().zoomDir == 0 && !window_->platform().timerRunning(kZoomTimer));
        const double zoom = dialog.view().zoom;
        QTest::qWait(3 * kZoomPeriodMs);
        QCOMPARE(dialog.view().zoom, zoom);

        const QPointF at = widgetPointFor(view, {120, 200});
        QWheelEvent notch(at, view.mapToGlobal(at), {}, {0, -60}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &notch);
        QCOMPARE(dialog.view().zoom, zoom);
        QApplication::sendEvent(&view, &notch);
        QCOMPARE(dialog.view().zoom, zoom - 0.02);

        QVERIFY2(view.accessibleDescription().endsWith("training, 0 moves, 0 seconds"),
                 qPrintable(view.accessibleDescription()));
        window_->commandAction(kCmdCubeLevel1 + 1)->trigger();
        dialog.turnAxis1(0, 1);
        QTRY_COMPARE(view.accessibleDescription(),
                     QString("Cube, level 2, training, 1 moves, 0 seconds"));
    }

    // A timed game of the 2-layer cube to its end, each turn a best move by its distance table
    // (made in the background: the events go on until it is at hand) made by a mouse stroke, so
    // the game ends in par moves at 100 %, enters the result and keeps the par in the history.
    void solvesAGameInParStrokeByStroke() {
        PuzzleDialog& dialog = window_->dialog();
        window_->commandAction(kCmdCubeLevel1)->trigger();
        dialog.setScrambleSeed(4242);
        window_->commandAction(kCmdNewGame)->trigger();
        const DistanceTable* table = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(
            !dialog.busy() && (table = window_->platform().distanceTable(kCube, 1)) != nullptr,
            120000);
        QCOMPARE(dialog.record().clockRunning, 1);
        const int total = table ? table->distance(dialog.puzzle()) : 0;
        QVERIFY(total > 3);

        QStringList boxes; // the message box's text, then the highscores' class name
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                const auto* message = qobject_cast<QMessageBox*>(box);
                boxes << (message ? message->text() : box->metaObject()->className());
                box->accept();
            }
        });
        closer.start(20);
        for (int i = 0; i < total; ++i) {
            const std::optional<Move> best = table->bestMove(dialog.puzzle());
            QVERIFY2(best && makeTurn(*best),
                     qPrintable(QStringLiteral("no stroke for turn %1").arg(i)));
            QTRY_VERIFY(!dialog.busy());
            QCOMPARE(dialog.record().moveCount, i + 1 < total ? i + 1 : 0);
            if (i == 0) {
                QVERIFY(showsAWholeRepaint()); // the count in the strip too
            }
        }
        QTRY_VERIFY(boxes.size() >= 2);
        const QString& box = boxes.front();
        QCOMPARE(box.section(QLatin1Char('\n'), 0, 0), QStringLiteral("You did it."));
        QVERIFY2(box.contains(QStringLiteral("\n%1 moves in ").arg(total)), qPrintable(box));
        QVERIFY2(box.endsWith(QStringLiteral("\nPar: %1 moves, efficiency 100 %").arg(total)),
                 qPrintable(box));
        QCOMPARE(dialog.record().clockRunning, 0);
        const std::string stored =
            window_->platform().readString("HighScores", "Cube1M", emptyHighscoreText());
        QCOMPARE(parseHighscoreText(stored).value[0], total);
        const std::vector<SolveSummary> kept = window_->history().summaries({kCube, 1});
        QVERIFY(!kept.empty());
        QVERIFY(kept.back().par == total && kept.back().moves == total);
    }

    // Practice by the keys alone: arrows walk the cursor and Shift+arrows turn, Ctrl+Z undoes
    // every move back to the solved picture and Ctrl+Shift+Z redoes them to the picture they
    // made. Every turn turns the model and back, which moves the corners by rounding (about
    // 1e-13), enough to move an edge that lies on half a pixel: the stickers are compared, not
    // every edge pixel.
    void practiceTurnsUndoesAndRedoesByKeys() {
        PuzzleDialog& dialog = window_->dialog();
        PuzzleView& view = window_->view();
        window_->commandAction(kCmdPiracube)->trigger();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        view.setFocus();
        const std::vector<QRgb> solved = stickerPixels();
        const Qt::Key arrows[] = {Qt::Key_Up, Qt::Key_Left, Qt::Key_Down, Qt::Key_Right};
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(&view, arrows[i % 4]);
            QTest::keyClick(&view, arrows[i * 3 % 4], Qt::ShiftModifier);
            QTRY_VERIFY(!dialog.busy());
        }
        const int moves = dialog.record().moveCount;
        QVERIFY(moves > 5);
        const std::vector<QRgb> played = stickerPixels();
        QVERIFY(played != solved);
        using Step = std::pair<Qt::KeyboardModifiers, const std::vector<QRgb>*>;
        for (const auto& [modifiers, expected] :
             {Step{Qt::ControlModifier, &solved},
              Step{Qt::ControlModifier | Qt::ShiftModifier, &played}}) {
            for (int i = 0; i < moves; ++i)
                QTest::keyClick(&view, Qt::Key_Z, modifiers);
            QTRY_VERIFY(!dialog.busy());
            QVERIFY(stickerPixels() == *expected);
        }
    }
};

QTEST_MAIN(PlayGameTest)
#include "tst_play_game.moc"
