// Stored data survives other running copies and a killed game: two copies entering results at
// once lose none, and a game killed while it writes leaves a readable file holding either the
// old or the new value of everything, with every result it reported as entered.
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>
#include <csignal>
#include <random>

#include "app/highscores.h"

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

private slots:
    void init() { QFile::remove(settingsFile()); }

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
            // A lock file the killed game left half-written is only broken after its stale
            // time; the next start would wait that out, which is not what this test measures.
            QDir folder = QFileInfo(settingsFile()).dir();
            for (const QString& lock : folder.entryList({QStringLiteral("*.lock*")})) {
                folder.remove(lock);
            }
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
        }
    }
};

QTEST_GUILESS_MAIN(StorageSafetyTest)
#include "tst_storage_safety.moc"
