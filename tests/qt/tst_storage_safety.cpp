// The profile storage: values read as the game always read them, the file written as QSettings
// writes it and replaced only whole, and whatever is in the way handled without losing a byte.
// Stored data survives other running copies and a killed game: two copies entering results at
// once lose none, and a game killed while it writes leaves a readable file holding either the
// old or the new value of everything, with every result it reported as entered. Nothing in the
// settings folder holds up the game's start or a result's entry for more than the lock's time
// limit, and nothing in the settings file costs it time or memory.
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QRect>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/highscores.h"
#include "file_size_limit.h"
#include "platform/qt/profile_storage.h"
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
    QByteArrayList strings{QFile::encodeName(program)};
    std::vector<char*> argv;
    for (const QString& arg : args)
        strings << arg.toLocal8Bit();
    for (QByteArray& s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    int out[2];
    ::pipe2(out, O_CLOEXEC);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const int fd : {1, 2})
        posix_spawn_file_actions_adddup2(&actions, out[1], fd);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const bool spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    Run result;
    pollfd wait{out[0], POLLIN, 0};
    char buffer[256];
    ssize_t got = spawned ? 1 : 0;
    while (got > 0 && ::poll(&wait, 1, 20000) > 0) {
        got = ::read(out[0], buffer, sizeof buffer);
        result.output.append(buffer, std::max<ssize_t>(got, 0));
        if (result.seconds < 0 && result.output.contains("first paint"))
            result.seconds = clock.nsecsElapsed() / 1e9;
    }
    ::close(out[0]);
    if (got > 0) // no end of its output in 20 s: it hangs
        ::kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    if (spawned && ::wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.seconds = result.seconds < 0 ? clock.nsecsElapsed() / 1e9 : result.seconds;
    result.peakKiB = usage.ru_maxrss;
    return result;
}

