#include "platform/qt/sql_solve_history.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <span>
#include <utility>

namespace korvane::qt {

namespace {

// Version 2. Times in milliseconds, moves as their stored texts (docs/history.md).
const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS solve ("
    " id INTEGER PRIMARY KEY,"
    " kind INTEGER NOT NULL,"
    " level INTEGER NOT NULL,"
    " ended_ms INTEGER NOT NULL,"
    " moves INTEGER NOT NULL,"
    " seconds INTEGER NOT NULL,"
    " undo_used INTEGER NOT NULL,"
    " abandoned INTEGER NOT NULL,"
    " scramble TEXT NOT NULL,"
    " move_log TEXT NOT NULL,"
    " par INTEGER)",
    // Holds everything the statistics read, so a puzzle's list never touches the table.
    "CREATE INDEX IF NOT EXISTS solve_by_puzzle ON solve"
    " (kind, level, ended_ms, id, moves, seconds, undo_used, abandoned, par)",
    "PRAGMA user_version = 2",
};

// From version 1: the par of each game, unknown (NULL) for the games already kept, and the
// index that covers it.
const char* const kFromVersion1[] = {
    "ALTER TABLE solve ADD COLUMN par INTEGER",
    "DROP INDEX IF EXISTS solve_by_puzzle",
    "CREATE INDEX solve_by_puzzle ON solve"
    " (kind, level, ended_ms, id, moves, seconds, undo_used, abandoned, par)",
    "PRAGMA user_version = 2",
};

const char kInsert[] = "INSERT INTO solve (kind, level, ended_ms, moves, seconds, undo_used,"
                       " abandoned, scramble, move_log, par) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
const char kSelectRecord[] = "SELECT id, kind, level, ended_ms, moves, seconds, undo_used,"
                             " abandoned, scramble, move_log, par FROM solve";

// A waiting copy gives up on the other's write only after this long.
constexpr int kBusyTimeoutMs = 10000;
constexpr int kBusyRetryMs = 5;

// SQLite's result codes that mean the file itself is bad rather than busy: CORRUPT and NOTADB,
// and at opening CANTOPEN (a file that is there but cannot be opened as a database). An
// extended code carries the primary one in its low byte.
// SQLITE_BUSY or SQLITE_LOCKED: another connection holds the lock for now.
bool isBusy(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 5 || code == 6;
}

bool isDamage(const QSqlError& error, bool opening = false) {
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 11 || code == 26 || (opening && code == 14);
}

SolveRecord readRecord(const QSqlQuery& q) {
    SolveRecord s;
    s.id = q.value(0).toLongLong();
    s.puzzle = {q.value(1).toInt(), q.value(2).toInt()};
    s.endedUtcMs = q.value(3).toLongLong();
    s.moves = q.value(4).toInt();
    s.seconds = q.value(5).toInt();
    s.undoUsed = q.value(6).toInt() != 0;
    s.abandoned = q.value(7).toInt() != 0;
    s.par = q.value(10).isNull() ? -1 : std::max(q.value(10).toInt(), -1);
    // Texts edited into something else by hand read as no moves rather than half of them.
    s.scramble = parseScramble(q.value(8).toString().toStdString()).value_or(std::vector<Move>{});
    s.moveLog =
        parseMoveLog(q.value(9).toString().toStdString()).value_or(std::vector<TimedMove>{});
    return s;
}

bool insert(QSqlQuery& q, const SolveRecord& s) {
    const QVariantList values = {s.puzzle.kind,
                                 s.puzzle.level,
                                 QVariant::fromValue<qlonglong>(s.endedUtcMs),
                                 s.moves,
                                 s.seconds,
                                 int(s.undoUsed),
                                 int(s.abandoned),
                                 QString::fromStdString(scrambleText(s.scramble)),
                                 QString::fromStdString(moveLogText(s.moveLog)),
                                 s.par >= 0 ? QVariant(s.par) : QVariant()};
    for (int i = 0; i < values.size(); ++i) {
        q.bindValue(i, values[i]);
    }
    return q.exec();
}

} // namespace

QString SqlSolveHistory::defaultFileName() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Helmfirth/Korvane/history.sqlite");
}

