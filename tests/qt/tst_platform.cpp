#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/qt/profile_storage.h"
#include "qt/window_helpers.h"

using namespace korvane::qt;
using namespace korvane::qt::testing;

namespace {

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

// A settings file as players have them, with highscores, 11.7 KB long.
QByteArray playersFile() {
    QByteArray text = "[Config]\nBkColor=1\nFigura=2\nNivel=4\n\n[HighScores]\n";
    for (int i = 0; text.size() < 11700; ++i) {
        text += "Note" + QByteArray::number(i) + "=\"57,60,-1,-1,-1,-1,-1,-1,-1,-1,\"\n";
    }
    return text;
}

} // namespace

// The profile storage: values read as the game always read them, the file written as QSettings
// writes it and replaced only whole, and whatever is in the way handled without losing a byte.
class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    // A number the game did not store reads as the default, and a text as it stands, also when
    // the file holds it as a list; typed values are never decoded.
    void storedValuesReadDefensively_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text"); // as a text
        QTest::newRow("a number") << QByteArray("Value=-4") << -4 << "-4";
        QTest::newRow("spaces") << QByteArray("Value= 4 ") << 4 << "4";
        QTest::newRow("missing") << QByteArray("Other=2") << 7 << "none";
        QTest::newRow("not a number") << QByteArray("Value=cube") << 7 << "cube";
        QTest::newRow("not whole") << QByteArray("Value=2.5") << 7 << "2.5";
        QTest::newRow("too big") << QByteArray("Value=99999999999") << 7 << "99999999999";
        QTest::newRow("a list") << QByteArray("Value=12,30,-1,") << 7 << "12,30,-1,";
        QTest::newRow("empty") << QByteArray("Value=") << 7 << "";
        QTest::newRow("typed") << QByteArray("Value=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x3)") << 7
                               << "none";
    }
    void storedValuesReadDefensively() {
        QFETCH(QByteArray, stored);
        QFETCH(int, value);
        QFETCH(QString, text);
        const QString name = ProfileStorage::defaultFileName();
        QCOMPARE(name, gameSettings().fileName());
        putFile(name, "[Config]\n" + stored + "\n");
        ProfileStorage storage;
        QCOMPARE(storage.readInt("Config", "Value", 7), value);
        QCOMPARE(storage.readString("Config", "Value", "none"), text.toStdString());
    }

    // The XDG rules: a relative XDG_CONFIG_HOME is ignored, not taken from the working folder.
    void relativeConfigHomeIgnored() {
        QTemporaryDir home;
        const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", "relative");
        qputenv("HOME", QFile::encodeName(home.path()));
        const QString name = ProfileStorage::defaultFileName();
        qputenv("XDG_CONFIG_HOME", savedConfig);
        qputenv("HOME", savedHome);
        QCOMPARE(name, home.path() + "/.config/Helmfirth/Korvane.conf");
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
            {"HighScores/PiraM", "57,-1,-1,-1,-1,-1,-1,-1,-1,-1,"},
        };
        {
            QSettings settings(name, QSettings::IniFormat);
            for (auto it = values.begin(); it != values.end(); ++it) {
                settings.setValue(it.key(), it.value());
            }
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
        for (auto it = values.begin(); it != values.end(); ++it) {
            QCOMPARE(settings.value(it.key()), it.value());
        }
        // Lines the game does not change stay byte for byte.
        const QByteArray after = contentOf(name);
        for (const QByteArray& line : before.split('\n')) {
            QVERIFY2(line.startsWith("Figura=") || after.contains(line + '\n'), line.constData());
        }
    }

    // Links are written through to a plain file; to anything else, or to nothing, never.
    // Anything but a plain file in its own place is moved aside, whole (too large: see the
    // pictures in tst_storage_safety).
    void linksAndOddFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("stored");
        QTest::newRow("link to a plain file") << "link file" << true;
        QTest::newRow("link to a device") << "link /dev/null" << false;
        QTest::newRow("link to a folder") << "link folder" << false;
        QTest::newRow("dangling link") << "link missing" << false;
        QTest::newRow("FIFO") << "fifo" << true;
        QTest::newRow("folder") << "folder" << true;
    }
    void linksAndOddFiles() {
        QFETCH(QString, kind);
        QFETCH(bool, stored);
        QTemporaryDir dir;
        const QString name = dir.filePath("Korvane.conf");
        const QString target = kind == "link /dev/null" ? "/dev/null" : dir.filePath("target");
        const QByteArray old = "[Config]\nFigura=2\nOther=kept\n";
        if (kind == "link file") {
            putFile(target, old);
        } else if (kind == "link folder" || kind == "folder") {
            QVERIFY(QDir().mkpath(kind == "folder" ? name : target));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0644), 0);
        }
        if (kind.startsWith("link")) {
            QVERIFY(QFile::link(target, name));
        }
        const auto timeBefore = QFileInfo(target).lastModified();
        ProfileStorage storage(name);
        QCOMPARE(storage.readInt("Config", "Figura", 3), kind == "link file" ? 2 : 3);
        storage.writeInt("Config", "Figura", 4);
        QCOMPARE(storage.allStored(), stored);
        QCOMPARE(storage.lastProblem().isEmpty(), kind == "link file");
        if (kind.startsWith("link")) {
            QCOMPARE(QFileInfo(name).symLinkTarget(), QFileInfo(target).absoluteFilePath());
            if (!stored) {
                QCOMPARE(QFileInfo(target).lastModified(), timeBefore);
            }
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

    // A store that cannot be written whole leaves the old file byte for byte and no temporary,
    // says so, and keeps the value for the next store.
    void fullFileSystemKeepsTheOldFile_data() {
        QTest::addColumn<bool>("tmpfs");
        QTest::newRow("a 64 KiB tmpfs, 4 KiB free") << true;
        QTest::newRow("a file size limit of 8 KiB") << false;
    }
    void fullFileSystemKeepsTheOldFile() {
        QFETCH(bool, tmpfs);
        QTemporaryDir dir;
        const QString folder = dir.filePath("fs");
        QVERIFY(QDir().mkpath(folder));
        const QString name = folder + "/Korvane.conf";
        const QString filler = folder + "/filler";
        if (tmpfs) {
            QProcess mount;
            mount.start("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder});
            if (!mount.waitForFinished() || mount.exitCode() != 0) {
                QSKIP("no tmpfs can be mounted here (needs root with CAP_SYS_ADMIN); the file "
                      "size limit row covers the same fault");
            }
        }
        const auto cleanUp = qScopeGuard([&] {
            if (tmpfs) {
                QProcess::execute("umount", {folder});
            }
        });
        putFile(name, playersFile());
        const QByteArray old = contentOf(name);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit saved = limit;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        if (tmpfs) {
            const int fd = ::open(QFile::encodeName(filler).constData(), O_WRONLY | O_CREAT, 0644);
            const QByteArray block(1024, 'f'); // all the space but 4 KiB
            while (::write(fd, block.constData(), block.size()) == block.size()) {
            }
            QCOMPARE(::ftruncate(fd, ::lseek(fd, 0, SEEK_END) - 4096), 0);
            ::close(fd);
        } else {
            limit.rlim_cur = 8192;
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        }
        {
            ProfileStorage storage(name);
            storage.writeInt("Config", "BkColor", 0);
            QVERIFY(!storage.allStored());
            QVERIFY(storage.lastProblem().contains("could not be stored"));
            QCOMPARE(contentOf(name), old);
            QCOMPARE(QDir(folder).entryList(QDir::Files).size(), tmpfs ? 2 : 1);
            ::setrlimit(RLIMIT_FSIZE, &saved);
            QFile::remove(filler);
            storage.writeInt("Config", "Nivel", 3); // and the one that failed before
            QVERIFY(storage.allStored());
        }
        std::signal(SIGXFSZ, previous);
        QVERIFY(contentOf(name).startsWith("[Config]\nBkColor=0\nFigura=2\nNivel=3\n"));
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
