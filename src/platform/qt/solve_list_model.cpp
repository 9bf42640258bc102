#include "platform/qt/solve_list_model.h"

#include <QDateTime>
#include <algorithm>
#include <numeric>

namespace korvane::qt {

namespace {

const char* const kHeadings[SolveListModel::ColumnCount] = {"Date", "Moves", "Par", "Time", "Note"};

QString noteText(const SolveSummary& game) {
    if (game.abandoned) {
        return QStringLiteral("abandoned");
    }
    return game.undoUsed ? QStringLiteral("undo used") : QString();
}

// The value a column sorts by; the note sorts finished games first.
std::int64_t sortKey(const SolveSummary& game, int column) {
    switch (column) {
    case SolveListModel::Moves:
        return game.moves;
    case SolveListModel::Par:
        return game.par;
    case SolveListModel::Time:
        return game.seconds;
    case SolveListModel::Note:
        return game.abandoned * 2 + game.undoUsed;
    default:
        return game.endedUtcMs;
    }
}

} // namespace

void SolveListModel::setGames(std::vector<SolveSummary> games) {
    beginResetModel();
    games_ = std::move(games);
    order_.resize(games_.size());
    std::iota(order_.begin(), order_.end(), 0);
    applySort();
    endResetModel();
}

int SolveListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(games_.size());
}

int SolveListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SolveListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const SolveSummary& game = gameAt(index.row());
    if (role == Qt::TextAlignmentRole) {
        return index.column() == Moves || index.column() == Par || index.column() == Time
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case Date:
        return QDateTime::fromMSecsSinceEpoch(game.endedUtcMs)
            .toLocalTime()
            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Moves:
        return game.moves;
    case Par: // blank where it is not known
        return game.par >= 0 ? QVariant(game.par) : QVariant(QString());
    case Time:
        return game.seconds;
    default:
        return noteText(game);
    }
}

QVariant SolveListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromLatin1(kHeadings[section]);
}

// The selection follows its games to their new rows.
void SolveListModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> held;
    for (const QModelIndex& index : before) {
        held.push_back(order_[index.row()]);
    }
    sortColumn_ = column;
    sortOrder_ = order;
    applySort();
    std::vector<int> rowOf(order_.size());
    for (std::size_t row = 0; row < order_.size(); ++row) {
        rowOf[order_[row]] = static_cast<int>(row);
    }
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        after << index(rowOf[held[i]], before[i].column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void SolveListModel::applySort() {
    std::iota(order_.begin(), order_.end(), 0);
    const int column = sortColumn_;
    const bool rising = sortOrder_ == Qt::AscendingOrder;
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        const std::int64_t ka = sortKey(games_[a], column);
        const std::int64_t kb = sortKey(games_[b], column);
        return rising ? ka < kb : kb < ka;
    });
}

} // namespace korvane::qt
