#include "platform/qt/statistics_dialog.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "app/highscores.h"
#include "app/solve_stats.h"
#include "platform/qt/solve_list_model.h"

namespace korvane::qt {

namespace {

// The rows of the figures and where each series keeps its figure.
struct FigureRow {
    const char* name;
    std::optional<double> SeriesFigures::*average; // nullptr: the best single result
};
constexpr FigureRow kFigures[StatisticsDialog::kFigureRows] = {
    {"Best", nullptr},
    {"Mean", &SeriesFigures::mean},
    {"Average of 5", &SeriesFigures::ao5},
    {"Best average of 5", &SeriesFigures::bestAo5},
    {"Average of 12", &SeriesFigures::ao12},
    {"Best average of 12", &SeriesFigures::bestAo12},
};

QString figure(const SeriesFigures& series, const FigureRow& row) {
    return QString::fromStdString(row.average ? korvane::figureText(series.*row.average)
                                              : korvane::figureText(series.best));
}

std::vector<std::optional<double>> asValues(const std::vector<int>& values) {
    return {values.begin(), values.end()};
}

QList<QPointF> asPoints(const std::vector<ChartPoint>& points) {
    QList<QPointF> out;
    out.reserve(static_cast<qsizetype>(points.size()));
    for (const ChartPoint& p : points) {
        out.append(QPointF(p.x, p.y));
    }
    return out;
}

// The highest value of a series, so its axis starts at 0 and leaves a little room above.
double axisTop(const std::vector<int>& values) {
    const int top = values.empty() ? 0 : *std::max_element(values.begin(), values.end());
    return std::max(10.0, top * 1.05);
}

bool askWithMessageBox(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, QStringLiteral("Korvane"), question) == QMessageBox::Yes;
}

} // namespace

