#pragma once

#include <QDialog>

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvane {
class Platform;
}

namespace korvane::qt {

// The highscores window: a drop-down list of the nine tables and a list of the ten places of
// the chosen table, moves and times side by side. It keeps nothing: every fill reads the
// stored texts anew, and the list always holds exactly ten rows.
class HighscoreDialog : public QDialog {
    Q_OBJECT
public:
    explicit HighscoreDialog(Platform& storage, QWidget* parent = nullptr);

    // The table shown when the dialog opens; set between construction and showing. A number
    // that names no table opens the first one.
    int selectedTable = 0;
    // A result just entered in the selected table: its places in the moves and the time list
    // (-1: not in that list), shown marked.
    int newMovesPlace = -1;
    int newTimePlace = -1;

    // Runs once, as the dialog is first shown: columns, the selected table, the list.
    void OnInitDialog();
    // Refills the list from the stored texts of the table chosen in the drop-down list.
    void fillList();

    QComboBox* tableBox() const { return tableBox_; }
    QTreeWidget* placeList() const { return placeList_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void insertColumns();
    void fitListToTenRows();
    void markNewResult(QTreeWidgetItem* row, int place);

    Platform& storage_;
    QComboBox* tableBox_;
    QTreeWidget* placeList_;
    bool initialised_ = false;
};

} // namespace korvane::qt
