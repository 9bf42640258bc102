// The secondary windows: the highscores dialog over stored texts, the about box and the help
// window, offscreen.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

#include "app/highscores.h"
#include "fakes/fake_platform.h"
#include "platform/qt/about_dialog.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/highscore_dialog.h"

using namespace korvane::qt;
using korvane::testing::FakePlatform;

namespace {

QStringList column(const QTreeWidget* list, int col) {
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        texts << list->topLevelItem(row)->text(col);
    }
    return texts;
}

// Ten places: the given texts first, "NA" for the rest.
QStringList places(QStringList first) {
    while (first.size() < 10) {
        first << QStringLiteral("NA");
    }
    return first;
}

// Every table holds its own number (1..9) as its best move count and no times, so a test sees
// which table a list was filled from.
void storeTableMarks(FakePlatform& storage) {
    for (int table = 0; table < korvane::kHighscoreTables; ++table) {
        storage.strings[{"HighScores", korvane::movesValueName(table)}] = std::to_string(table + 1);
    }
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void highscoreDialogShowsTheChosenTable_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("shown");
        QTest::newRow("cube level 4") << 3 << 3;
        QTest::newRow("piracube") << 8 << 8;
        QTest::newRow("no table below") << -1 << 0;
        QTest::newRow("no table above") << 9 << 0;
    }
    void highscoreDialogShowsTheChosenTable() {
        QFETCH(int, selected);
        QFETCH(int, shown);
        FakePlatform storage;
        storeTableMarks(storage);
        HighscoreDialog dialog(storage);
        dialog.selectedTable = selected;
        dialog.show();
        QCOMPARE(dialog.tableBox()->currentIndex(), shown);
        QCOMPARE(column(dialog.placeList(), 0), QString("1 2 3 4 5 6 7 8 9 10").split(' '));
        QCOMPARE(column(dialog.placeList(), 1), places({QString::number(shown + 1)}));
        QCOMPARE(column(dialog.placeList(), 2), places({}));
        // Another table refills the list, also with what was stored since; nothing is written.
        storage.strings[{"HighScores", "Tetra1M"}] = "3,4,";
        dialog.tableBox()->setCurrentIndex(4);
        QCOMPARE(column(dialog.placeList(), 1), places({"3", "4"}));
        QCOMPARE(storage.strings.size(), size_t(korvane::kHighscoreTables));
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
        const QTreeWidget* list = dialog.placeList();
        QVERIFY(list->topLevelItem(1)->font(1).bold() && !list->topLevelItem(1)->font(2).bold());
        QVERIFY(list->topLevelItem(2)->font(2).bold() && !list->topLevelItem(2)->font(1).bold());
        QCOMPARE(list->currentItem(), list->topLevelItem(1));
        const QString shots = qEnvironmentVariable("KORVANE_TEST_SHOTS");
        if (!shots.isEmpty()) {
            dialog.grab().save(shots + QStringLiteral("/highscores-marked.png"));
        }
    }

    // The logo under the caption, then the version, licence and home page, and Close ends it.
    void aboutBoxShowsLogoVersionLicenceAndCloses() {
        AboutDialog about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.windowTitle(), QStringLiteral("Korvane V1.1"));
        QVERIFY(about.logo()->hasPicture());
        QCOMPARE(about.logo()->size(), QSize(240, 280));
        for (const char* words : {"Korvane 1.1", "MIT licence", AboutDialog::kHomePage}) {
            QVERIFY2(about.text()->text().contains(words), words);
        }
        auto* close = about.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close);
        QVERIFY(close);
        close->click();
        QVERIFY(!about.isVisible());
    }

    // One window at the contents (which follow an introduction); a second request raises it,
    // and Escape or Ctrl+W closes it.
    void helpIsOneWindowClosedByEscapeOrCtrlW() {
        QWidget game;
        for (const QKeySequence& close :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            openHelpViewer(&game, "Korvane.htm#MAIN_CONTENTS");
            openHelpViewer(&game, "Korvane.htm#MAIN_CONTENTS");
            const QList<HelpViewer*> viewers = game.findChildren<HelpViewer*>();
            QCOMPARE(viewers.size(), 1);
            HelpViewer* viewer = viewers.front();
            QVERIFY(QTest::qWaitForWindowExposed(viewer));
            QVERIFY(viewer->isWindow() && !viewer->isModal());
            QCOMPARE(viewer->browser()->source(), QUrl("qrc:/Korvane.htm#MAIN_CONTENTS"));
            QTRY_VERIFY(viewer->browser()->verticalScrollBar()->value() > 0);
            QPointer<HelpViewer> watched(viewer);
            viewer->activateWindow();
            QTest::keySequence(viewer, close);
            QTRY_VERIFY(watched.isNull());
        }
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
