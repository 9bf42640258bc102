// Stored data survives other running copies and a killed game: two copies entering results at
// once lose none, and a game killed while it writes leaves a readable file holding either the
// old or the new value of everything, with every result it reported as entered. Nothing in the
// settings folder holds up the game's start or a result's entry for more than the lock's time
// limit, and nothing in the settings file costs it time or memory.
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/highscores.h"
#include "platform/qt/store_lock.h"

namespace {

struct Run {
    double seconds = -1; // to the first paint, or to the end
    int exitCode = -1;
    long peakKiB = 0;
    QByteArray output; // and errors
};

// Runs the game until its first paint, or the storage writer to its end. Spawned by hand, not by
// QProcess, for the process's own peak memory.
Run run(const QString& program, const QStringList& args = {}) {
    std::vector<QByteArray> strings{QFile::encodeName(program)};
    for (const QString& arg : args) {
        strings.push_back(arg.toLocal8Bit());
    }
    std::vector<char*> argv;
    for (QByteArray& s : strings) {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);
    int out[2];
    ::pipe2(out, O_CLOEXEC);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    Run result;
    pollfd wait{out[0], POLLIN, 0};
    char buffer[256];
    ssize_t got = spawned == 0 ? 1 : 0;
    while (got > 0 && ::poll(&wait, 1, 20000) > 0) {
        got = ::read(out[0], buffer, sizeof buffer);
        result.output.append(buffer, std::max<ssize_t>(got, 0));
        if (result.seconds < 0 && result.output.contains("first paint")) {
            result.seconds = clock.nsecsElapsed() / 1e9;
        }
    }
    ::close(out[0]);
    if (spawned != 0) {
        return result;
    }
    if (got > 0) { // no end of its output in 20 s: it hangs
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    result.seconds = result.seconds < 0 ? clock.nsecsElapsed() / 1e9 : result.seconds;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.peakKiB = usage.ru_maxrss;
    return result;
}

int toldLines(const QByteArray& output) {
    return int(output.count("Korvane: "));
}

} // namespace

using namespace korvane;

class StorageSafetyTest : public QObject {
    Q_OBJECT

private:
    static QString settingsFile() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/Helmfirth/Korvane.conf");
    }
    static HighscoreList storedList(QSettings& settings, const char* name) {
        const QString text = settings.value(QStringLiteral("HighScores/") + name).toString();
        return parseHighscoreText(text.toStdString());
    }
    static QStringList reportedLines(QProcess& process) {
        return QString::fromLatin1(process.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    static QString folder() { return QFileInfo(settingsFile()).absolutePath(); }
    static QString lockFile() { return folder() + "/Korvane-store.lock"; }
    static void clearFolder() {
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
    }

    double cleanStart_ = 0;
    long cleanPeakKiB_ = 0;

private slots:
    void initTestCase() {
        qputenv("KORVANE_EXIT_AFTER_FIRST_PAINT", "1");
        clearFolder();
        const Run clean = run(KORVANE_GAME);
        QCOMPARE(clean.exitCode, 0);
        cleanStart_ = clean.seconds;
        cleanPeakKiB_ = clean.peakKiB;
        qInfo("clean start: %.3f s, %ld KiB", cleanStart_, cleanPeakKiB_);
    }
    void init() { clearFolder(); }

    // Every result is better than all before it in its own copy, so each qualifies at its
    // moment; the table must end with the ten best of both copies.
    void twoCopiesEnteringAtOnceLoseNothing() {
        QProcess a;
        QProcess b;
        a.start(QStringLiteral(STORAGE_WRITER), {"enter", "4", "3000", "-2", "50"});
        b.start(QStringLiteral(STORAGE_WRITER), {"enter", "4", "3001", "-2", "50"});
        QVERIFY(a.waitForFinished(120000));
        QVERIFY(b.waitForFinished(120000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);

        QSettings settings(settingsFile(), QSettings::IniFormat);
        const int best[] = {2902, 2903, 2904, 2905, 2906, 2907, 2908, 2909, 2910, 2911};
        for (const char* name : {"Tetra1M", "Tetra1T"}) {
            const HighscoreList list = storedList(settings, name);
            for (int place = 0; place < kHighscorePlaces; ++place) {
                QCOMPARE(list.value[place], best[place]);
            }
        }
    }

    void aKilledGameLeavesOldOrNewValuesAndKeepsWhatItEntered() {
        std::mt19937 rng(6);
        for (int run = 0; run < 20; ++run) {
            // Whatever the last killed copy left (its lock, a temporary) stays for this one.
            QFile::remove(settingsFile());
            QProcess writer;
            writer.start(QStringLiteral(STORAGE_WRITER), {"loop"});
            QVERIFY(writer.waitForStarted());
            QVERIFY(writer.waitForReadyRead(20000));
            QTest::qWait(std::uniform_int_distribution<int>(10, 200)(rng));
            ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished(10000));
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

            int lastRound = 0;
            for (const QString& line : reportedLines(writer)) {
                lastRound = std::max(lastRound, line.section(QLatin1Char(' '), 1).toInt());
            }
            QSettings settings(settingsFile(), QSettings::IniFormat);
            QCOMPARE(settings.status(), QSettings::NoError);
            const int figura = settings.value(QStringLiteral("Config/Figura")).toInt();
            QVERIFY2(figura >= 1 && figura <= 4, qPrintable(QString::number(figura)));
            const int bk = settings.value(QStringLiteral("Config/BkColor"), 0).toInt();
            QVERIFY(bk == 0 || bk == 1);
            for (int table = 0; table < kHighscoreTables; ++table) {
                const QString text =
                    settings.value(QStringLiteral("HighScores/") + movesValueName(table))
                        .toString();
                if (!text.isEmpty()) {
                    QCOMPARE(QString::fromStdString(
                                 formatHighscoreText(parseHighscoreText(text.toStdString()))),
                             text);
                }
            }
            if (lastRound > 0) {
                const HighscoreList list = storedList(settings, movesValueName(lastRound % 9));
                QVERIFY2(list.value[0] != kEmptyPlace && list.value[0] <= 100000 - lastRound,
                         qPrintable(QStringLiteral("round %1 lost").arg(lastRound)));
            }
            // Each result enters both tables as one store: they never disagree.
            for (int table = 0; table < kHighscoreTables; ++table) {
                QCOMPARE(settings.value(QStringLiteral("HighScores/") + timeValueName(table)),
                         settings.value(QStringLiteral("HighScores/") + movesValueName(table)));
            }
        }
        // The next good store leaves no lock and no temporary of the killed copies behind.
        QCOMPARE(run(STORAGE_WRITER, {"enter", "0", "5", "1", "1"}).exitCode, 0);
        QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList{"Korvane.conf"});
    }

    // Whatever lies where the lock or the file belongs, the game paints within the lock's time
    // limit (it never waits for a lock at start) and a result's entry ends within it, stored.
    // A lock whose holder is gone is broken in silence; anything else is told, once.
    void nothingHoldsUpTheGame_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<int>("told"); // lines on stderr of a result's entry
        QTest::newRow("lock is a folder") << "lock folder" << 1;
        QTest::newRow("empty lock left by a killed copy") << "lock empty" << 0;
        QTest::newRow("lock of a copy that died") << "lock dead" << 0;
        QTest::newRow("lock held by a live copy") << "lock live" << 1;
        QTest::newRow("lock is a FIFO") << "lock fifo" << 1;
        QTest::newRow("settings file is a FIFO") << "file fifo" << 1;
    }
    void nothingHoldsUpTheGame() {
        QFETCH(QString, obstacle);
        QFETCH(int, told);
        const QString place = obstacle.startsWith("lock") ? lockFile() : settingsFile();
        const auto putObstacle = [&] {
            QFile::remove(place);
            QDir(place).removeRecursively();
            const QByteArray name = QFile::encodeName(place);
            if (obstacle == "lock folder") {
                QVERIFY(QDir().mkpath(place));
            } else if (obstacle.endsWith("fifo")) {
                QCOMPARE(::mkfifo(name.constData(), 0644), 0);
            } else {
                QProcess gone;
                gone.start("true");
                QVERIFY(gone.waitForStarted());
                const qint64 pid = obstacle == "lock live" ? ::getpid() : gone.processId();
                QVERIFY(gone.waitForFinished());
                QFile lock(place);
                QVERIFY(lock.open(QIODevice::WriteOnly));
                if (obstacle != "lock empty") {
                    lock.write(QByteArray::number(pid) + ' ' + korvane::qt::StoreLock::hostName() +
                               " test\n");
                }
            }
        };
        putObstacle();
        const Run game = run(KORVANE_GAME);
        QCOMPARE(game.exitCode, 0);
        QVERIFY2(game.seconds < cleanStart_ + 2.0, qPrintable(QString::number(game.seconds)));
        QVERIFY(toldLines(game.output) <= 1);

        putObstacle();
        const Run entry = run(STORAGE_WRITER, {"enter", "4", "500", "1", "1"});
        QCOMPARE(entry.exitCode, 0);
        QVERIFY2(entry.seconds < cleanStart_ + 2.0, qPrintable(QString::number(entry.seconds)));
        QCOMPARE(toldLines(entry.output), obstacle == "file fifo" ? 1 : told);
        QSettings settings(settingsFile(), QSettings::IniFormat);
        for (const char* name : {"Tetra1M", "Tetra1T"}) {
            QCOMPARE(storedList(settings, name).value[0], 500);
        }
        QCOMPARE(QFileInfo::exists(lockFile()), told == 1 && obstacle != "file fifo");
    }

