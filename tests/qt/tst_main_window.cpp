// The real main window, offscreen: the first start and a start from stored settings, the menus'
// marks and the keyboard's focus, a scramble resized and closed, and kept games. Quitting keeps a
// timed game and the next start resumes it, paused: closing the window, and a real game process
// ended by SIGTERM. A minimised game's clock stands still; places that cannot be written are told
// once and nothing breaks.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>

#include "app/commands.h"
#include "app/kept_game.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/store_lock.h"
#include "qt/window_helpers.h"

using namespace korvane;
using namespace korvane::qt;
using namespace korvane::qt::testing;

namespace {

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
    int count = 0;
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// The one marked item of the Type menu: 0 for none, -1 for more than one.
int markedTypeItem(const MainWindow& window) {
    int marked = 0;
    for (int item = kCmdCubeLevel1; item <= kCmdPiracube; ++item)
        marked = !window.commandAction(item)->isChecked() ? marked : marked == 0 ? item : -1;
    return marked;
}

bool isDark(const QColor& c) {
    return std::max({c.red(), c.green(), c.blue()}) < 40;
}
bool isLight(const QColor& c) {
    return std::min({c.red(), c.green(), c.blue()}) > 200;
}

int darkPixelsIn(const QImage& shot, const PuzzleView& view, QRect logical) {
    int dark = 0;
    for (int y = logical.top(); y <= logical.bottom(); ++y)
        for (int x = logical.left(); x <= logical.right(); ++x)
            dark += isDark(shownAt(shot, view, x, y)) ? 1 : 0;
    return dark;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    QStringList boxTexts_;
    QTimer answers_; // every box of ours is answered at once

    // Answers every box of ours: yes to a question, OK to a message; remembers their texts.
    void answerBoxes() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxTexts_ << box->text();
            box->done(QMessageBox::Yes);
        }
    }

    // A timed cube game of level 2 with two moves made, in a new window.
    std::unique_ptr<MainWindow> windowWithAGame() {
        auto window = startWindow();
        if (!window)
            return nullptr;
        PuzzleDialog& dialog = window->dialog();
        window->commandAction(kCmdCubeLevel1 + 1)->trigger();
        dialog.setScrambleSeed(31);
        window->commandAction(kCmdNewGame)->trigger();
        const auto settled = [&] { return QTest::qWaitFor([&] { return !dialog.busy(); }); };
        const bool scrambled = settled();
        dialog.performTurn(Move::axisTurn(2, 1, 1));
        dialog.performTurn(Move::axisTurn(1, 0, -1));
        return scrambled && settled() ? std::move(window) : nullptr;
    }

