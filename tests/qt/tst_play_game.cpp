// A whole game through the real window: New Game with a known seed, then, turn by turn, a
// mouse stroke between two visible stickers that takes back the scramble's last turn, until the
// game says "You did it." and enters the result.
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <vector>

#include "app/commands.h"
#include "app/highscores.h"
#include "input/strokes.h"
#include "model/game_rules.h"
#include "window_helpers.h"

using namespace korvane;
using namespace korvane::qt;
using namespace korvane::qt::testing;

namespace {

struct Sticker {
    int slot;
    int row;
    int col;
    QPoint centre;
};

int cornerCount(int puzzleType) {
    return puzzleType == kCube ? 4 : 3;
}

// Every sticker slot with its centre as last drawn where a press there hits that sticker: the
// press test knows which faces are shown.
std::vector<Sticker> visibleStickers(const StylusTarget& target) {
    const Puzzle& g = target.puzzle;
    std::vector<Sticker> out;
    const int n = sizeLevel(g);
    const int points = cornerCount(g.puzzleType);
    for (int slot = 1; slot <= (g.puzzleType == kTetrahedron ? 4 : 3); ++slot) {
        for (int row = 0; row <= n; ++row) {
            const int last = g.puzzleType == kTetrahedron ? 2 * (n - row) : n;
            for (int col = 0; col <= last; ++col) {
                if (g.puzzleType == kPiracube && (row < 1 || row > 2 || col > 1)) {
                    continue;
                }
                const StickerScreen& s = target.screen.stickerPoly[slot - 1][row][col];
                int x = 0;
                int y = 0;
                for (int i = 0; i < points; ++i) {
                    x += s.p[i].x;
                    y += s.p[i].y;
                }
                const Sticker sticker{slot, row, col, QPoint(x / points, y / points)};
                const StickerHit hit = hitTestPress(target, sticker.centre.x(), sticker.centre.y());
                if (hit.slot == slot && hit.row == row && hit.col == col) {
                    out.push_back(sticker);
                }
            }
        }
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

    // The stroke between two visible stickers whose rule names the turn, or false.
    bool findStroke(const Move& turn, QPoint& from, QPoint& to) {
        const PuzzleDialog& shown = window_->dialog();
        const Gesture none;
        const std::vector<Sticker> stickers =
            visibleStickers({shown.puzzle(), shown.screen(), none});
        for (const Sticker& press : stickers) {
            const Gesture pressed{press.slot, press.row, press.col};
            const StylusTarget probe{shown.puzzle(), shown.screen(), pressed};
            for (const Sticker& release : stickers) {
                if (decodeStroke(probe, release.centre.x(), release.centre.y()) == turn) {
                    from = press.centre;
                    to = release.centre;
                    return true;
                }
            }
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

    void solvesAScrambleStrokeByStroke_data() {
        QTest::addColumn<int>("typeCommand");
        QTest::addColumn<QString>("movesValue");
        QTest::newRow("cube level 2") << static_cast<int>(kCmdCubeLevel1 + 1) << "Cube2M";
        QTest::newRow("tetrahedron level 2") << static_cast<int>(kCmdTetraLevel1 + 1) << "Tetra2M";
        QTest::newRow("Piracube") << static_cast<int>(kCmdPiracube) << "PiraM";
    }
    void solvesAScrambleStrokeByStroke() {
        QFETCH(int, typeCommand);
        QFETCH(QString, movesValue);
        PuzzleDialog& dialog = window_->dialog();
        window_->commandAction(typeCommand)->trigger();
        const unsigned seed = 4242;
        dialog.setScrambleSeed(seed);
        window_->commandAction(kCmdNewGame)->trigger();
        QTRY_VERIFY(!dialog.busy());
        QCOMPARE(dialog.record().clockRunning, 1);
        const std::vector<Move> turns = dialog.record().scramble;
        QCOMPARE(static_cast<int>(turns.size()), kScrambleTurns);

        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [this] { closeModalBoxes(); });
        closer.start(20);
        PuzzleView& view = window_->view();
        for (int i = kScrambleTurns - 1; i >= 0; --i) {
            const Move undo = turns[i].inverse();
            QPoint from;
            QPoint to;
            // A turn no visible stroke names becomes visible after a spin off the puzzle.
            for (int spins = 0; !findStroke(undo, from, to); ++spins) {
                QVERIFY2(spins < 12, qPrintable(QStringLiteral("no stroke for turn %1").arg(i)));
                dragLogical(view, QPoint(5, 310), QPoint(35, 300), 3);
            }
            dragLogical(view, from, to, 2);
            QTRY_VERIFY(!dialog.busy());
            if (i > 0) {
                QCOMPARE(dialog.record().moveCount, kScrambleTurns - i);
            }
        }
        QTRY_VERIFY(modalTexts_.size() >= 2);
        QCOMPARE(modalTexts_.front().section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("You did it."));
        QVERIFY(modalTexts_.front().contains(QStringLiteral("19 moves in ")));
        QCOMPARE(dialog.record().clockRunning, 0);
        QCOMPARE(dialog.record().moveCount, 0);
        const std::string stored = window_->platform().readString(
            "HighScores", movesValue.toStdString(), emptyHighscoreText());
        QCOMPARE(parseHighscoreText(stored).value[0], kScrambleTurns);
    }
};

QTEST_MAIN(PlayGameTest)
#include "tst_play_game.moc"