StatisticsDialog::StatisticsDialog(SolveHistory& history, int table, QWidget* parent)
    : QDialog(parent), history_(history), tableBox_(new QComboBox(this)), count_(new QLabel(this)),
      chart_(new QChart), chartView_(new QChartView(chart_, this)), times_(new QLineSeries),
      moves_(new QLineSeries), average_(new QLineSeries), solveAxis_(new QValueAxis),
      timeAxis_(new QValueAxis), movesAxis_(new QValueAxis), model_(new SolveListModel(this)),
      list_(new QTableView(this)),
      deleteButton_(new QPushButton(QStringLiteral("Delete ..."), this)),
      resetButton_(new QPushButton(QStringLiteral("Reset ..."), this)) {
    setWindowTitle(QStringLiteral("Korvane Statistics"));
    confirm = [this](const QString& question) { return askWithMessageBox(this, question); };
    for (int t = 0; t < kHighscoreTables; ++t) {
        tableBox_->addItem(QString::fromUtf8(tableTitle(t)));
    }
    tableBox_->setMaxVisibleItems(kHighscoreTables);
    tableBox_->setCurrentIndex(table >= 0 && table < kHighscoreTables ? table : 0);
    connect(tableBox_, &QComboBox::currentIndexChanged, this, &StatisticsDialog::reload);

    buildList();
    buildChart();

    connect(deleteButton_, &QPushButton::clicked, this, &StatisticsDialog::deleteSelected);
    connect(resetButton_, &QPushButton::clicked, this, &StatisticsDialog::resetPuzzle);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(deleteButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(resetButton_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* typeRow = new QHBoxLayout;
    auto* typeLabel = new QLabel(QStringLiteral("Type:"), this);
    typeLabel->setBuddy(tableBox_);
    typeRow->addWidget(typeLabel);
    typeRow->addWidget(tableBox_, 1);
    typeRow->addWidget(count_, 1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(buildFigures());
    middle->addWidget(list_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(typeRow);
    layout->addWidget(chartView_, 3);
    layout->addLayout(middle, 2);
    layout->addWidget(buttons);
    resize(760, 620);
    reload();
}

// Newest first until the player sorts otherwise; a double click asks for a replay.
void StatisticsDialog::buildList() {
    list_->setModel(model_);
    list_->setSortingEnabled(true);
    list_->sortByColumn(SolveListModel::Date, Qt::DescendingOrder);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setColumnWidth(SolveListModel::Date, 150);
    connect(list_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        emit replayRequested(model_->gameAt(index.row()).id);
    });
}

QLayout* StatisticsDialog::buildFigures() {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Time (s)"), this), 0, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(QStringLiteral("Moves"), this), 0, 2, Qt::AlignRight);
    for (int row = 0; row < kFigureRows; ++row) {
        grid->addWidget(new QLabel(QString::fromLatin1(kFigures[row].name), this), row + 1, 0);
        for (int column = 0; column < 2; ++column) {
            figures_[row][column] = new QLabel(this);
            figures_[row][column]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(figures_[row][column], row + 1, column + 1);
        }
    }
    // The games with a par: how near their move counts came to it, on average.
    grid->addWidget(new QLabel(QStringLiteral("Mean efficiency"), this), kFigureRows + 1, 0);
    efficiency_ = new QLabel(this);
    efficiency_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(efficiency_, kFigureRows + 1, 2);
    grid->setRowStretch(kFigureRows + 2, 1);
    return grid;
}

void StatisticsDialog::buildChart() {
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    times_->setName(QStringLiteral("Time (s)"));
    average_->setName(QStringLiteral("Average of 5 (s)"));
    moves_->setName(QStringLiteral("Moves"));
    solveAxis_->setTitleText(QStringLiteral("Solve"));
    solveAxis_->setLabelFormat(QStringLiteral("%d"));
    timeAxis_->setLabelFormat(QStringLiteral("%d"));
    movesAxis_->setLabelFormat(QStringLiteral("%d"));
    chart_->addAxis(solveAxis_, Qt::AlignBottom);
    chart_->addAxis(timeAxis_, Qt::AlignLeft);
    chart_->addAxis(movesAxis_, Qt::AlignRight);
    for (QLineSeries* series : {times_, average_, moves_}) {
        chart_->addSeries(series);
        series->attachAxis(solveAxis_);
        series->attachAxis(series == moves_ ? movesAxis_ : timeAxis_);
    }
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumHeight(240);
}

PuzzleId StatisticsDialog::chosenPuzzle() const {
    return tablePuzzle(tableBox_->currentIndex()).value_or(*tablePuzzle(0));
}

void StatisticsDialog::reload() {
    std::vector<SolveSummary> games = history_.summaries(chosenPuzzle());
    showFigures(solveStats(games));
    model_->setGames(std::move(games));
    redrawChart();
    deleteButton_->setEnabled(model_->rowCount() > 0);
    resetButton_->setEnabled(model_->rowCount() > 0);
    reportTrouble();
}

void StatisticsDialog::showFigures(const SolveStats& stats) {
    count_->setText(
        QStringLiteral("%1 solves, %2 abandoned").arg(stats.solves).arg(stats.abandoned));
    for (int row = 0; row < kFigureRows; ++row) {
        figures_[row][0]->setText(figure(stats.time, kFigures[row]));
        figures_[row][1]->setText(figure(stats.moves, kFigures[row]));
    }
    const QString efficiency = QString::fromStdString(korvane::figureText(stats.meanEfficiency));
    efficiency_->setText(stats.meanEfficiency ? efficiency + QStringLiteral(" %") : efficiency);
}

// The chart reads the games in the order they were played, whatever the list's order.
void StatisticsDialog::redrawChart() {
    const std::vector<SolveSummary>& games = model_->games();
    const std::vector<int> seconds = finishedSeconds(games);
    const std::vector<int> moves = finishedMoves(games);
    times_->replace(asPoints(chartSeries(asValues(seconds), kChartPoints)));
    average_->replace(asPoints(chartSeries(runningAverage(seconds, 5), kChartPoints)));
    moves_->replace(asPoints(chartSeries(asValues(moves), kChartPoints)));
    solveAxis_->setRange(1, std::max<double>(2, static_cast<double>(seconds.size())));
    for (auto [axis, values] : {std::pair(timeAxis_, &seconds), std::pair(movesAxis_, &moves)}) {
        axis->setRange(0, axisTop(*values));
        axis->applyNiceNumbers();
    }
}

void StatisticsDialog::deleteSelected() {
    const QModelIndexList selected = list_->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        return;
    }
    const SolveSummary game = model_->gameAt(selected.front().row());
    const QString date =
        model_->data(model_->index(selected.front().row(), SolveListModel::Date)).toString();
    if (confirm(QStringLiteral("Delete the solve of %1 (%2 moves, %3 s)?")
                    .arg(date)
                    .arg(game.moves)
                    .arg(game.seconds))) {
        history_.remove(game.id);
        reload();
    }
}

void StatisticsDialog::resetPuzzle() {
    const PuzzleId puzzle = chosenPuzzle();
    if (confirm(QStringLiteral("Forget all %1 games of %2?")
                    .arg(model_->rowCount())
                    .arg(QString::fromStdString(puzzleTitle(puzzle))))) {
        history_.clear(puzzle);
        reload();
    }
}

void StatisticsDialog::reportTrouble() {
    const std::string notice = history_.takeNotice();
    if (!notice.empty()) {
        QMessageBox::warning(this, QStringLiteral("Korvane"), QString::fromStdString(notice));
    }
}

QString StatisticsDialog::countText() const {
    return count_->text();
}

QString StatisticsDialog::figureText(int row, int column) const {
    return figures_[row][column]->text();
}

QString StatisticsDialog::efficiencyText() const {
    return efficiency_->text();
}

void runStatisticsDialog(QWidget* parent, SolveHistory& history, int table,
                         const std::function<void(qint64 id)>& replay) {
    StatisticsDialog dialog(history, table, parent);
    std::optional<qint64> chosen;
    QObject::connect(&dialog, &StatisticsDialog::replayRequested, &dialog, [&](qint64 id) {
        chosen = id;
        dialog.accept();
    });
    dialog.exec();
    if (chosen && replay) {
        replay(*chosen);
    }
}

} // namespace korvane::qt