SqlSolveHistory::SqlSolveHistory(QString fileName)
    : fileName_(std::move(fileName)),
      connection_(QStringLiteral("korvane-history-%1").arg(reinterpret_cast<quintptr>(this))) {}

SqlSolveHistory::~SqlSolveHistory() {
    if (!unkept_.empty()) {
        recordAll(unkept_);
    }
    closeConnection();
}

QSqlDatabase SqlSolveHistory::database() const {
    return QSqlDatabase::database(connection_, false);
}

void SqlSolveHistory::closeConnection() {
    if (QSqlDatabase::contains(connection_)) {
        database().close();
        QSqlDatabase::removeDatabase(connection_);
    }
    open_ = false;
}

void SqlSolveHistory::tell(const QString& message) {
    std::fprintf(stderr, "korvane: %s\n", qPrintable(message));
    notice_ = message.toStdString();
}

// Damage found in use is handled as at opening: the file is set aside and a fresh one started.
// Callers let their query go first, so nothing uses the connection that closes here.
bool SqlSolveHistory::fail(const QString& what, const QSqlError& error) {
    if (isDamage(error)) {
        open_ = setAside() && tryOpen() == OpenResult::Ready;
        return false;
    }
    tell(QStringLiteral("The solve history could not %1 (%2).").arg(what, error.text()));
    return false;
}

template <typename Work> bool SqlSolveHistory::withQuery(const QString& what, Work work) {
    if (!open()) {
        return false;
    }
    std::optional<QSqlError> error;
    {
        QSqlQuery q(database());
        q.setForwardOnly(true);
        error = work(q);
    }
    return !error || fail(what, *error);
}

std::string SqlSolveHistory::takeNotice() {
    return std::exchange(notice_, {});
}

bool SqlSolveHistory::open() {
    if (open_) {
        return true;
    }
    if (!QDir().mkpath(QFileInfo(fileName_).absolutePath())) {
        tell(QStringLiteral("The solve history cannot be kept: the folder %1 cannot be made.")
                 .arg(QFileInfo(fileName_).absolutePath()));
        return false;
    }
    OpenResult result = tryOpen();
    if (result == OpenResult::Damaged && setAside()) {
        result = tryOpen();
    }
    open_ = result == OpenResult::Ready;
    if (!open_) {
        closeConnection();
    }
    return open_;
}

