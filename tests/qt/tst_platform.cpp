#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTest>
#include <chrono>

#include "platform/qt/frame_pacer.h"
#include "platform/qt/profile_storage.h"
#include "qt/window_helpers.h"

using namespace korvane::qt;
using namespace korvane::qt::testing;
using namespace std::chrono_literals;

namespace {

// Write raw text into the settings file, as a hand edit or another program would.
void writeSettingsFile(const QString& fileName, const QByteArray& text) {
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

} // namespace

// The window services on Qt that the window tests do not reach: storage read defensively and
// written at once, the highscore lock, and the pacing of animation frames.
class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void init() { clearGameSettings(); }

    void storedNumbersReadDefensively_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("value");
        QTest::newRow("a number") << QByteArray("Figura=2") << 2;
        QTest::newRow("negative") << QByteArray("Figura=-4") << -4;
        QTest::newRow("spaces") << QByteArray("Figura= 4 ") << 4;
        QTest::newRow("missing") << QByteArray("Nivel=2") << 7;
        QTest::newRow("not a number") << QByteArray("Figura=cube") << 7;
        QTest::newRow("not whole") << QByteArray("Figura=2.5") << 7;
        QTest::newRow("too big") << QByteArray("Figura=99999999999") << 7;
        QTest::newRow("a list") << QByteArray("Figura=1, 2") << 7;
        QTest::newRow("empty") << QByteArray("Figura=") << 7;
    }
    void storedNumbersReadDefensively() {
        QFETCH(QByteArray, stored);
        QFETCH(int, value);
        writeSettingsFile(gameSettings().fileName(), "[Config]\n" + stored + "\n");
        ProfileStorage storage;
        QCOMPARE(storage.readInt("Config", "Figura", 7), value);
    }

    void valuesReachTheFileAtOnce() {
        ProfileStorage storage;
        storage.writeInt("Config", "BkColor", 1);
        const std::string text = "57,-1,-1,-1,-1,-1,-1,-1,-1,-1,";
        storage.writeString("HighScores", "Cube2M", text);
        // Another copy of the game, reading the file afresh, sees both.
        QSettings other(gameSettings().fileName(), QSettings::IniFormat);
        QCOMPARE(other.value("Config/BkColor").toInt(), 1);
        QCOMPARE(other.value("HighScores/Cube2M").toString().toStdString(), text);
        QCOMPARE(storage.readString("HighScores", "Cube2M", "none"), text);
        QCOMPARE(storage.readString("HighScores", "Cube3M", "none"), std::string("none"));
    }

    void handEditedHighscoreTextsReadBack() {
        writeSettingsFile(gameSettings().fileName(), "[HighScores]\nPiraM=12,30,-1,\n");
        ProfileStorage storage;
        QCOMPARE(storage.readString("HighScores", "PiraM", ""), std::string("12,30,-1,"));
    }

    void highscoreLockIsItsOwnFile() {
        ProfileStorage storage;
        const QString settingsFile = storage.fileName();
        QVERIFY(storage.lockFileName() != settingsFile + ".lock");
        QCOMPARE(QFileInfo(storage.lockFileName()).absolutePath(),
                 QFileInfo(settingsFile).absolutePath());
        QFile::remove(settingsFile);
        storage.lockHighscores();
        QVERIFY(storage.highscoresLocked());
        QLockFile other(storage.lockFileName());
        QVERIFY(!other.tryLock(0));
        // The settings themselves stay writable while the lock is held.
        storage.writeString("HighScores", "PiraT", "5,");
        storage.unlockHighscores();
        QVERIFY(!storage.highscoresLocked());
        QVERIFY(other.tryLock(0));
        QCOMPARE(QSettings(settingsFile, QSettings::IniFormat).value("HighScores/PiraT").toString(),
                 QStringLiteral("5,"));
    }

    void frameIntervalFromTheEnvironment_data() {
        QTest::addColumn<QByteArray>("setting");
        QTest::addColumn<int>("ms");
        QTest::newRow("none") << QByteArray() << 25;
        QTest::newRow("zero") << QByteArray("0") << 0;
        QTest::newRow("forty") << QByteArray("40") << 40;
        QTest::newRow("negative") << QByteArray("-5") << 25;
        QTest::newRow("garbage") << QByteArray("fast") << 25;
    }
    void frameIntervalFromTheEnvironment() {
        QFETCH(QByteArray, setting);
        QFETCH(int, ms);
        const QByteArray saved = qgetenv("KORVANE_FRAME_MS");
        if (setting.isNull()) {
            qunsetenv("KORVANE_FRAME_MS");
        } else {
            qputenv("KORVANE_FRAME_MS", setting);
        }
        const FramePacer pacer;
        qputenv("KORVANE_FRAME_MS", saved);
        QCOMPARE(pacer.interval().count(), ms);
    }

    void framesKeepASteadyInterval() {
        FramePacer pacer(25ms);
        const auto t0 = FramePacer::Clock::now();
        // The first frame stays up one interval; the next ones keep the beat while drawing
        // takes less than an interval.
        QVERIFY(pacer.nextFrameTime(t0) == t0 + 25ms);
        QVERIFY(pacer.nextFrameTime(t0 + 31ms) == t0 + 50ms);
        QVERIFY(pacer.nextFrameTime(t0 + 52ms) == t0 + 75ms);
        // A slow frame: the next one goes at once, and the beat starts from there.
        QVERIFY(pacer.nextFrameTime(t0 + 110ms) == t0 + 110ms);
        QVERIFY(pacer.nextFrameTime(t0 + 112ms) == t0 + 135ms);
        // A new turn long after: a whole interval again.
        QVERIFY(pacer.nextFrameTime(t0 + 2s) == t0 + 2s + 25ms);
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
