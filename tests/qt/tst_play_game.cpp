// A whole game through the real window: New Game with a known seed, then, turn by turn, a mouse
// stroke between two visible stickers that takes back the scramble's last turn, until the game
// says "You did it." and enters the result; and a game of the 2-layer cube solved along its
// distance table, whose par reaches the result box and the solve history. Practice by the keys.
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <ranges>
#include <vector>

#include "app/commands.h"
#include "app/highscores.h"
#include "input/keyboard_cursor.h"
#include "input/sticker_strokes.h"
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

    // Closes whatever modal box a turn opens (the message box, then the highscores).
    void closeModalBoxes() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            modalTexts_ << box->text();
            box->accept();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            modalTexts_ << QString::fromLatin1(modal->metaObject()->className());
            dialog->reject();
        }
    }

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
             cursorStickers({shown.puzzle(), shown.screen(), shown.gesture()})) {
            out.push_back(shownAt(shot, window_->view(), s.press.x, s.press.y).rgb());
        }
        return out;
    }

private slots:
    void init() {
        clearGameSettings();
        modalTexts_.clear();
        window_ = startWindow();
        QVERIFY(window_);
    }
    void cleanup() { window_.reset(); }

    // A timed game to its end: the scramble taken back turn by turn, or, on the 2-layer cube,
    // a best move a stroke along its table (made in the background: the events go on until it
    // is at hand), so the game ends in par moves at 100 %, a par the history keeps too.
    void solvesAGameStrokeByStroke_data() {
        QTest::addColumn<int>("typeCommand");
        QTest::addColumn<QString>("movesValue");
        QTest::addColumn<bool>("byTable");
        QTest::newRow("Piracube") << int(kCmdPiracube) << "PiraM" << false;
        QTest::newRow("cube level 1 in par") << int(kCmdCubeLevel1) << "Cube1M" << true;
    }
    void solvesAGameStrokeByStroke() {
        QFETCH(int, typeCommand);
        QFETCH(QString, movesValue);
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
        const int total = static_cast<int>(turns.size());
        QCOMPARE(total, table ? table->distance(dialog.puzzle()) : kScrambleTurns);

        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [this] { closeModalBoxes(); });
        closer.start(20);
        for (int i = 0; i < total; ++i) {
            QVERIFY2(makeTurn(turns[i]),
                     qPrintable(QStringLiteral("no stroke for turn %1").arg(i)));
            QTRY_VERIFY(!dialog.busy());
            QCOMPARE(dialog.record().moveCount, i + 1 < total ? i + 1 : 0);
        }
        QTRY_VERIFY(modalTexts_.size() >= 2);
        const QString& box = modalTexts_.front();
        QCOMPARE(box.section(QLatin1Char('\n'), 0, 0), QStringLiteral("You did it."));
        QVERIFY2(box.contains(QStringLiteral("\n%1 moves in ").arg(total)), qPrintable(box));
        QCOMPARE(dialog.record().clockRunning, 0);
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

    // Practice by the keys alone: arrows walk the cursor and Shift+arrows turn, Ctrl+Z undoes
    // every move back to the solved picture and Ctrl+Shift+Z redoes them to the picture they
    // made. Every turn turns the model and back, which moves the corners by rounding (about
    // 1e-13), enough to move an edge that lies on half a pixel: the stickers are compared, not
    // every edge pixel.
    void practiceTurnsUndoesAndRedoesByKeys() {
        PuzzleDialog& dialog = window_->dialog();
        PuzzleView& view = window_->view();
        window_->commandAction(kCmdCubeLevel1 + 2)->trigger();
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
            for (int i = 0; i < moves; ++i) {
                QTest::keyClick(&view, Qt::Key_Z, modifiers);
            }
            QTRY_VERIFY(!dialog.busy());
            QVERIFY(stickerPixels() == *expected);
        }
    }
};

QTEST_MAIN(PlayGameTest)
#include "tst_play_game.moc"