// Opens the connection and reads the schema: the error, or nothing when the file is usable.
std::optional<QSqlError> SqlSolveHistory::openConnection() {
    closeConnection();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(fileName_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    QSqlQuery q(db);
    // A kill loses nothing committed: the log is synced at every commit. Reading the schema
    // finds a file that is no database at all; damage deeper in is found when it is read.
    const bool ready = db.open() && q.exec(QStringLiteral("PRAGMA journal_mode = WAL")) &&
                       q.exec(QStringLiteral("PRAGMA synchronous = FULL")) &&
                       q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (!ready) {
        return db.isOpen() ? q.lastError() : db.lastError();
    }
    // A statement left open keeps its read snapshot, and a write from that snapshot would
    // fail at once instead of waiting for the other copy.
    q.finish();
    return std::nullopt;
}

SqlSolveHistory::OpenResult SqlSolveHistory::tryOpen() {
    QElapsedTimer waited;
    waited.start();
    std::optional<QSqlError> error = openConnection();
    // Another copy making the file or switching it to its log holds a lock that SQLite's own
    // wait does not cover (it never waits where waiting could deadlock): try again shortly,
    // as long as the busy timeout allows.
    while (error && isBusy(*error) && waited.elapsed() < kBusyTimeoutMs) {
        QThread::msleep(kBusyRetryMs);
        error = openConnection();
    }
    if (error) {
        if (isDamage(*error, true) && QFileInfo::exists(fileName_)) {
            return OpenResult::Damaged;
        }
        tell(QStringLiteral("The solve history %1 cannot be opened (%2).")
                 .arg(fileName_, error->text()));
        return OpenResult::Unusable;
    }
    return createSchema() ? OpenResult::Ready : OpenResult::Unusable;
}

// Two copies starting at once both get here: the schema is made, or a version-1 file upgraded
// in place, under the write lock and in one transaction, so a file is either as it was or
// wholly of this version. A file from a newer game is left as it is.
bool SqlSolveHistory::createSchema() {
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return fail(QStringLiteral("be opened"), q.lastError());
    }
    const bool read = q.exec(QStringLiteral("PRAGMA user_version")) && q.next();
    const int version = read ? q.value(0).toInt() : -1;
    bool ok = version == kSchemaVersion;
    if (version == 0 || version == 1) {
        ok = true;
        for (const char* statement : version == 0 ? std::span<const char* const>(kSchema)
                                                  : std::span<const char* const>(kFromVersion1)) {
            ok = ok && q.exec(QString::fromLatin1(statement));
        }
    }
    if (ok && q.exec(QStringLiteral("COMMIT"))) {
        return true;
    }
    const QSqlError error = q.lastError();
    q.exec(QStringLiteral("ROLLBACK"));
    if (version > kSchemaVersion) {
        tell(QStringLiteral("The solve history %1 was written by a newer Korvane; it is left as "
                            "it is and no games are kept.")
                 .arg(fileName_));
        return false;
    }
    return fail(QStringLiteral("be opened"), error);
}

// The file and its log go under one new name beside it, stamped with the time; nothing is
// deleted.
bool SqlSolveHistory::setAside() {
    closeConnection();
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString aside = fileName_ + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n) {
        aside = fileName_ + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    }
    if (!QFile::rename(fileName_, aside)) {
        tell(QStringLiteral("The solve history %1 is damaged and cannot be set aside.")
                 .arg(fileName_));
        return false;
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        QFile::rename(fileName_ + QLatin1String(suffix), aside + QLatin1String(suffix));
    }
    setAsideName_ = aside;
    tell(QStringLiteral("The solve history was damaged. It was set aside as %1 and a new one "
                        "was started.")
             .arg(aside));
    return true;
}

bool SqlSolveHistory::record(const SolveRecord& solve) {
    unkept_.push_back(solve);
    if (!recordAll(unkept_)) {
        return false;
    }
    unkept_.clear();
    return true;
}

// A store found damaged while writing is set aside, and the games go to the fresh one.
bool SqlSolveHistory::recordAll(const std::vector<SolveRecord>& solves) {
    const QString asideBefore = setAsideName_;
    const auto insertAll = [&](QSqlQuery& q) -> std::optional<QSqlError> {
        bool ok =
            q.exec(QStringLiteral("BEGIN IMMEDIATE")) && q.prepare(QString::fromLatin1(kInsert));
        for (const SolveRecord& solve : solves) {
            ok = ok && insert(q, solve);
        }
        if (ok && q.exec(QStringLiteral("COMMIT"))) {
            return std::nullopt;
        }
        const QSqlError error = q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        return error;
    };
    const bool kept =
        withQuery(QStringLiteral("keep the game"), insertAll) ||
        (setAsideName_ != asideBefore && withQuery(QStringLiteral("keep the game"), insertAll));
    // A failing write is told once; the next game tries again.
    if (!kept && writeFailureTold_) {
        notice_.clear();
    }
    writeFailureTold_ = !kept;
    return kept;
}

