// A whole game through the real window: New Game with a known seed, then, turn by turn, a
// stroke between two visible stickers that takes back the scramble's last turn, until the game
// says "You did it." and enters the result. The strokes are made with the mouse, or with the
// keyboard alone: arrows to a sticker whose Shift+arrow names the turn, Ctrl+arrows to spin.
// And a game of the 2-layer cube solved along its distance table, whose par reaches the result
// box and the solve history.
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <map>
#include <memory>
#include <queue>
#include <ranges>
#include <vector>

#include "app/commands.h"
#include "app/highscores.h"
#include "input/keyboard_cursor.h"
#include "input/sticker_strokes.h"
#include "input/strokes.h"
#include "model/game_rules.h"
#include "model/turns.h"
#include "window_helpers.h"

using namespace korvane;
using namespace korvane::qt;
using namespace korvane::qt::testing;

namespace {

// The turns that solve the puzzle shown: the scramble taken back, last turn first, or without
// it a shortest way by the table.
std::vector<Move> solution(const PuzzleDialog& dialog, const DistanceTable* table) {
    const std::vector<Move>& scramble = dialog.record().scramble;
    std::vector<Move> out;
    if (!table) {
        std::ranges::transform(scramble | std::views::reverse, std::back_inserter(out),
                               &Move::inverse);
        return out;
    }
    auto puzzle = std::make_unique<Puzzle>(dialog.puzzle());
    while (const std::optional<Move> best = table->bestMove(*puzzle)) {
        applyMove(*puzzle, *best);
        out.push_back(*best);
    }
    return out;
}

} // namespace

class PlayGameTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window_;
    QStringList modalTexts_;
    int modalTicks_ = 0;

    // Closes whatever modal box a turn opens (the message box, then the highscores).
    void closeModalBoxes() {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            // A box shows for a few ticks first when its picture is wanted.
            if (!qEnvironmentVariableIsEmpty("KORVANE_TEST_SHOTS") && ++modalTicks_ < 10) {
                return;
            }
            modalTicks_ = 0;
            keepScreenShot(modalTexts_.isEmpty() ? "result-box.png" : "result-table.png");
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                modalTexts_ << box->text();
                box->accept();
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                modalTexts_ << QString::fromLatin1(modal->metaObject()->className());
                dialog->reject();
            }
        }
    }

    // The stroke between two stickers in sight whose rule names the turn, or false.
    bool findStroke(const Move& turn, QPoint& from, QPoint& to) {
        const PuzzleDialog& shown = window_->dialog();
        const StylusTarget target{shown.puzzle(), shown.screen(), Gesture{}};
        const std::vector<CursorSticker> stickers = cursorStickers(target);
        const auto found =
            findStickerStroke(target, stickers, [&](const Move& m) { return m == turn; });
        if (!found) {
            return false;
        }
        const Point press = stickers[findCursorSticker(stickers, found->from)].press;
        const Point release = stickers[findCursorSticker(stickers, found->to)].press;
        from = QPoint(press.x, press.y);
        to = QPoint(release.x, release.y);
        return true;
    }

    // The keys that take the cursor to a sticker from which Shift+arrow makes the turn, the
    // last of them the Shift+arrow itself; empty when no sticker in sight has one.
    std::vector<std::pair<Arrow, bool>> findKeyStroke(const Move& turn) {
        const PuzzleDialog& shown = window_->dialog();
        const std::vector<CursorSticker> stickers =
            cursorStickers({shown.puzzle(), shown.screen(), shown.gesture()});
        const std::optional<CursorSticker> at = shown.cursorSticker();
        const int start = at ? findCursorSticker(stickers, at->id) : -1;
        if (start < 0) {
            return {};
        }
        const Arrow arrows[] = {Arrow::Up, Arrow::Down, Arrow::Left, Arrow::Right};
        std::map<int, std::pair<int, Arrow>> cameFrom{{start, {start, Arrow::Up}}};
        std::queue<int> open;
        open.push(start);
        while (!open.empty()) {
            const int cur = open.front();
            open.pop();
            const CursorSticker& s = stickers[cur];
            const StylusTarget probe{shown.puzzle(), shown.screen(),
                                     Gesture{s.id.slot, s.id.row, s.id.col}};
            for (Arrow a : arrows) {
                const int next = neighbourSticker(stickers, cur, a);
                const Point to = stickers[next].press;
                if (next != cur && decodeStroke(probe, to.x, to.y) == turn) {
                    std::vector<std::pair<Arrow, bool>> keys{{a, true}};
                    for (int i = cur; i != start; i = cameFrom[i].first) {
                        keys.insert(keys.begin(), {cameFrom[i].second, false});
                    }
                    return keys;
                }
                if (cameFrom.emplace(next, std::pair{cur, a}).second) {
                    open.push(next);
                }
            }
        }
        return {};
    }

    static Qt::Key qtArrow(Arrow a) {
        const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
        return keys[static_cast<int>(a)];
    }

    // The turn made with the mouse or the keyboard, after spins off the puzzle until a stroke
    // in sight names it.
    bool makeTurn(const Move& turn, bool keyboard) {
        PuzzleView& view = window_->view();
        for (int spins = 0; spins < 12; ++spins) {
            if (keyboard) {
                const std::vector<std::pair<Arrow, bool>> keys = findKeyStroke(turn);
                for (const auto& [arrow, stroke] : keys) {
                    QTest::keyClick(&view, qtArrow(arrow),
                                    stroke ? Qt::ShiftModifier : Qt::NoModifier);
                }
                if (!keys.empty()) {
                    return true;
                }
                for (int i = 0; i < 6; ++i) {
                    QTest::keyClick(&view, i < 4 ? Qt::Key_Right : Qt::Key_Up, Qt::ControlModifier);
                }
                continue;
            }
            QPoint from;
            QPoint to;
            if (findStroke(turn, from, to)) {
                dragLogical(view, from, to, 2);
                return true;
            }
            dragLogical(view, QPoint(5, 310), QPoint(35, 300), 3);
        }
        return false;
    }