    // Typed values anywhere in the file are never decoded: twenty pictures cost the start
    // nothing, within the size limit or (moved aside) beyond it.
    void picturesInTheFileCostNothing_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("setAside");
        QTest::newRow("20 pictures within 1 MiB") << 40 << false;
        QTest::newRow("20 pictures, 8 MiB") << 185 << true;
    }
    void picturesInTheFileCostNothing() {
        QFETCH(int, side);
        QFETCH(bool, setAside);
        // One picture as QSettings stores it, then the file with twenty of them (made by hand:
        // this process must stay small, since a child's peak memory counts its parent's).
        QTemporaryDir dir;
        const QString one = dir.filePath("one.conf");
        {
            QImage noise(side, side, QImage::Format_ARGB32);
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
                    noise.setPixel(x, y, QRandomGenerator::global()->generate());
                }
            }
            QSettings(one, QSettings::IniFormat).setValue("Pictures/Picture", noise);
        }
        QFile picture(one);
        QVERIFY(picture.open(QIODevice::ReadOnly));
        const QByteArray stored = picture.readAll();
        const QByteArray value = stored.mid(stored.indexOf("Picture=") + 8).trimmed();
        QVERIFY(value.startsWith("\"@Variant(") || value.startsWith("@Variant("));
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Config]\nFigura=1\n\n[Pictures]\n");
        for (int key = 0; key < 20; ++key) {
            file.write("Picture" + QByteArray::number(key) + '=');
            file.write(value);
            file.write("\n");
        }
        file.close();
        const qint64 size = QFileInfo(settingsFile()).size();
        QCOMPARE(size > (1 << 20), setAside);
        const Run game = run(KORVANE_GAME);
        QCOMPARE(game.exitCode, 0);
        rusage self{};
        ::getrusage(RUSAGE_SELF, &self);
        qInfo("%lld bytes: %.3f s to the first paint, %ld KiB at most (test: %ld)", size,
              game.seconds, game.peakKiB, self.ru_maxrss);
        QVERIFY(game.seconds < cleanStart_ + 0.5);
        QVERIFY(game.peakKiB < cleanPeakKiB_ + 8 * 1024);
        QCOMPARE(toldLines(game.output), setAside ? 1 : 0);
        QSettings settings(settingsFile(), QSettings::IniFormat);
        QCOMPARE(settings.value("Config/Figura").toInt(), setAside ? 3 : 1);
        QCOMPARE(settings.allKeys().size(), setAside ? 2 : 22);
    }

    // Without a display the game says so in one line and ends with status 1.
    void noDisplayIsOneLine() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "xcb");
        QProcess game;
        game.setProcessEnvironment(env);
        game.start(KORVANE_GAME);
        QVERIFY(game.waitForFinished(20000));
        QCOMPARE(game.exitCode(), 1);
        QCOMPARE(game.readAllStandardError(),
                 "Korvane: no display could be opened to show the game's window\n");
    }
};

QTEST_MAIN(StorageSafetyTest)
#include "tst_storage_safety.moc"
