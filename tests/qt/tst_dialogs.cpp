// The secondary windows: the highscores dialog over stored texts, the about box and the help
// window, offscreen.
#include <QComboBox>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QtTest>

#include "app/highscores.h"
#include "fakes/fake_platform.h"
#include "platform/qt/about_dialog.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/highscore_dialog.h"

using korvane::qt::AboutDialog;
using korvane::qt::HelpViewer;
using korvane::qt::HighscoreDialog;
using korvane::testing::FakePlatform;

namespace {

constexpr const char* kSection = "HighScores";

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

// A storage in which every table holds its own number as its best move count and ten times
// its number as its best time, so a test sees which table a list was filled from.
void storeTableMarks(FakePlatform& storage) {
    for (int table = 0; table < korvane::kHighscoreTables; ++table) {
        storage.strings[{kSection, korvane::movesValueName(table)}] =
            std::to_string(table + 1) + ",-1,-1,-1,-1,-1,-1,-1,-1,-1,";
        storage.strings[{kSection, korvane::timeValueName(table)}] =
            std::to_string(10 * (table + 1)) + ",-1,-1,-1,-1,-1,-1,-1,-1,-1,";
    }
}

QList<HelpViewer*> helpWindows() {
    QList<HelpViewer*> viewers;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* viewer = qobject_cast<HelpViewer*>(window)) {
            viewers << viewer;
        }
    }
    return viewers;
}

// Every named anchor of a page and every internal link target in it.
void collectAnchors(const QTextDocument* page, QSet<QString>& names, QStringList& targets) {
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& name : format.anchorNames()) {
                names.insert(name);
            }
            if (format.anchorHref().startsWith(QLatin1Char('#'))) {
                targets << format.anchorHref().mid(1);
            }
        }
    }
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void highscoreDialogLooksAsTheGameDefines();
    void highscoreDialogOpensOnItsTable_data();
    void highscoreDialogOpensOnItsTable();
    void changingTheTableRefillsTheList();
    void storedTextsAreShownPlaceByPlace_data();
    void storedTextsAreShownPlaceByPlace();

    void aboutBoxShowsTheLogo();

    void helpPageUrls_data();
    void helpPageUrls();
    void helpOpensAtTheContents();
    void eachHelpRequestOpensItsOwnWindow();
    void helpLinksAllLead();
};

void DialogsTest::cleanup() {
    for (HelpViewer* viewer : helpWindows()) {
        delete viewer;
    }
}

void DialogsTest::highscoreDialogLooksAsTheGameDefines() {
    FakePlatform storage;
    HighscoreDialog dialog(storage);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Korvane"));

    const QComboBox* tables = dialog.tableBox();
    QVERIFY(!tables->isEditable());
    QCOMPARE(tables->count(), 9);
    QCOMPARE(tables->itemText(0), QStringLiteral("Cube Level 1"));
    QCOMPARE(tables->itemText(7), QStringLiteral("Tetra Level 4"));
    QCOMPARE(tables->itemText(8), QStringLiteral("Piracube"));

    const QTreeWidget* list = dialog.placeList();
    QVERIFY(!list->rootIsDecorated());
    const QStringList headings{"Position", "Moves", "Time"};
    const int widths[] = {70, 70, 92};
    const Qt::Alignment sides[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignRight};
    QCOMPARE(list->columnCount(), 3);
    for (int col = 0; col < 3; ++col) {
        QCOMPARE(list->headerItem()->text(col), headings[col]);
        QCOMPARE(list->columnWidth(col), widths[col]);
        const auto side = Qt::Alignment(list->topLevelItem(0)->textAlignment(col));
        QCOMPARE(side & Qt::AlignHorizontal_Mask, sides[col]);
    }
    QCOMPARE(column(list, 0), QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    // All ten places are on screen without scrolling.
    QVERIFY(list->visualItemRect(list->topLevelItem(9)).bottom() < list->viewport()->height());
}

void DialogsTest::highscoreDialogOpensOnItsTable_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("shown");
    QTest::newRow("first cube") << 0 << 0;
    QTest::newRow("cube level 4") << 3 << 3;
    QTest::newRow("tetrahedron level 1") << 4 << 4;
    QTest::newRow("piracube") << 8 << 8;
    QTest::newRow("no table below") << -1 << 0;
    QTest::newRow("no table above") << 9 << 0;
    QTest::newRow("far off") << 1000000 << 0;
}

void DialogsTest::highscoreDialogOpensOnItsTable() {
    QFETCH(int, selected);
    QFETCH(int, shown);
    FakePlatform storage;
    storeTableMarks(storage);
    HighscoreDialog dialog(storage);
    dialog.selectedTable = selected;
    dialog.show();

    QCOMPARE(dialog.tableBox()->currentIndex(), shown);
    QCOMPARE(column(dialog.placeList(), 1), places({QString::number(shown + 1)}));
    QCOMPARE(column(dialog.placeList(), 2), places({QString::number(10 * (shown + 1))}));
}

void DialogsTest::changingTheTableRefillsTheList() {
    FakePlatform storage;
    storeTableMarks(storage);
    HighscoreDialog dialog(storage);
    dialog.selectedTable = 2;
    dialog.show();

    for (int table : {8, 0, 5, 5, 1}) {
        dialog.tableBox()->setCurrentIndex(table);
        QCOMPARE(dialog.placeList()->topLevelItemCount(), 10);
        QCOMPARE(column(dialog.placeList(), 1), places({QString::number(table + 1)}));
    }
    // A result stored while the dialog is open shows at the next fill.
    storage.strings[{kSection, "Tetra1M"}] = "3,4,-1,-1,-1,-1,-1,-1,-1,-1,";
    dialog.tableBox()->setCurrentIndex(4);
    QCOMPARE(column(dialog.placeList(), 1), places({"3", "4"}));
    // Nothing is written by looking.
    QCOMPARE(storage.strings.size(), size_t(2 * korvane::kHighscoreTables));
}

