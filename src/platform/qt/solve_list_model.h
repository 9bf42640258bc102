#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "app/solve_history.h"

namespace korvane::qt {

// The games of one puzzle as a list: date (local time), moves, time in seconds, and a note
// (undo used, abandoned). It sorts itself by any column, ties kept in the stored order, so a
// hundred thousand games sort without a proxy. Rows map to games through a permutation.
class SolveListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Date, Moves, Par, Time, Note, ColumnCount };

    explicit SolveListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // The games oldest first, as the history gives them; the current sort is kept.
    void setGames(std::vector<SolveSummary> games);
    const SolveSummary& gameAt(int row) const { return games_[order_[row]]; }
    // The games in the stored order, whatever the list's.
    const std::vector<SolveSummary>& games() const { return games_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void applySort();

    std::vector<SolveSummary> games_;
    std::vector<int> order_;
    int sortColumn_ = Date;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

} // namespace korvane::qt