std::vector<SolveSummary> SqlSolveHistory::summaries(PuzzleId puzzle) {
    std::vector<SolveSummary> out;
    withQuery(QStringLiteral("be read"), [&](QSqlQuery& q) -> std::optional<QSqlError> {
        // Three columns instead of seven: Qt's driver spends most of a large read making a
        // value of each column of each row. The par is kept plus one (0: unknown) in 8 bits.
        // SQLite gives << and | the same precedence: every term is bracketed.
        q.prepare(QStringLiteral("SELECT id, ended_ms, (max(seconds, 0) << 32)"
                                 " | (min(max(ifnull(par, -1) + 1, 0), 255) << 24)"
                                 " | (min(max(moves, 0), 4194303) << 2)"
                                 " | ((abandoned != 0) << 1) | (undo_used != 0) FROM solve"
                                 " WHERE kind = ? AND level = ? ORDER BY ended_ms, id"));
        q.addBindValue(puzzle.kind);
        q.addBindValue(puzzle.level);
        if (!q.exec()) {
            return q.lastError();
        }
        while (q.next()) {
            const qlonglong packed = q.value(2).toLongLong();
            out.push_back({q.value(0).toLongLong(), q.value(1).toLongLong(),
                           int((packed >> 2) & 0x3fffff), int(packed >> 32), (packed & 1) != 0,
                           (packed & 2) != 0, int((packed >> 24) & 0xff) - 1});
        }
        return q.lastError().isValid() ? std::optional(q.lastError()) : std::nullopt;
    });
    return out;
}

std::optional<SolveRecord> SqlSolveHistory::find(std::int64_t id) {
    std::optional<SolveRecord> found;
    withQuery(QStringLiteral("be read"), [&](QSqlQuery& q) -> std::optional<QSqlError> {
        q.prepare(QString::fromLatin1(kSelectRecord) + QStringLiteral(" WHERE id = ?"));
        q.addBindValue(QVariant::fromValue<qlonglong>(id));
        if (!q.exec()) {
            return q.lastError();
        }
        if (q.next()) {
            found = readRecord(q);
        }
        return std::nullopt;
    });
    return found;
}

bool SqlSolveHistory::forEach(const std::function<void(const SolveRecord&)>& visit) {
    return withQuery(QStringLiteral("be read"), [&](QSqlQuery& q) -> std::optional<QSqlError> {
        if (!q.exec(QString::fromLatin1(kSelectRecord) +
                    QStringLiteral(" ORDER BY ended_ms, id"))) {
            return q.lastError();
        }
        while (q.next()) {
            visit(readRecord(q));
        }
        return q.lastError().isValid() ? std::optional(q.lastError()) : std::nullopt;
    });
}

std::vector<PuzzleId> SqlSolveHistory::puzzles() {
    std::vector<PuzzleId> out;
    withQuery(QStringLiteral("be read"), [&](QSqlQuery& q) -> std::optional<QSqlError> {
        if (!q.exec(QStringLiteral("SELECT DISTINCT kind, level FROM solve ORDER BY 1, 2"))) {
            return q.lastError();
        }
        while (q.next()) {
            out.push_back({q.value(0).toInt(), q.value(1).toInt()});
        }
        return std::nullopt;
    });
    return out;
}

bool SqlSolveHistory::change(const QString& sql, const QVariantList& values) {
    return withQuery(QStringLiteral("be changed"), [&](QSqlQuery& q) -> std::optional<QSqlError> {
        q.prepare(sql);
        for (const QVariant& value : values) {
            q.addBindValue(value);
        }
        return q.exec() ? std::nullopt : std::optional(q.lastError());
    });
}

bool SqlSolveHistory::remove(std::int64_t id) {
    return change(QStringLiteral("DELETE FROM solve WHERE id = ?"),
                  {QVariant::fromValue<qlonglong>(id)});
}

bool SqlSolveHistory::clear(PuzzleId puzzle) {
    return change(QStringLiteral("DELETE FROM solve WHERE kind = ? AND level = ?"),
                  {puzzle.kind, puzzle.level});
}

} // namespace korvane::qt