void DialogsTest::storedTextsAreShownPlaceByPlace_data() {
    QTest::addColumn<QString>("stored"); // null: no stored value
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("missing") << QString() << places({});
    QTest::newRow("first game") << "57,-1,-1,-1,-1,-1,-1,-1,-1,-1," << places({"57"});
    QTest::newRow("full") << "1,2,3,4,5,6,7,8,9,10,"
                          << QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    QTest::newRow("garbage") << "no scores here" << places({});
    QTest::newRow("nothing") << "" << places({});
    QTest::newRow("a field that is no number") << "7,oops,9," << places({"7", "9"});
    QTest::newRow("negative") << "4,-3,5," << places({"4", "5"});
    QTest::newRow("more than ten fields")
        << "1,2,3,4,5,6,7,8,9,10,11,12,"
        << QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
}

void DialogsTest::storedTextsAreShownPlaceByPlace() {
    QFETCH(QString, stored);
    QFETCH(QStringList, shown);
    FakePlatform storage;
    if (!stored.isNull()) {
        storage.strings[{kSection, "PiraT"}] = stored.toStdString();
    }
    HighscoreDialog dialog(storage);
    dialog.selectedTable = 8;
    dialog.show();

    QCOMPARE(dialog.placeList()->topLevelItemCount(), 10);
    QCOMPARE(column(dialog.placeList(), 1), places({}));
    QCOMPARE(column(dialog.placeList(), 2), shown);
}

void DialogsTest::aboutBoxShowsTheLogo() {
    AboutDialog about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.windowTitle(), QStringLiteral("Korvane V1.1"));
    QVERIFY(about.logo()->hasPicture());
    QCOMPARE(about.logo()->size(), QSize(240, 280));
    QCOMPARE(about.size(), QSize(240, 280)); // the picture and nothing else

    const QImage picture = about.logo()->grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 7) {
        for (int x = 0; x < picture.width(); x += 7) {
            colours.insert(picture.pixel(x, y));
        }
    }
    QVERIFY2(colours.size() > 20, "the logo is drawn");
}

void DialogsTest::helpPageUrls_data() {
    QTest::addColumn<QString>("request");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("contents") << "Korvane.htm#MAIN_CONTENTS"
                              << QUrl("qrc:/Korvane.htm#MAIN_CONTENTS");
    QTest::newRow("no anchor") << "Korvane.htm" << QUrl("qrc:/Korvane.htm");
    QTest::newRow("only an anchor") << "#MAIN_CONTENTS" << QUrl("qrc:/Korvane.htm#MAIN_CONTENTS");
    QTest::newRow("a path is no page") << "../../etc/passwd#x" << QUrl("qrc:/Korvane.htm#x");
}

void DialogsTest::helpPageUrls() {
    QFETCH(QString, request);
    QFETCH(QUrl, url);
    QCOMPARE(HelpViewer::pageUrl(request), url);
}

void DialogsTest::helpOpensAtTheContents() {
    korvane::qt::openHelpViewer(nullptr, "Korvane.htm#MAIN_CONTENTS");
    const QList<HelpViewer*> viewers = helpWindows();
    QCOMPARE(viewers.size(), 1);
    HelpViewer* viewer = viewers.first();
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QVERIFY(!viewer->isModal());

    QTextBrowser* page = viewer->browser();
    QCOMPARE(page->source(), QUrl("qrc:/Korvane.htm#MAIN_CONTENTS"));
    QVERIFY(page->toPlainText().contains("Contents"));
    // The contents follow an introduction, so opening at them scrolls the page.
    QTRY_VERIFY(page->verticalScrollBar()->value() > 0);
    const QTextCursor top = page->cursorForPosition(QPoint(4, 4));
    QVERIFY2(page->toPlainText().mid(top.position(), 200).contains("Contents"),
             "the contents are at the top of the window");

    QPointer<HelpViewer> closed = viewer;
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(closed.isNull());
}

void DialogsTest::eachHelpRequestOpensItsOwnWindow() {
    QWidget game;
    korvane::qt::openHelpViewer(&game, "Korvane.htm#MAIN_CONTENTS");
    korvane::qt::openHelpViewer(&game, "Korvane.htm#MAIN_CONTENTS");
    const QList<HelpViewer*> viewers = helpWindows();
    QCOMPARE(viewers.size(), 2);
    for (HelpViewer* viewer : viewers) {
        QVERIFY(viewer->isWindow());
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->browser()->source().fragment(), QStringLiteral("MAIN_CONTENTS"));
    }
}

void DialogsTest::helpLinksAllLead() {
    HelpViewer viewer("Korvane.htm#MAIN_CONTENTS");
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QTextBrowser* page = viewer.browser();
    QSet<QString> names;
    QStringList targets;
    collectAnchors(page->document(), names, targets);
    QVERIFY(names.contains("MAIN_CONTENTS"));
    QVERIFY2(targets.size() >= 8, "the contents link to the sections");
    for (const QString& target : targets) {
        QVERIFY2(names.contains(target), qPrintable("no anchor for #" + target));
    }
    // Following the last link of the contents, as a click does, moves down the same page.
    QTRY_VERIFY(page->verticalScrollBar()->value() > 0);
    const int atContents = page->verticalScrollBar()->value();
    page->setSource(page->source().resolved(QUrl("#" + targets.last())));
    QCOMPARE(page->source(), QUrl("qrc:/Korvane.htm#" + targets.last()));
    QTRY_VERIFY(page->verticalScrollBar()->value() > atContents);
}

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
