#pragma once

#include <QSqlError>
#include <QString>
#include <QVariant>
#include <optional>

#include "app/solve_history.h"

class QSqlDatabase;
class QSqlError;

namespace korvane::qt {

// The solve history in one SQLite file through Qt SQL, shared by every running copy of the
// game: write-ahead logging, a busy timeout, one transaction per change, so two copies never
// block or lose each other's games and a killed game loses nothing it committed. The schema
// is versioned by PRAGMA user_version (docs/history.md). A file that is damaged (found at
// opening or by any later read or write) or cannot be opened is set aside under a new name,
// never deleted, and a fresh one is started; the player is told through takeNotice (and on
// stderr). The file opens at the first use, and a use that
// finds it closed (another copy held it too long) tries again.
class SqlSolveHistory : public SolveHistory {
public:
    // <data folder>/Helmfirth/Korvane/history.sqlite; on Linux $XDG_DATA_HOME (or
    // ~/.local/share)/Helmfirth/Korvane/history.sqlite.
    static QString defaultFileName();

    explicit SqlSolveHistory(QString fileName = defaultFileName());
    ~SqlSolveHistory() override;
    SqlSolveHistory(const SqlSolveHistory&) = delete;
    SqlSolveHistory& operator=(const SqlSolveHistory&) = delete;

    QString fileName() const { return fileName_; }
    // Where the last damaged file was set aside, or empty.
    QString setAsideName() const { return setAsideName_; }
    // Open now (normally the first use does it); false when the history cannot be kept.
    bool open();

    // Many games in one transaction, for imports and the benchmark's filling.
    bool recordAll(const std::vector<SolveRecord>& solves);

    // A game that cannot be written now (a full disk) waits in memory and is written with the
    // next one, or when the history closes.
    bool record(const SolveRecord& solve) override;
    std::vector<SolveSummary> summaries(PuzzleId puzzle) override;
    std::optional<SolveRecord> find(std::int64_t id) override;
    bool forEach(const std::function<void(const SolveRecord&)>& visit) override;
    std::vector<PuzzleId> puzzles() override;
    bool remove(std::int64_t id) override;
    bool clear(PuzzleId puzzle) override;
    std::string takeNotice() override;

    static constexpr int kSchemaVersion = 2;

private:
    enum class OpenResult { Ready, Damaged, Unusable };
    OpenResult tryOpen();
    std::optional<QSqlError> openConnection();
    bool createSchema();
    bool setAside();
    void closeConnection();
    void tell(const QString& message);
    bool fail(const QString& what, const QSqlError& error);
    bool change(const QString& sql, const QVariantList& values);
    // Runs work on a query of the open store; work answers the error that stopped it.
    template <typename Work> bool withQuery(const QString& what, Work work);
    QSqlDatabase database() const;

    QString fileName_;
    QString connection_;
    QString setAsideName_;
    bool open_ = false;
    bool writeFailureTold_ = false;
    std::vector<SolveRecord> unkept_; // games whose write failed, oldest first
    std::string notice_;
};

} // namespace korvane::qt
