// Quitting keeps a timed game and the next start resumes it, paused: closing the window, and a
// real game process ended by SIGTERM. A minimised game's clock stands still; places that cannot
// be written are told once and nothing breaks.
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <memory>

#include "app/commands.h"
#include "app/kept_game.h"
#include "platform/qt/qt_platform.h"
#include "window_helpers.h"

using namespace korvane;
using namespace korvane::qt;
using namespace korvane::qt::testing;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class KeepGameTest : public QObject {
    Q_OBJECT

    QStringList boxTexts_;

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
        if (!window) {
            return nullptr;
        }
        PuzzleDialog& dialog = window->dialog();
        window->commandAction(kCmdCubeLevel1 + 1)->trigger();
        dialog.setScrambleSeed(31);
        window->commandAction(kCmdNewGame)->trigger();
        QTest::qWaitFor([&] { return !dialog.busy(); });
        dialog.performTurn(Move::axisTurn(2, 1, 1));
        dialog.performTurn(Move::axisTurn(1, 0, -1));
        QTest::qWaitFor([&] { return !dialog.busy(); });
        return window;
    }

private slots:
    void init() {
        clearGameSettings();
        boxTexts_.clear();
    }

    void closingTheWindowKeepsTheGame() {
        auto window = windowWithAGame();
        QVERIFY(window);
        const Puzzle before = window->dialog().puzzle();
        const GameRecord record = window->dialog().record();
        QCOMPARE(record.moveCount, 2);
        const int elapsed = window->dialog().elapsedSeconds();
        window->close();
        window.reset();
        const QByteArray kept = readAll(QtPlatform::keptGameFile());
        QVERIFY(parseKeptGame(kept.toStdString()).game.has_value());

        window = startWindow();
        QVERIFY(window);
        PuzzleDialog& dialog = window->dialog();
        QVERIFY(dialog.paused());
        for (int a = 0; a <= 2; ++a) {
            for (int b = 0; b <= 2; ++b) {
                for (int f = 0; f < kFaces; ++f) {
                    QCOMPARE(dialog.puzzle().stickerColour[a][b][f], before.stickerColour[a][b][f]);
                }
            }
        }
        QCOMPARE(dialog.record().moves, record.moves);
        QVERIFY(std::abs(dialog.elapsedSeconds() - elapsed) <= 1);
        QVERIFY(window->commandAction(kCmdUndo)->isEnabled());
        const QImage shot = window->view().grab().toImage();
        QCOMPARE(shownAt(shot, window->view(), 120, 100), QColor(Qt::black)); // puzzle hidden
        QCOMPARE(shownAt(shot, window->view(), 65, 150), QColor(208, 208, 208));
        keepScreenShot("paused.png");

        // The clock stands still while minimised; a key goes on with the game.
        const int stopped = dialog.elapsedSeconds();
        QTest::keyClick(&window->view(), Qt::Key_Space);
        QVERIFY(!dialog.paused());
        window->showMinimized();
        QTRY_VERIFY(dialog.paused());
        QTest::qWait(1100);
        QVERIFY(std::abs(dialog.elapsedSeconds() - stopped) <= 1);
        const int minimised = dialog.elapsedSeconds();
        QTest::qWait(1100);
        QCOMPARE(dialog.elapsedSeconds(), minimised);

        // New Game asks before it ends the game; after yes the kept game goes with the quit.
        QTimer answers;
        connect(&answers, &QTimer::timeout, this, [this] { answerBoxes(); });
        answers.start(20);
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

    void sigtermKeepsTheGame() {
        auto window = windowWithAGame();
        QVERIFY(window);
        window->close();
        window.reset();
        const QByteArray kept = readAll(QtPlatform::keptGameFile());
        QVERIFY(!kept.isEmpty());

        QProcess game;
        game.setProgram(QStringLiteral(KORVANE_BINARY));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KORVANE_TELL_FIRST_PAINT"), QStringLiteral("1"));
        game.setProcessEnvironment(env);
        game.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        game.start();
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
        const KeptGameReading first = parseKeptGame(kept.toStdString());
        const KeptGameReading again =
            parseKeptGame(readAll(QtPlatform::keptGameFile()).toStdString());
        QVERIFY(first.game && again.game);
        QCOMPARE(again.game->moves, first.game->moves);
        QCOMPARE(again.game->scramble, first.game->scramble);
        QCOMPARE(again.game->elapsedSeconds, first.game->elapsedSeconds);
        QCOMPARE(again.game->stickerSum, first.game->stickerSum);
        for (int i = 0; i < 9; ++i) {
            QVERIFY(std::abs(again.game->orientation[i / 3][i % 3] -
                             first.game->orientation[i / 3][i % 3]) < 1e-9);
        }
    }

    // The data folder and the settings folder cannot be made (a file stands in their way): one
    // box tells where and why, and the game goes on.
    void unwritablePlacesAreToldOnce() {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QString config = QFileInfo(gameSettings().fileName()).absolutePath();
        QDir().rename(config, config + QStringLiteral(".away"));
        QDir(data).removeRecursively();
        QDir().mkpath(QFileInfo(data).absolutePath());
        for (const QString& blocked : {data, config}) {
            QFile file(blocked);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QTimer answers;
        connect(&answers, &QTimer::timeout, this, [this] { answerBoxes(); });
        answers.start(20);
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

QTEST_MAIN(KeepGameTest)
#include "tst_keep_game.moc"
