#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

#include "model/puzzle_build.h"
#include "model/turns.h"
#include "platform/qt/distance_cache.h"

using namespace korvane;
using namespace korvane::qt;

// A table file is used only when it reads back whole; anything else is built afresh in the
// background and written back, and a good file is left alone.
class DistanceCacheTest : public QObject {
    Q_OBJECT
    QByteArray good_;

private slots:
    void initTestCase() {
        const std::vector<std::uint8_t> image = DistanceTable::build(TableKind::Cube2).serialize();
        good_ = QByteArray(reinterpret_cast<const char*>(image.data()),
                           static_cast<qsizetype>(image.size()));
    }

    void fileReadOrRebuilt_data() {
        QTest::addColumn<QString>("state");
        for (const char* s : {"missing", "damaged", "truncated", "empty", "good"}) {
            QTest::newRow(s) << QString(s);
        }
    }
    void fileReadOrRebuilt() {
        QFETCH(QString, state);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        DistanceCache cache(dir.path() + "/tables");
        const QString name = cache.path(TableKind::Cube2);
        const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
        if (state != "missing") {
            QByteArray bytes = good_;
            if (state == "damaged") {
                bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 4);
            } else if (state == "truncated") {
                bytes.chop(1);
            } else if (state == "empty") {
                bytes.clear();
            }
            QVERIFY(QDir().mkpath(dir.path() + "/tables"));
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }

        QVERIFY(cache.table(TableKind::Cube2) == nullptr); // never waits
        const std::shared_ptr<const DistanceTable> t = cache.wait(TableKind::Cube2);
        QVERIFY(t != nullptr);
        QCOMPARE(cache.table(TableKind::Cube2), t);
        auto g = std::make_unique<Puzzle>();
        buildPuzzleState(*g, kCube, 1);
        applyMove(*g, Move::axisTurn(2, 1, -1));
        QCOMPARE(t->distance(*g), 1);

        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), good_);
        const bool rewritten = QFileInfo(name).lastModified().toUTC() > old.addSecs(60);
        QCOMPARE(rewritten, state != "good");
    }

    // Closing while the largest table is being built calls the build off: the search looks at
    // a sliver more of it (a full build looks at every position once per distance), and no file
    // is left behind.
    void closingCallsOffABuild() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        std::atomic<std::uint64_t> scanned{0};
        std::uint64_t atClose = 0;
        QString name;
        {
            DistanceCache cache(dir.path(), &scanned);
            name = cache.path(TableKind::Tetrahedron3);
            QVERIFY(cache.table(TableKind::Tetrahedron3) == nullptr);
            for (long polls = 0; scanned == 0 && polls < 1'000'000'000; ++polls) {
                std::this_thread::yield();
            }
            atClose = scanned;
        }
        const std::uint64_t positions = 933'120ull * 81;
        QVERIFY(atClose > 0);
        QVERIFY2(scanned - atClose < positions / 8, qPrintable(QString::number(scanned - atClose)));
        QVERIFY(!QFileInfo::exists(name));
    }
};

QTEST_GUILESS_MAIN(DistanceCacheTest)
#include "tst_distance_cache.moc"
