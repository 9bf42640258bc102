// The secondary windows, offscreen: the highscores dialog over stored texts; the statistics over
// a solve history in memory (the figures, chart and list of the chosen puzzle, sorting, deleting
// and resetting only after the player agrees, opened from the menu on the puzzle being played,
// asking for a replay from the list).
#include <QAction>
#include <QComboBox>
#include <QLineSeries>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

#include "app/commands.h"
#include "app/highscores.h"
#include "fakes/fake_platform.h"
#include "fakes/memory_solve_history.h"
#include "platform/qt/highscore_dialog.h"
#include "platform/qt/main_window.h"
#include "platform/qt/solve_list_model.h"
#include "platform/qt/statistics_dialog.h"

using namespace korvane;
using namespace korvane::qt;
using korvane::testing::FakePlatform;
using korvane::testing::MemorySolveHistory;

namespace {

QStringList column(const QTreeWidget* list, int col) {
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(col);
    return texts;
}

// Ten places: the given texts first, "NA" for the rest.
QStringList places(QStringList first) {
    while (first.size() < 10)
        first << QStringLiteral("NA");
    return first;
}

constexpr PuzzleId kCube3{1, 3};

// Cube level 3 (table 2): 40 30 [1, abandoned] 50 20 60 seconds, moves 100 + i, the first
// three with a par of 50 + i; one tetrahedron game of level 1 (table 4).
std::unique_ptr<MemorySolveHistory> storedGames() {
    auto history = std::make_unique<MemorySolveHistory>();
    const int seconds[] = {40, 30, 1, 50, 20, 60};
    for (int i = 0; i < 6; ++i) {
        SolveRecord s{.puzzle = kCube3,
                      .endedUtcMs = 1800000000000 + i * 60000,
                      .moves = 100 + i,
                      .seconds = seconds[i],
                      .abandoned = i == 2,
                      .par = i < 3 ? 50 + i : -1};
        history->record(s);
    }
    history->record(SolveRecord{.puzzle = {2, 1}, .seconds = 9});
    return history;
}

QList<int> column(const StatisticsDialog& dialog, int col) {
    QList<int> values;
    for (int row = 0; row < dialog.model()->rowCount(); ++row)
        values << dialog.model()->index(row, col).data().toInt();
    return values;
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    // The chosen table (none outside the range: the first) fills the list; another table
    // refills it, also with what was stored since; nothing is written.
    void highscoreDialogShowsTheChosenTable() {
        for (const auto& [selected, shown] : {std::pair{3, 3}, {8, 8}, {-1, 0}, {9, 0}}) {
            FakePlatform storage; // every table holds its own number (1..9) as its best moves
            for (int table = 0; table < kHighscoreTables; ++table)
                storage.strings[{"HighScores", movesValueName(table)}] = std::to_string(table + 1);
            HighscoreDialog dialog(storage);
            dialog.selectedTable = selected;
            dialog.show();
            QCOMPARE(dialog.tableBox()->currentIndex(), shown);
            QCOMPARE(column(dialog.placeList(), 0), QString("1 2 3 4 5 6 7 8 9 10").split(' '));
            QCOMPARE(column(dialog.placeList(), 1), places({QString::number(shown + 1)}));
            QCOMPARE(column(dialog.placeList(), 2), places({}));
            storage.strings[{"HighScores", "Tetra1M"}] = "3,4,";
            dialog.tableBox()->setCurrentIndex(4);
            QCOMPARE(column(dialog.placeList(), 1), places({"3", "4"}));
            QCOMPARE(storage.strings.size(), size_t(kHighscoreTables));
        }
    }

    // Times read as minutes and seconds; a result just entered is marked at its places (here
    // second in moves, third in time) and its first row selected.
    void highscoreDialogMarksTheNewResult() {
        FakePlatform storage;
        storage.strings[{"HighScores", "Cube2M"}] = "12,19,40,";
        storage.strings[{"HighScores", "Cube2T"}] = "61,65,95,600,";
        HighscoreDialog dialog(storage);
        dialog.selectedTable = 1;
        dialog.newMovesPlace = 1;
        dialog.newTimePlace = 2;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(column(dialog.placeList(), 0), QString("1,2 new,3 new,4,5,6,7,8,9,10").split(','));
        QCOMPARE(column(dialog.placeList(), 2), places({"1:01", "1:05", "1:35", "10:00"}));
        QCOMPARE(dialog.placeList()->currentItem(), dialog.placeList()->topLevelItem(1));
    }

    // The figures, list and chart of the chosen puzzle; another puzzle, or none, refills them.
    void statisticsShowTheChosenPuzzleAndSort() {
        const auto history = storedGames();
        StatisticsDialog dialog(*history, 2);
        dialog.show();
        QCOMPARE(dialog.countText(), QStringLiteral("5 solves, 1 abandoned"));
        QStringList figures;
        for (int row = 0; row < StatisticsDialog::kFigureRows; ++row)
            figures << dialog.figureText(row, 0) << dialog.figureText(row, 1);
        QCOMPARE(figures.join(' '), "20 100 40.0 102.6 40.0 102.7 40.0 102.7 - - - -");
        // The list shows every game, newest first; the chart only the finished ones, in play
        // order, and the running average once there are five.
        QCOMPARE(column(dialog, SolveListModel::Time), (QList<int>{60, 20, 50, 1, 30, 40}));
        QCOMPARE(dialog.model()->index(3, SolveListModel::Note).data().toString(), "abandoned");
        // Par where known; the mean efficiency over the finished games that have one.
        QCOMPARE(column(dialog, SolveListModel::Par), (QList<int>{0, 0, 0, 52, 51, 50}));
        QCOMPARE(dialog.model()->index(0, SolveListModel::Par).data().toString(), QString());
        QCOMPARE(dialog.efficiencyText(), QStringLiteral("50.2 %"));
        QCOMPARE(dialog.timeSeries()->points(),
                 (QList<QPointF>{{1, 40}, {2, 30}, {3, 50}, {4, 20}, {5, 60}}));
        QCOMPARE(dialog.averageSeries()->points(), (QList<QPointF>{{5, 40}}));

        dialog.tableBox()->setCurrentIndex(4);
        QCOMPARE(dialog.countText(), QStringLiteral("1 solves, 0 abandoned"));
        QCOMPARE(column(dialog, SolveListModel::Time), QList<int>{9});
        QCOMPARE(dialog.efficiencyText(), QStringLiteral("-"));
        dialog.tableBox()->setCurrentIndex(0);
        QCOMPARE(dialog.model()->rowCount(), 0);
        QCOMPARE(dialog.timeSeries()->count(), 0);
        QCOMPARE(StatisticsDialog(*history, 9).tableBox()->currentIndex(), 0);

        // Sorting by a column keeps the selected game selected and the chart in play order.
        dialog.tableBox()->setCurrentIndex(2);
        dialog.list()->selectRow(1); // the 20 s game
        const qint64 selected = dialog.model()->gameAt(1).id;
        dialog.list()->sortByColumn(SolveListModel::Time, Qt::AscendingOrder);
        QCOMPARE(column(dialog, SolveListModel::Time), (QList<int>{1, 20, 30, 40, 50, 60}));
        dialog.list()->sortByColumn(SolveListModel::Moves, Qt::DescendingOrder);
        QCOMPARE(column(dialog, SolveListModel::Moves), (QList<int>{105, 104, 103, 102, 101, 100}));
        const QModelIndexList rows = dialog.list()->selectionModel()->selectedRows();
        QVERIFY(rows.size() == 1 && dialog.model()->gameAt(rows[0].row()).id == selected);
        QCOMPARE(dialog.timeSeries()->at(0), QPointF(1, 40));
    }

    void statisticsDeleteAndResetOnlyAfterAsking() {
        const auto history = storedGames();
        StatisticsDialog dialog(*history, 2);
        QStringList questions;
        bool agree = false;
        dialog.confirm = [&](const QString& q) {
            questions << q;
            return agree;
        };
        dialog.list()->selectRow(0);
        dialog.deleteSelected();
        dialog.resetPuzzle();
        QCOMPARE(history->solves.size(), size_t(7));
        QVERIFY(questions[0].endsWith("(105 moves, 60 s)?"));
        QCOMPARE(questions[1], QStringLiteral("Forget all 6 games of Cube Level 3?"));

        agree = true;
        dialog.list()->selectRow(0);
        dialog.deleteSelected();
        QCOMPARE(column(dialog, SolveListModel::Time), (QList<int>{20, 50, 1, 30, 40}));
        dialog.resetPuzzle();
        QCOMPARE(dialog.model()->rowCount(), 0);
        QCOMPARE(history->solves.size(), size_t(1));
    }

    // The menu opens the statistics on the puzzle being played; a double click on a game asks
    // the window to replay it once the dialog has closed.
    void statisticsOpenOnThePlayedPuzzleAndAskForAReplay() {
        MainWindow window(QImageCanvas::Mode::ExactPixels);
        window.start();
        window.setHistory(storedGames());
        window.dialog().OnCommand(kCmdCubeLevel1 + 2);
        qint64 replayed = 0;
        window.replaySolve = [&](qint64 id) { replayed = id; };
        int shownTable = -1;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<StatisticsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            shownTable = dialog->tableBox()->currentIndex();
            emit dialog->list()->doubleClicked(dialog->model()->index(1, 0));
        });
        window.commandAction(kCmdStatistics)->trigger();
        QCOMPARE(shownTable, 2);
        QCOMPARE(replayed, qint64(5));
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