QByteArray contentOf(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void putFile(const QString& name, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(name).absolutePath());
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

using namespace korvane;
using namespace korvane::qt;

class StorageSafetyTest : public QObject {
    Q_OBJECT

private:
    static QString settingsFile() { return ProfileStorage::defaultFileName(); }
    static int toldLines(const QByteArray& output) { return int(output.count("Korvane: ")); }
    static std::string storedText(QSettings& settings, const char* name) {
        return settings.value(QStringLiteral("HighScores/") + name).toString().toStdString();
    }
    static HighscoreList storedList(QSettings& settings, const char* name) {
        return parseHighscoreText(storedText(settings, name));
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
    }
    void init() { clearFolder(); }

    // A number the game did not store reads as the default, and a text as it stands, also when
    // the file holds it as a list; typed values are never decoded.
    void storedValuesReadDefensively() {
        const QString name = ProfileStorage::defaultFileName();
        QCOMPARE(name, QSettings("Helmfirth", "Korvane").fileName());
        for (const auto& [stored, value, text] :
             {std::tuple{"-4", -4, "-4"},
              {" 4 ", 4, "4"},
              {"cube", 7, "cube"},
              {"2.5", 7, "2.5"},
              {"99999999999", 7, "99999999999"},
              {"12,30,-1,", 7, "12,30,-1,"},
              {"", 7, ""},
              {"@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x3)", 7, "none"},
              {nullptr, 7, "none"}}) {
            putFile(name, QByteArray("[Config]\n") +
                              (stored ? "Value=" + QByteArray(stored) : "Other=2") + '\n');
            ProfileStorage storage;
            QCOMPARE(storage.readInt("Config", "Value", 7), value);
            QCOMPARE(storage.readString("Config", "Value", "none"), std::string(text));
        }
    }

    // What QSettings wrote, the game keeps, and what the game writes, QSettings reads.
    void qsettingsAndTheGameShareTheFile() {
        QTemporaryDir dir;
        const QString name = dir.filePath("Korvane.conf");
        QImage picture(8, 8, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        QVariantMap values = {
            {"Config/Figura", "2"},
            {"Config/Comment", "a \"quoted\" line;\nand\ttabs, commas = and ünïcode"},
            {"Config/Key With Space", QStringList{"a", "b,c", ""}},
            {"Other/Picture", picture},
            {"Other/Box", QRect(1, 2, 3, 4)},
            {"Other/@at", "@sign"},
            {"HighScores/PiraM", "57,-1,-1,-1,-1,-1,-1,-1,-1,-1,"}};
        {
            QSettings settings(name, QSettings::IniFormat);
            for (auto it = values.begin(); it != values.end(); ++it)
                settings.setValue(it.key(), it.value());
        }
        const QByteArray before = contentOf(name);
        {
            ProfileStorage storage(name);
            QCOMPARE(storage.readInt("Config", "Figura", 0), 2);
            storage.writeInt("Config", "Figura", 4);
            storage.writeString("HighScores", "PiraT", "9,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
            QVERIFY(storage.allStored());
        }
        values["Config/Figura"] = "4";
        values["HighScores/PiraT"] = "9,-1,-1,-1,-1,-1,-1,-1,-1,-1,";
        QSettings settings(name, QSettings::IniFormat);
        QCOMPARE(settings.allKeys().size(), values.size());
        for (auto it = values.begin(); it != values.end(); ++it)
            QCOMPARE(settings.value(it.key()), it.value());
        // Lines the game does not change stay byte for byte.
        const QByteArray after = contentOf(name);
        for (const QByteArray& line : before.split('\n'))
            QVERIFY2(line.startsWith("Figura=") || after.contains(line + '\n'), line.constData());
    }

    // Links are written through to a plain file; to anything else, or to nothing, never.
    // Anything but a plain file in its own place is moved aside, whole (too large: see the
    // oversized file below).
    void linksAndOddFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to a plain file") << "link file";
        QTest::newRow("link to a device") << "link /dev/null";
        QTest::newRow("link to a folder") << "link folder";
        QTest::newRow("dangling link") << "link missing";
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("folder") << "folder";
    }
    void linksAndOddFiles() {
        QFETCH(QString, kind);
        const bool stored = kind == "link file" || !kind.startsWith("link");
        QTemporaryDir dir;
        const QString name = dir.filePath("Korvane.conf");
        const QString target = kind == "link /dev/null" ? "/dev/null" : dir.filePath("target");
        if (kind == "link file") {
            putFile(target, "[Config]\nFigura=2\nOther=kept\n");
        } else if (kind == "link folder" || kind == "folder") {
            QVERIFY(QDir().mkpath(kind == "folder" ? name : target));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0644), 0);
        }
        if (kind.startsWith("link"))
            QVERIFY(QFile::link(target, name));
        const auto timeBefore = QFileInfo(target).lastModified();
        ProfileStorage storage(name);
        QCOMPARE(storage.readInt("Config", "Figura", 3), kind == "link file" ? 2 : 3);
        storage.writeInt("Config", "Figura", 4);
        QCOMPARE(storage.allStored(), stored);
        QCOMPARE(storage.lastProblem().isEmpty(), kind == "link file");
        if (kind.startsWith("link")) {
            QCOMPARE(QFileInfo(name).symLinkTarget(), QFileInfo(target).absoluteFilePath());
            if (!stored)
                QCOMPARE(QFileInfo(target).lastModified(), timeBefore);
        } else {
            const QStringList aside =
                QDir(dir.path())
                    .entryList({"Korvane.conf.set-aside-*"}, QDir::AllEntries | QDir::System);
            QCOMPARE(aside.size(), 1);
        }
        if (stored) {
            QVERIFY(QFileInfo(name).isFile());
            QVERIFY(contentOf(name).contains("Figura=4\n"));
            QCOMPARE(contentOf(name).contains("Other=kept"), kind == "link file");
        }
    }

    // A store that cannot be written whole (here: past the file size limit, as a full disk
    // fails it) leaves the old file byte for byte and no temporary, says so, and keeps the value
    // for the next store.
    void fullFileSystemKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString name = dir.filePath("Korvane.conf");
        QByteArray old = "[Config]\nBkColor=1\nFigura=2\nNivel=4\n\n[HighScores]\n";
        for (int i = 0; old.size() < 11700; ++i) // as players have them, 11.7 KB long
            old += "Note" + QByteArray::number(i) + "=\"57,60,-1,-1,-1,-1,-1,-1,-1,-1,\"\n";
        putFile(name, old);
        FileSizeLimit limit(8192);
        QVERIFY(limit.set());
        {
            ProfileStorage storage(name);
            storage.writeInt("Config", "BkColor", 0);
            QVERIFY(!storage.allStored());
            QVERIFY(storage.lastProblem().contains("could not be stored"));
            QCOMPARE(contentOf(name), old);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
            QVERIFY(limit.lift());
            storage.writeInt("Config", "Nivel", 3); // and the one that failed before
            QVERIFY(storage.allStored());
        }
        QVERIFY(contentOf(name).startsWith("[Config]\nBkColor=0\nFigura=2\nNivel=3\n"));
    }

    // Every result is better than all before it in its own copy, so each qualifies at its
    // moment; the table must end with the ten best of both copies.
    void twoCopiesEnteringAtOnceLoseNothing() {
        QProcess a;
        QProcess b;
        a.start(QStringLiteral(STORAGE_WRITER), {"enter", "4", "3000", "-2", "50"});
        b.start(QStringLiteral(STORAGE_WRITER), {"enter", "4", "3001", "-2", "50"});
        QVERIFY(a.waitForFinished(120000) && b.waitForFinished(120000));
        QCOMPARE(a.exitCode() + b.exitCode(), 0);

        QSettings settings(settingsFile(), QSettings::IniFormat);
        for (const char* name : {"Tetra1M", "Tetra1T"})
            QCOMPARE(storedText(settings, name),
                     "2902,2903,2904,2905,2906,2907,2908,2909,2910,2911,");
    }

    void aKilledGameLeavesOldOrNewValuesAndKeepsWhatItEntered() {
        std::mt19937 rng(6);
        for (int run = 0; run < 20; ++run) {
            // Whatever the last killed copy left (its lock, a temporary) stays for this one.
            QFile::remove(settingsFile());
            QProcess writer;
            writer.start(QStringLiteral(STORAGE_WRITER), {"loop"});
            QVERIFY(writer.waitForReadyRead(20000));
            QTest::qWait(std::uniform_int_distribution<int>(10, 200)(rng));
            ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished(10000));
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

            const QList<QByteArray> lines = writer.readAllStandardOutput().trimmed().split('\n');
            const int lastRound = lines.back().mid(6).toInt(); // "round r", or nothing
            QSettings settings(settingsFile(), QSettings::IniFormat);
            QCOMPARE(settings.status(), QSettings::NoError);
            const int figura = settings.value("Config/Figura").toInt();
            const int bk = settings.value("Config/BkColor", 0).toInt();
            QVERIFY2(figura >= 1 && figura <= 4 && bk >= 0 && bk <= 1,
                     qPrintable(QString::number(figura)));
            // Each list reads back as written, and each result enters both tables as one
            // store: they never disagree.
            for (int table = 0; table < kHighscoreTables; ++table) {
                const std::string text = storedText(settings, movesValueName(table));
                QVERIFY(text.empty() || formatHighscoreText(parseHighscoreText(text)) == text);
                QCOMPARE(storedText(settings, timeValueName(table)), text);
            }
            if (lastRound > 0) {
                const HighscoreList list = storedList(settings, movesValueName(lastRound % 9));
                QVERIFY2(list.value[0] != kEmptyPlace && list.value[0] <= 100000 - lastRound,
                         qPrintable(QStringLiteral("round %1 lost").arg(lastRound)));
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
        QTest::newRow("lock is a folder") << "lock folder";
        QTest::newRow("empty lock left by a killed copy") << "lock empty";
        QTest::newRow("lock of a copy that died") << "lock dead";
        QTest::newRow("lock held by a live copy") << "lock live";
        QTest::newRow("lock is a FIFO") << "lock fifo";
        QTest::newRow("settings file is a FIFO") << "file fifo";
    }
    void nothingHoldsUpTheGame() {
        QFETCH(QString, obstacle);
        const int told = obstacle == "lock empty" || obstacle == "lock dead" ? 0 : 1;
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
        QCOMPARE(toldLines(entry.output), told);
        QSettings settings(settingsFile(), QSettings::IniFormat);
        for (const char* name : {"Tetra1M", "Tetra1T"})
            QCOMPARE(storedList(settings, name).value[0], 500);
        QCOMPARE(QFileInfo::exists(lockFile()), told == 1 && obstacle != "file fifo");
    }

    // A settings file beyond the size limit (8 MiB: twenty pictures, typed values QSettings
    // would decode) is moved aside unread, costing the start neither time nor memory.
    void anOversizedFileCostsNothing() {
        // One picture as QSettings stores it, then the file with twenty of them (made by hand:
        // this process must stay small, since a child's peak memory counts its parent's).
        QTemporaryDir dir;
        const QString one = dir.filePath("one.conf");
        {
            QImage noise(185, 185, QImage::Format_ARGB32);
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(noise.bits()),
                                                  185 * 185);
            QSettings(one, QSettings::IniFormat).setValue("Pictures/Picture", noise);
        }
        const QByteArray stored = contentOf(one);
        const QByteArray value = stored.mid(stored.indexOf("Picture=") + 8).trimmed();
        QVERIFY(value.startsWith("\"@Variant(") || value.startsWith("@Variant("));
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Config]\nFigura=1\n\n[Pictures]\n");
        for (int key = 0; key < 20; ++key) { // no copies of the value: see above
            file.write("Picture" + QByteArray::number(key) + '=');
            file.write(value);
            file.write("\n");
        }
        file.close();
        QVERIFY(file.size() > (1 << 20));
        const Run game = run(KORVANE_GAME);
        QCOMPARE(game.exitCode, 0);
        QVERIFY(game.seconds < cleanStart_ + 0.5);
        QVERIFY(game.peakKiB < cleanPeakKiB_ + 8 * 1024);
        QCOMPARE(toldLines(game.output), 1);
        QSettings settings(settingsFile(), QSettings::IniFormat);
        QCOMPARE(settings.value("Config/Figura").toInt(), 3);
        QCOMPARE(settings.allKeys().size(), 2);
    }

    // Without a display the game says so in one line and ends with status 1.
    void noDisplayIsOneLine() {
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("QT_QPA_PLATFORM", "xcb");
        const Run game = run(KORVANE_GAME);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QCOMPARE(game.exitCode, 1);
        QCOMPARE(game.output, "Korvane: no display could be opened to show the game's window\n");
    }
};

QTEST_MAIN(StorageSafetyTest)
#include "tst_storage_safety.moc"
