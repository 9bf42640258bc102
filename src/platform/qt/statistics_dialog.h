#pragma once

#include <QDialog>
#include <functional>

#include "app/solve_history.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QTableView;
class QValueAxis;

namespace korvane {
struct SolveStats;
}

namespace korvane::qt {

class SolveListModel;

// The statistics of one puzzle, chosen like the highscore tables from a drop-down list of the
// nine: the counts and figures, a chart of times and moves over the solves with the running
// average of 5, and the list of games, sortable by any column. A game can be deleted and a
// puzzle's history reset, each only after the player agrees. It keeps nothing of its own:
// every change reads the history anew.
class StatisticsDialog : public QDialog {
    Q_OBJECT
public:
    // Most points a chart series draws; more solves are drawn as means of runs of them.
    static constexpr int kChartPoints = 600;
    // The rows of the figures, top to bottom; the columns are time and moves.
    static constexpr int kFigureRows = 6;

    StatisticsDialog(SolveHistory& history, int table, QWidget* parent = nullptr);

    // Asks the player a yes-or-no question; a message box unless a test puts its own.
    std::function<bool(const QString& question)> confirm;

    // Reads the chosen puzzle's games again and shows them.
    void reload();
    // Draws the chart again from the games shown.
    void redrawChart();
    // Delete the selected game / every game of the puzzle, each after asking.
    void deleteSelected();
    void resetPuzzle();

    QComboBox* tableBox() const { return tableBox_; }
    QTableView* list() const { return list_; }
    SolveListModel* model() const { return model_; }
    QChartView* chartView() const { return chartView_; }
    QLineSeries* timeSeries() const { return times_; }
    QLineSeries* movesSeries() const { return moves_; }
    QLineSeries* averageSeries() const { return average_; }
    QString countText() const;
    // The figure in a row (0 best .. 5 best average of 12) and column (0 time, 1 moves).
    QString figureText(int row, int column) const;
    // The mean efficiency ("87.5 %"), "-" while no finished game has a par.
    QString efficiencyText() const;

signals:
    // The player asked to watch a game again (a double click on it in the list).
    void replayRequested(qint64 id);

private:
    void buildList();
    QLayout* buildFigures();
    void buildChart();
    void showFigures(const SolveStats& stats);
    void reportTrouble();
    PuzzleId chosenPuzzle() const;

    SolveHistory& history_;
    QComboBox* tableBox_;
    QLabel* count_;
    QLabel* figures_[kFigureRows][2] = {};
    QLabel* efficiency_ = nullptr;
    QChart* chart_;
    QChartView* chartView_;
    QLineSeries* times_;
    QLineSeries* moves_;
    QLineSeries* average_;
    QValueAxis* solveAxis_;
    QValueAxis* timeAxis_;
    QValueAxis* movesAxis_;
    SolveListModel* model_;
    QTableView* list_;
    QPushButton* deleteButton_;
    QPushButton* resetButton_;
};

// The statistics dialog on a table (0..8; another number opens the first); modal. A game the
// player asks to watch again closes the dialog and goes to replay.
void runStatisticsDialog(QWidget* parent, SolveHistory& history, int table,
                         const std::function<void(qint64 id)>& replay = {});

} // namespace korvane::qt