private slots:
    void initTestCase() {
        qApp->setQuitOnLastWindowClosed(false);
        connect(&answers_, &QTimer::timeout, this, [this] { answerBoxes(); });
        answers_.start(20);
    }
    void init() {
        clearGameSettings();
        boxTexts_.clear();
    }

    // The puzzle and background items are radio groups the game may leave all clear (the
    // sphere); the buttons' tooltips name their keys. The keyboard's focus is always visible:
    // Tab goes to a button (its focus frame), and back into the view shows the sticker cursor;
    // focus from a click shows nothing.
    void menuMarksTooltipsAndVisibleFocus() {
        auto window = startWindow();
        QVERIFY(window);
        for (const int item : {kCmdPiracube, kCmdBlack})
            QVERIFY(window->commandAction(item)->actionGroup()->isExclusive());
        window->dialog().OnCommand(kCmdSphere);
        QCOMPARE(markedTypeItem(*window), 0);
        window->commandAction(kCmdTetraLevel1)->trigger();
        QCOMPARE(markedTypeItem(*window), int(kCmdTetraLevel1));
        QCOMPARE(window->commandAction(kCmdUndo)->toolTip(), QString("Undo (Ctrl+Z)"));
        QCOMPARE(window->commandAction(kCmdHelp)->toolTip(), QString("Help (F1)"));

        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->view().setFocus(Qt::MouseFocusReason);
        QVERIFY(!window->dialog().cursorSticker());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(!window->view().hasFocus() && !window->dialog().cursorSticker());
        for (int i = 0; i < 5 && !window->view().hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(window->view().hasFocus() && window->dialog().cursorSticker());
        QTest::keyClick(&window->view(), Qt::Key_Tab);
        QVERIFY(!window->dialog().cursorSticker());
    }

    // The stored settings ("Figura,Nivel[,BkColor]") choose the start, the marked Type item and
    // the background; with none stored, the Piracube on black. The rules of sound and unsound
    // values are the core's test; these are texts the real storage reads. The first start's
    // picture: the strip, both counters showing "0" right-aligned at x 148 and x 215, a turn
    // handle in its face's colour; nothing to undo, the built level stored.
    void storedSettingsChooseTheStart() {
        for (const auto& [stored, type, level, marked, background] :
             {std::tuple{"1,3,1", 1, 3, 32790, 1},
              {"1,5", 1, 5, 0, 0},
              {"abc,2,1", 3, 3, 32796, 1},
              {"", 3, 3, 32796, 0}}) {
            clearGameSettings();
            const QStringList values = QString(stored).split(',', Qt::SkipEmptyParts);
            const char* names[] = {"Config/Figura", "Config/Nivel", "Config/BkColor"};
            QSettings settings = gameSettings();
            for (int i = 0; i < values.size(); ++i)
                settings.setValue(names[i], values[i]);
            settings.sync();
            auto window = startWindow();
            QVERIFY(window && resizeView(*window, QSize(480, 640)));
            QCOMPARE(window->dialog().puzzle().puzzleType, type);
            QCOMPARE(sizeLevel(window->dialog().puzzle()), level);
            QCOMPARE(markedTypeItem(*window), marked);
            QCOMPARE(window->commandAction(kCmdBlack)->isChecked(), background == 0);
            QCOMPARE(window->commandAction(kCmdWhite)->isChecked(), background == 1);
            PuzzleView& view = window->view();
            const QImage shot = view.grab().toImage();
            const QColor corner = shownAt(shot, view, 5, 310);
            QVERIFY2(background == 1 ? isLight(corner) : isDark(corner), stored);
            if (*stored)
                continue;
            QVERIFY(!window->commandAction(kCmdUndo)->isEnabled());
            QCOMPARE(gameSettings().value("Config/Nivel").toInt(), 3);
            QVERIFY(!gameSettings().contains("Config/BkColor"));
            QVERIFY(isLight(shownAt(shot, view, 60, 10))); // the strip's bar
            QVERIFY(isDark(shownAt(shot, view, 60, 23)));  // the rule under the strip
            for (const int right : {148, 215}) {
                QVERIFY(darkPixelsIn(shot, view, QRect(right - 7, 4, 8, 12)) > 10);
                QCOMPARE(darkPixelsIn(shot, view, QRect(right - 48, 3, 40, 20)), 0);
            }
            const Point* p = window->dialog().screen().stickerPoly[0][1][0].p;
            const QColor handle =
                shownAt(shot, view, (p[0].x + p[1].x + p[2].x) / 3, (p[0].y + p[1].y + p[2].y) / 3);
            QVERIFY2(!isDark(handle) && !isLight(handle), qPrintable(handle.name()));
        }
    }

    // A scramble at the real frame rate (a Piracube's takes about 5 s) leaves the window alive:
    // a resize repaints the frame of the moment at the new size, and a close ends the scramble
    // at once, storing nothing.
    void resizeAndCloseDuringAScramble() {
        qputenv("KORVANE_FRAME_MS", "25");
        auto window = startWindow();
        qputenv("KORVANE_FRAME_MS", "0");
        QVERIFY(window && resizeView(*window, QSize(480, 640)));
        PuzzleDialog& dialog = window->dialog();
        window->commandAction(kCmdNewGame)->trigger();
        QTest::qWait(200);
        QVERIFY(dialog.busy());

        PaintCounter paints(window->view());
        QVERIFY(resizeView(*window, QSize(720, 960)));
        QTRY_VERIFY_WITH_TIMEOUT(paints.count > 0, 200);
        QVERIFY(dialog.busy()); // still mid-scramble
        QCOMPARE(window->backBuffer().scale(), 3.0);
        const QImage shot = window->view().grab().toImage();
        // Stickers, not the background, around the middle (an outline or a cut may pass there
        // in the frame of the moment).
        QVERIFY(darkPixelsIn(shot, window->view(), QRect(110, 150, 21, 21)) < 21 * 21 / 2);

        QSettings before = gameSettings();
        const QStringList keys = before.allKeys();
        QElapsedTimer closing;
        closing.start();
        window->close();
        QTRY_VERIFY_WITH_TIMEOUT(!window->platform().frameClockRunning(), 200);
        QVERIFY(closing.elapsed() < 200);
        QVERIFY(!dialog.busy());
        QCOMPARE(dialog.record().clockRunning, 0);
        QCOMPARE(gameSettings().allKeys(), keys);
    }

    void closingTheWindowKeepsTheGame() {
        auto window = windowWithAGame();
        QVERIFY(window);
        window->close();
        window.reset();
        // What is kept and resumed is the core's test, and the whole game's trip through a real
        // process the SIGTERM test's; here the window's part: paused, the puzzle hidden.
        window = startWindow();
        QVERIFY(window);
        PuzzleDialog& dialog = window->dialog();
        QVERIFY(dialog.paused());
        const QImage shot = window->view().grab().toImage();
        QCOMPARE(shownAt(shot, window->view(), 120, 100), QColor(Qt::black)); // puzzle hidden
        QCOMPARE(shownAt(shot, window->view(), 65, 150), QColor(208, 208, 208));

        // A key goes on with the game; minimising pauses it (its clock standing still then is
        // the core's test).
        QTest::keyClick(&window->view(), Qt::Key_Space);
        QVERIFY(!dialog.paused());
        window->showMinimized();
        QTRY_VERIFY(dialog.paused());

        // New Game asks before it ends the game; after yes the kept game goes with the quit.
        window->showNormal();
        window->commandAction(kCmdTraining)->trigger();
        QCOMPARE(boxTexts_.size(), 1);
        QVERIFY(!dialog.record().clockRunning);

        // The window's size comes back at the next start; it never gets smaller than the
        // picture at scale 1.
        QCOMPARE(window->view().minimumSize(), QSize(240, 320));
        QVERIFY(resizeView(*window, QSize(390, 520)));
        const QSize size = window->size();
        window->close();
        QVERIFY(!QFile::exists(QtPlatform::keptGameFile()));
        window = startWindow();
        QVERIFY(window);
        QCOMPARE(window->size(), size);
    }

    // A kept game that another running copy is playing is neither resumed nor dropped here;
    // once that copy is gone (killed: its name stays behind), it is resumable again. A copy
    // that keeps a game names itself, and takes its name away when it ends.
    void aGameInPlayInAnotherCopyIsLeftToIt() {
        QVERIFY(QDir().mkpath(QtPlatform::dataFolder()));
        QProcess other;
        other.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(other.waitForStarted());
        const auto write = [](const QString& name, const QByteArray& bytes) {
            QFile out(name);
            return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
        };
        QVERIFY(write(QtPlatform::keptGameOwnerFile(), QByteArray::number(other.processId()) + ' ' +
                                                           StoreLock::hostName() + " game\n"));
        QVERIFY(write(QtPlatform::keptGameFile(), "theirs"));
        {
            QtPlatform platform(nullptr);
            QVERIFY(platform.loadKeptGame().empty());
            platform.dropKeptGame();
            QCOMPARE(readAll(QtPlatform::keptGameFile()), QByteArray("theirs"));
            other.kill();
            QVERIFY(other.waitForFinished());
            QCOMPARE(platform.loadKeptGame(), std::string("theirs"));
            QVERIFY(platform.storeKeptGame("mine").stored);
            QVERIFY(readAll(QtPlatform::keptGameOwnerFile())
                        .startsWith(QByteArray::number(QCoreApplication::applicationPid())));
        }
        QVERIFY(!QFile::exists(QtPlatform::keptGameOwnerFile()));
        QCOMPARE(readAll(QtPlatform::keptGameFile()), QByteArray("mine"));
    }

    void sigtermKeepsTheGame() {
        auto window = windowWithAGame();
        QVERIFY(window);
        window->close();
        window.reset();
        const QByteArray kept = readAll(QtPlatform::keptGameFile());
        QVERIFY(!kept.isEmpty());

        QProcess game;
        game.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        qputenv("KORVANE_TELL_FIRST_PAINT", "1");
        game.start(QStringLiteral(KORVANE_BINARY));
        qunsetenv("KORVANE_TELL_FIRST_PAINT");
        QVERIFY(game.waitForStarted());
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += game.readAllStandardOutput()).contains("first paint"),
                                 60000);
        // The running game resumed the kept one: what it keeps now comes from its quit.
        QVERIFY(QFile::remove(QtPlatform::keptGameFile()));
        game.terminate();
        QVERIFY(game.waitForFinished(60000));
        QCOMPARE(game.exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.exitCode(), 0);
        // The same game: only the last digits of the orientation may differ.
        const auto a = parseKeptGame(kept.toStdString()).game;
        const auto b = parseKeptGame(readAll(QtPlatform::keptGameFile()).toStdString()).game;
        QVERIFY(a && b);
        QVERIFY(std::tie(a->moves, a->scramble, a->elapsedSeconds, a->stickerSum) ==
                std::tie(b->moves, b->scramble, b->elapsedSeconds, b->stickerSum));
        for (int i = 0; i < 9; ++i)
            QVERIFY(std::abs(a->orientation[i / 3][i % 3] - b->orientation[i / 3][i % 3]) < 1e-9);
    }

    // The data folder and the settings folder cannot be made (a file stands in their way): one
    // box tells where and why, and the game goes on.
    void unwritablePlacesAreToldOnce() {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QString config = QFileInfo(gameSettings().fileName()).absolutePath();
        QDir().rename(config, config + QStringLiteral(".away"));
        QDir(data).removeRecursively();
        QDir().mkpath(QFileInfo(data).absolutePath());
        for (const QString& blocked : {data, config})
            QVERIFY(QFile(blocked).open(QIODevice::WriteOnly));
        {
            auto window = windowWithAGame();
            QVERIFY(window);
            QTRY_COMPARE(boxTexts_.size(), 1);
            QVERIFY(boxTexts_[0].contains(config));
            window->close();
        }
        QCOMPARE(boxTexts_.size(), 1);
        QFile::remove(data);
        QFile::remove(config);
        QDir().rename(config + QStringLiteral(".away"), config);
        QDir().mkpath(data);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
