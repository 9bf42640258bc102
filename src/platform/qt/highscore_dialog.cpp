#include "platform/qt/highscore_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <iterator>

#include "app/highscores.h"
#include "app/platform.h"
#include "platform/qt/dialogs.h"

namespace korvane::qt {

namespace {

constexpr const char* kHighscoreSection = "HighScores";

// The three columns of the list, left to right: heading, alignment and width in logical pixels.
struct ListColumn {
    const char* heading;
    Qt::Alignment alignment;
    int width;
};
constexpr ListColumn kColumns[] = {
    {"Position", Qt::AlignLeft | Qt::AlignVCenter, 70},
    {"Moves", Qt::AlignRight | Qt::AlignVCenter, 70},
    {"Time", Qt::AlignRight | Qt::AlignVCenter, 92},
};
constexpr int kColumnCount = int(std::size(kColumns));

HighscoreList readList(Platform& storage, const char* valueName) {
    return parseHighscoreText(
        storage.readString(kHighscoreSection, valueName, emptyHighscoreText()));
}

} // namespace

HighscoreDialog::HighscoreDialog(Platform& storage, QWidget* parent)
    : QDialog(parent), storage_(storage), tableBox_(new QComboBox(this)),
      placeList_(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("Korvane"));

    tableBox_->setEditable(false);
    for (int table = 0; table < kHighscoreTables; ++table) {
        tableBox_->addItem(QString::fromUtf8(tableTitle(table)));
    }
    tableBox_->setMaxVisibleItems(kHighscoreTables);
    connect(tableBox_, &QComboBox::currentIndexChanged, this, &HighscoreDialog::fillList);

    placeList_->setRootIsDecorated(false);
    placeList_->setItemsExpandable(false);
    placeList_->setSelectionMode(QAbstractItemView::SingleSelection);
    placeList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    placeList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    placeList_->setUniformRowHeights(true);

    auto* typeRow = new QHBoxLayout;
    auto* typeLabel = new QLabel(QStringLiteral("Type:"), this);
    typeLabel->setBuddy(tableBox_);
    typeRow->addWidget(typeLabel);
    typeRow->addWidget(tableBox_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(typeRow);
    layout->addWidget(placeList_, 1);
    layout->addWidget(buttons);
}

void HighscoreDialog::showEvent(QShowEvent* event) {
    if (!initialised_) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void HighscoreDialog::OnInitDialog() {
    initialised_ = true;
    insertColumns();
    if (selectedTable < 0 || selectedTable >= kHighscoreTables) {
        selectedTable = 0;
    }
    const QSignalBlocker quiet(tableBox_);
    tableBox_->setCurrentIndex(selectedTable);
    fillList();
    fitListToTenRows();
}

void HighscoreDialog::insertColumns() {
    placeList_->setColumnCount(kColumnCount);
    auto* headings = placeList_->headerItem();
    for (int column = 0; column < kColumnCount; ++column) {
        headings->setText(column, QString::fromUtf8(kColumns[column].heading));
        headings->setTextAlignment(column, kColumns[column].alignment);
        placeList_->setColumnWidth(column, kColumns[column].width);
    }
    placeList_->header()->setStretchLastSection(false);
    placeList_->header()->setSectionsMovable(false);
}

void HighscoreDialog::fillList() {
    int table = tableBox_->currentIndex();
    if (table < 0 || table >= kHighscoreTables) {
        table = 0;
    }
    const HighscoreList moves = readList(storage_, movesValueName(table));
    const HighscoreList times = readList(storage_, timeValueName(table));

    placeList_->clear();
    for (int place = 0; place < kHighscorePlaces; ++place) {
        const QStringList texts{QString::asprintf("%d", place + 1),
                                QString::fromStdString(placeText(moves, place)),
                                QString::fromStdString(timePlaceText(times, place))};
        auto* row = new QTreeWidgetItem(placeList_, texts);
        for (int column = 0; column < kColumnCount; ++column) {
            row->setTextAlignment(column, kColumns[column].alignment);
        }
        if (table == selectedTable) {
            markNewResult(row, place);
        }
    }
}

// The new result's cells in bold with a "new" note, and its first row selected.
void HighscoreDialog::markNewResult(QTreeWidgetItem* row, int place) {
    const int columns[2] = {place == newMovesPlace ? 1 : -1, place == newTimePlace ? 2 : -1};
    for (int column : columns) {
        if (column < 0) {
            continue;
        }
        QFont font = row->font(column);
        font.setBold(true);
        row->setFont(column, font);
        row->setText(0, QStringLiteral("%1 new").arg(place + 1));
        row->setToolTip(column, QStringLiteral("The game just won"));
        if (placeList_->selectedItems().isEmpty()) {
            row->setSelected(true);
            placeList_->setCurrentItem(row);
        }
    }
}

// The list is made just large enough for its three columns and ten rows, so nothing scrolls.
void HighscoreDialog::fitListToTenRows() {
    int width = 2 * placeList_->frameWidth();
    for (const ListColumn& column : kColumns) {
        width += column.width;
    }
    const int rowHeight = placeList_->sizeHintForRow(0);
    const int height = 2 * placeList_->frameWidth() + placeList_->header()->sizeHint().height() +
                       kHighscorePlaces * rowHeight;
    placeList_->setMinimumSize(width, height);
    resize(minimumSizeHint());
}

void runHighscoreDialog(QWidget* parent, Platform& storage, int selectedTable, int newMovesPlace,
                        int newTimePlace) {
    HighscoreDialog dialog(storage, parent);
    dialog.selectedTable = selectedTable;
    dialog.newMovesPlace = newMovesPlace;
    dialog.newTimePlace = newTimePlace;
    dialog.exec();
}

} // namespace korvane::qt
