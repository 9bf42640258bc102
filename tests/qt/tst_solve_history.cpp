// The solve history's SQLite store: games kept whole and read back as stored, two copies
// recording at once, a game that cannot be written kept for later, a copy killed while it records,
// damaged files set aside, and the command lines that read the store while another copy writes.
// The distance tables' files: used only when they read back whole; anything else is built afresh
// in the background and written back, and a good file is left alone.
#include <QDateTime>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <random>
#include <set>
#include <thread>
#include <tuple>

#include "file_size_limit.h"
#include "model/puzzle_build.h"
#include "model/turns.h"
#include "platform/qt/distance_cache.h"
#include "platform/qt/sql_solve_history.h"

using namespace korvane;
using korvane::qt::DistanceCache;
using korvane::qt::SqlSolveHistory;

namespace {

SolveRecord game(PuzzleId puzzle, std::int64_t endedMs, int seconds, bool abandoned = false) {
    return {.puzzle = puzzle,
            .endedUtcMs = endedMs,
            .moves = seconds * 2,
            .seconds = seconds,
            .undoUsed = seconds % 2 == 1,
            .abandoned = abandoned,
            .par = seconds % 3 == 0 ? -1 : seconds / 3, // some games without
            .scramble = {Move::axisTurn(1, 0, 1), Move::cornerTurn(3, -1)},
            .moveLog = {{Move::axisTurn(2, 1, -1), 900}, {Move::cornerTurn(3, 1), 1800}}};
}

std::vector<int> secondsOf(const std::vector<SolveSummary>& games) {
    std::vector<int> out;
    std::ranges::transform(games, std::back_inserter(out), &SolveSummary::seconds);
    return out;
}

// The last number a writer reported as committed.
int lastReported(QProcess& writer) {
    int last = -1;
    for (const QByteArray& line : writer.readAllStandardOutput().split('\n'))
        last = line.startsWith("recorded ") ? line.mid(9).toInt() : last;
    return last;
}

} // namespace

class SolveHistoryTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString file_;
    int tests_ = 0;