private slots:
    void init() {
        clearGameSettings();
        modalTexts_.clear();
        window_ = std::make_unique<MainWindow>();
        window_->start();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    // A timed game to its end: the scramble taken back turn by turn, or, on the 2-layer cube,
    // a best move a stroke along its table (made in the background: the events go on until it
    // is at hand), so the game ends in par moves at 100 %, a par the history keeps too.
    void solvesAGameStrokeByStroke_data() {
        QTest::addColumn<int>("typeCommand");
        QTest::addColumn<QString>("movesValue");
        QTest::addColumn<bool>("keyboard");
        QTest::addColumn<bool>("byTable");
        for (bool keys : {false, true}) {
            const char* by = keys ? " by keys" : " by mouse";
            QTest::addRow("cube level 2%s", by)
                << int(kCmdCubeLevel1 + 1) << "Cube2M" << keys << false;
            QTest::addRow("tetrahedron level 2%s", by)
                << int(kCmdTetraLevel1 + 1) << "Tetra2M" << keys << false;
            QTest::addRow("Piracube%s", by) << int(kCmdPiracube) << "PiraM" << keys << false;
        }
        QTest::newRow("cube level 1 in par") << int(kCmdCubeLevel1) << "Cube1M" << false << true;
    }
    void solvesAGameStrokeByStroke() {
        QFETCH(int, typeCommand);
        QFETCH(QString, movesValue);
        QFETCH(bool, keyboard);
        QFETCH(bool, byTable);
        PuzzleDialog& dialog = window_->dialog();
        window_->commandAction(typeCommand)->trigger();
        dialog.setScrambleSeed(4242);
        window_->commandAction(kCmdNewGame)->trigger();
        const DistanceTable* table = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(
            !dialog.busy() &&
                (!byTable || (table = window_->platform().distanceTable(kCube, 1)) != nullptr),
            120000);
        QCOMPARE(dialog.record().clockRunning, 1);
        const std::vector<Move> turns = solution(dialog, table);
        QCOMPARE(static_cast<int>(turns.size()),
                 table ? table->distance(dialog.puzzle()) : kScrambleTurns);

        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [this] { closeModalBoxes(); });
        closer.start(20);
        if (keyboard) {
            window_->view().setFocus();
            QTest::keyClick(&window_->view(), Qt::Key_Down); // the cursor shows
            QVERIFY(dialog.cursorSticker().has_value());
        }
        const int total = static_cast<int>(turns.size());
        for (int i = 0; i < total; ++i) {
            QVERIFY2(makeTurn(turns[i], keyboard),
                     qPrintable(QStringLiteral("no stroke for turn %1").arg(i)));
            QTRY_VERIFY(!dialog.busy());
            if (i + 1 < total) {
                QCOMPARE(dialog.record().moveCount, i + 1);
            }
        }
        QTRY_VERIFY(modalTexts_.size() >= 2);
        const QString& box = modalTexts_.front();
        QCOMPARE(box.section(QLatin1Char('\n'), 0, 0), QStringLiteral("You did it."));
        QVERIFY2(box.contains(QStringLiteral("\n%1 moves in ").arg(total)), qPrintable(box));
        QCOMPARE(dialog.record().clockRunning, 0);
        QCOMPARE(dialog.record().moveCount, 0);
        const std::string stored = window_->platform().readString(
            "HighScores", movesValue.toStdString(), emptyHighscoreText());
        QCOMPARE(parseHighscoreText(stored).value[0], total);
        if (table) {
            QVERIFY2(box.endsWith(QStringLiteral("\nPar: %1 moves, efficiency 100 %").arg(total)),
                     qPrintable(box));
            const std::vector<SolveSummary> kept = window_->history().summaries({kCube, 1});
            QVERIFY(!kept.empty());
            QCOMPARE(kept.back().par, total);
            QCOMPARE(kept.back().moves, total);
        }
    }

    // What the view shows at the middle of every sticker in sight.
    std::vector<QRgb> stickerPixels() {
        const PuzzleDialog& shown = window_->dialog();
        const QImage shot = window_->view().grab().toImage();
        std::vector<QRgb> out;
        for (const CursorSticker& s :
             cursorStickers({shown.puzzle(), shown.screen(), shown.gesture()})) {
            out.push_back(shownAt(shot, window_->view(), s.press.x, s.press.y).rgb());
        }
        return out;
    }

    // Practice: 30 moves, undone with Ctrl+Z back to the solved picture and redone with
    // Ctrl+Shift+Z to the picture they made. Every turn turns the model and back, which moves
    // the corners by rounding (about 1e-13), enough to move an edge that lies on half a pixel:
    // the stickers are compared, not every edge pixel.
    void practiceUndoesAndRedoesThirtyMovesByKeys() {
        PuzzleDialog& dialog = window_->dialog();
        window_->commandAction(kCmdCubeLevel1 + 2)->trigger();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        const std::vector<QRgb> solved = stickerPixels();
        for (int i = 0; i < 30; ++i) {
            dialog.performTurn(Move::axisTurn(1 + i % 3, (i * 7) % 4, i % 4 < 2 ? -1 : 1));
        }
        QTRY_VERIFY(!dialog.busy());
        const std::vector<QRgb> played = stickerPixels();
        QVERIFY(played != solved);
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
        }
        QTRY_VERIFY(!dialog.busy());
        QVERIFY(stickerPixels() == solved);
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        }
        QTRY_VERIFY(!dialog.busy());
        QVERIFY(stickerPixels() == played);
    }
};

QTEST_MAIN(PlayGameTest)
#include "tst_play_game.moc"