private slots:
    // A store of its own for every test and row.
    void init() {
        QVERIFY(dir_.isValid());
        file_ = dir_.filePath(QStringLiteral("%1/history.sqlite").arg(++tests_));
    }

    void keepsGamesWholeAndInOrder() {
        const PuzzleId cube{1, 3};
        const PuzzleId tetra{2, 1};
        {
            SqlSolveHistory history(file_);
            for (const SolveRecord& g : {game(cube, 3000, 40), game(tetra, 2000, 50, true),
                                         game(cube, 1000, 30), game(cube, 3000, 45)})
                QVERIFY(history.record(g));
            QVERIFY(history.takeNotice().empty());
            QVERIFY(QFileInfo::exists(file_ + "-wal"));
        }

        SqlSolveHistory history(file_);
        // By end time, then in the order they were stored.
        const std::vector<SolveSummary> cubeGames = history.summaries(cube);
        QCOMPARE(secondsOf(cubeGames), (std::vector<int>{30, 40, 45}));
        QVERIFY(cubeGames[2].undoUsed && !cubeGames[1].undoUsed && !cubeGames[2].abandoned);
        QVERIFY(std::tuple(cubeGames[2].moves, cubeGames[2].endedUtcMs, cubeGames[1].par,
                           cubeGames[2].par) == std::tuple(90, 3000, 13, -1));
        QVERIFY(history.summaries(tetra)[0].abandoned);
        QCOMPARE(history.puzzles(), (std::vector<PuzzleId>{cube, tetra}));
        std::vector<SolveRecord> all;
        QVERIFY(history.forEach([&](const SolveRecord& s) { all.push_back(s); }));
        QCOMPARE(all.size(), size_t(4));
        SolveRecord expected = game(tetra, 2000, 50, true);
        expected.id = all[1].id;
        QVERIFY(all[1] == expected);
        QVERIFY(history.find(all[1].id) == expected);
        QVERIFY(!history.find(999).has_value());

        QVERIFY(history.remove(all[0].id));
        QCOMPARE(secondsOf(history.summaries(cube)), (std::vector<int>{40, 45}));
        QVERIFY(history.clear(cube));
        QVERIFY(history.summaries(cube).empty());
        QCOMPARE(history.summaries(tetra).size(), size_t(1));
    }

    // A game that cannot be written (the file may not grow: a full disk to SQLite) is told,
    // waits in memory, and is written with the next game or when the history closes.
    void aGameThatCannotBeWrittenWaitsForTheNext() {
        FileSizeLimit limit(4096);
        for (bool closeFirst : {false, true}) {
            const PuzzleId puzzle{1, closeFirst ? 2 : 1};
            {
                SqlSolveHistory history(file_);
                QVERIFY(history.record(game(puzzle, 1000, 10)));
                QVERIFY(limit.set());
                QVERIFY(!history.record(game(puzzle, 2000, 20)));
                QVERIFY(!history.takeNotice().empty());
                QVERIFY(limit.lift());
                if (!closeFirst)
                    QVERIFY(history.record(game(puzzle, 3000, 30)));
            }
            SqlSolveHistory reader(file_);
            QCOMPARE(secondsOf(reader.summaries(puzzle)),
                     closeFirst ? std::vector<int>({10, 20}) : std::vector<int>({10, 20, 30}));
        }
    }

    void twoCopiesRecordingAtOnceKeepEveryGame() {
        QProcess a;
        QProcess b;
        a.start(QStringLiteral(STORAGE_WRITER), {"solves", file_, "1000", "200"});
        b.start(QStringLiteral(STORAGE_WRITER), {"solves", file_, "2000", "200"});
        QVERIFY(a.waitForFinished(120000) && b.waitForFinished(120000));
        QCOMPARE(a.exitCode() + b.exitCode(), 0);
        std::vector<int> seconds = secondsOf(SqlSolveHistory(file_).summaries({1, 3}));
        std::sort(seconds.begin(), seconds.end());
        std::vector<int> expected(400);
        for (int i = 0; i < 400; ++i)
            expected[i] = (i < 200 ? 1000 : 1800) + i;
        QCOMPARE(seconds, expected);
    }

    void aKilledCopyLosesNothingItCommitted() {
        std::mt19937 rng(13);
        for (int run = 0; run < 10; ++run) {
            const int first = run * 100000;
            QProcess writer;
            writer.start(QStringLiteral(STORAGE_WRITER),
                         {"solves", file_, QString::number(first), "0"});
            QVERIFY(writer.waitForReadyRead(20000));
            QTest::qWait(std::uniform_int_distribution<int>(5, 150)(rng));
            ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished(10000));
            const int last = lastReported(writer);

            SqlSolveHistory history(file_);
            const std::vector<int> seconds = secondsOf(history.summaries({1, 3}));
            QVERIFY(history.takeNotice().empty());
            const std::set<int> kept(seconds.begin(), seconds.end());
            for (int s = first; s <= last; ++s)
                QVERIFY2(kept.count(s), qPrintable(QStringLiteral("game %1 lost").arg(s)));
        }
    }

    void aDamagedFileIsSetAsideAndAFreshOneWorks_data() {
        QTest::addColumn<int>("damage");
        QTest::newRow("not a database") << 0;
        QTest::newRow("games overwritten") << 1;
        QTest::newRow("a folder in its place") << 2;
    }
    void aDamagedFileIsSetAsideAndAFreshOneWorks() {
        QFETCH(int, damage);
        QVERIFY(QDir().mkpath(damage == 2 ? file_ : QFileInfo(file_).absolutePath()));
        if (damage == 1)
            QVERIFY(SqlSolveHistory(file_).recordAll(std::vector(2000, game({1, 2}, 5, 7))));
        QFile file(file_);
        if (damage != 2) {
            // Everything after the first two pages: the schema reads, the games do not.
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(damage == 0 ? 0 : 8192);
            file.write(QByteArray(damage == 0 ? 3000 : int(file.size()) - 8192, 'x'));
            file.seek(0);
        }
        const QByteArray before = file.isOpen() ? file.readAll() : QByteArray();

        SqlSolveHistory history(file_);
        QVERIFY(history.record(game({1, 2}, 10, 20)));
        QCOMPARE(secondsOf(history.summaries({1, 2})), std::vector<int>{20});
        QVERIFY(history.setAsideName().startsWith(file_ + ".damaged-"));
        QVERIFY(QString::fromStdString(history.takeNotice()).contains(history.setAsideName()));
        QFile aside(history.setAsideName());
        QVERIFY(damage == 2 ? QFileInfo(aside).isDir() : aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.isOpen() ? aside.readAll() : QByteArray(), before);
    }

    // A file of version 1 (made here as that version made it) is upgraded in place: every game
    // kept, their par unknown, new games with theirs. One from a newer game is left alone.
    void olderFilesAreUpgradedAndNewerOnesLeftAlone_data() {
        QTest::addColumn<int>("version");
        QTest::newRow("version 1") << 1;
        QTest::newRow("version 3") << 3;
    }
    void olderFilesAreUpgradedAndNewerOnesLeftAlone() {
        QFETCH(int, version);
        QVERIFY(QDir().mkpath(QFileInfo(file_).absolutePath()));
        const auto sql = [this](const QStringList& statements) {
            QStringList results;
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "made-by-hand");
                db.setDatabaseName(file_);
                db.open();
                QSqlQuery q(db);
                for (const QString& statement : statements)
                    results << (q.exec(statement) && q.next() ? q.value(0).toString() : "");
            }
            QSqlDatabase::removeDatabase("made-by-hand");
            return results;
        };
        sql({"CREATE TABLE solve (id INTEGER PRIMARY KEY, kind INTEGER NOT NULL, level INTEGER NOT"
             " NULL, ended_ms INTEGER NOT NULL, moves INTEGER NOT NULL, seconds INTEGER NOT NULL,"
             " undo_used INTEGER NOT NULL, abandoned INTEGER NOT NULL, scramble TEXT NOT NULL,"
             " move_log TEXT NOT NULL)",
             "CREATE INDEX solve_by_puzzle ON solve (kind, level, ended_ms, id, moves, seconds,"
             " undo_used, abandoned)",
             "INSERT INTO solve VALUES (1, 1, 1, 1000, 12, 30, 0, 0, 'A1L0+', 'A1L0-@900')",
             "INSERT INTO solve VALUES (2, 1, 1, 2000, 7, 20, 1, 1, 'A2L1-', '')",
             QStringLiteral("PRAGMA user_version = %1").arg(version)});
        {
            SqlSolveHistory history(file_);
            SolveRecord played = game({1, 1}, 3000, 40);
            played.par = 8;
            QCOMPARE(history.record(played), version == 1);
            const std::vector<SolveSummary> games = history.summaries({1, 1});
            if (version == 1) {
                QCOMPARE(secondsOf(games), (std::vector<int>{30, 20, 40}));
                QVERIFY(games[0].par == -1 && games[2].par == 8);
                QVERIFY(games[1].abandoned && games[1].undoUsed);
                QCOMPARE(history.find(1)->moveLog.size(), size_t(1));
            }
        }
        const QStringList after = sql({"PRAGMA user_version", "SELECT count(*) FROM solve",
                                       "SELECT count(*) FROM solve WHERE par IS NULL"});
        QCOMPARE(after.join(' '), version == 1 ? "2 3 2" : "3 2 ");
    }

    // --stats and --export-csv read a store that another copy is writing, with no display.
    void commandLinesReadWhileAnotherCopyWrites() {
        const QString store = SqlSolveHistory::defaultFileName();
        QVERIFY(store.startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(store + QLatin1String(suffix));
        QProcess writer;
        writer.start(QStringLiteral(STORAGE_WRITER), {"solves", store, "100", "0"});
        const auto stop = qScopeGuard([&] {
            writer.kill();
            writer.waitForFinished();
        });
        QVERIFY(writer.waitForReadyRead(20000));
        QTest::qWait(100);
        const int committed = lastReported(writer);
        const QString csv = dir_.filePath(QStringLiteral("all.csv"));
        QString report;
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            qunsetenv(name);
        for (const QStringList& arguments : {QStringList{"--stats"}, {"--export-csv", csv}}) {
            QProcess korvane;
            korvane.start(QStringLiteral(KORVANE_BINARY), arguments);
            QVERIFY(korvane.waitForFinished(30000));
            QCOMPARE(korvane.exitCode(), 0);
            report += QString::fromUtf8(korvane.readAllStandardOutput());
        }
        QVERIFY2(report.startsWith("Cube Level 3: ") && report.contains("time (s): best 100,"),
                 qPrintable(report));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QVERIFY(lines[1].startsWith("1,1,3,Cube Level 3,2027-01-15T08:00:00.100Z,60,100,0,0,A1"));
        // Every game committed before the export began is in it (and the empty last line).
        QVERIFY2(lines.size() - 2 >= committed - 99, qPrintable(QString::number(committed)));
    }

    void distanceTableFileReadOrRebuilt() {
        const std::vector<std::uint8_t> image = DistanceTable::build(TableKind::Cube2).serialize();
        const QByteArray good(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
        QByteArray damaged = good;
        damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 4);
        auto g = std::make_unique<Puzzle>();
        buildPuzzleState(*g, kCube, 1);
        applyMove(*g, Move::axisTurn(2, 1, -1));
        const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
        for (const auto& [state, bytes] : {std::pair{"missing", QByteArray()},
                                           {"damaged", damaged},
                                           {"truncated", good.chopped(1)},
                                           {"empty", QByteArray()},
                                           {"good", good}}) {
            const QString folder = dir_.filePath(QLatin1String(state));
            DistanceCache cache(folder);
            const QString name = cache.path(TableKind::Cube2);
            if (QLatin1String(state) != "missing") {
                QVERIFY(QDir().mkpath(folder));
                QFile file(name);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(bytes);
                QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
            }
            QVERIFY(cache.table(TableKind::Cube2) == nullptr); // never waits
            const std::shared_ptr<const DistanceTable> t = cache.wait(TableKind::Cube2);
            QVERIFY(t && cache.table(TableKind::Cube2) == t);
            QCOMPARE(t->distance(*g), 1);
            QFile file(name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), good);
            QCOMPARE(QFileInfo(name).lastModified().toUTC() > old.addSecs(60),
                     QLatin1String(state) != "good");
        }
    }

    // Closing while the largest table is being built calls the build off: the search looks at
    // a sliver more of it (a full build looks at every position once per distance), and no file
    // is left behind.
    void closingCallsOffADistanceTableBuild() {
        std::atomic<std::uint64_t> scanned{0};
        std::uint64_t atClose = 0;
        QString name;
        {
            DistanceCache cache(QFileInfo(file_).absolutePath(), &scanned);
            name = cache.path(TableKind::Tetrahedron3);
            QVERIFY(cache.table(TableKind::Tetrahedron3) == nullptr);
            for (long polls = 0; scanned == 0 && polls < 1'000'000'000; ++polls)
                std::this_thread::yield();
            atClose = scanned;
        }
        const std::uint64_t positions = 933'120ull * 81;
        QVERIFY(atClose > 0);
        QVERIFY2(scanned - atClose < positions / 8, qPrintable(QString::number(scanned - atClose)));
        QVERIFY(!QFileInfo::exists(name));
    }
};

QTEST_GUILESS_MAIN(SolveHistoryTest)
#include "tst_solve_history.moc"
