#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QtMath>
#include <memory>

#include "app/commands.h"
#include "qt/window_helpers.h"

using namespace korvane;
using namespace korvane::qt;
using namespace korvane::qt::testing;

namespace {

constexpr int kTypeItems[] = {32788, 32789, 32790, 32791, 32792, 32793, 32794, 32795, 32796};

std::unique_ptr<MainWindow> startWindow() {
    auto window = std::make_unique<MainWindow>();
    window->start();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        return nullptr;
    }
    return window;
}

int markedTypeItem(const MainWindow& window) {
    int marked = 0;
    for (int item : kTypeItems) {
        if (window.commandAction(item)->isChecked()) {
            if (marked != 0) {
                return -1; // two marks in one group
            }
            marked = item;
        }
    }
    return marked;
}

bool isDark(const QColor& c) {
    return c.red() < 40 && c.green() < 40 && c.blue() < 40;
}
bool isLight(const QColor& c) {
    return c.red() > 200 && c.green() > 200 && c.blue() > 200;
}

int darkPixelsIn(const QImage& shot, const PuzzleView& view, QRect logical) {
    int dark = 0;
    for (int y = logical.top(); y <= logical.bottom(); ++y) {
        for (int x = logical.left(); x <= logical.right(); ++x) {
            dark += isDark(shownAt(shot, view, x, y)) ? 1 : 0;
        }
    }
    return dark;
}

} // namespace

// The real main window, offscreen: start-up from the stored settings, the picture it paints,
// its menus and marks, and its end.
class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void init() { clearGameSettings(); }

    void firstStartShowsPiracubeOnBlack() {
        auto window = startWindow();
        QVERIFY(window);
        const GameState& g = window->dialog().g;
        QCOMPARE(g.puzzleType, int(kPiracube));
        QCOMPARE(g.bgColour, 0);
        QCOMPARE(g.zoom, 1.2);
        QCOMPARE(markedTypeItem(*window), int(kCmdPiracube));
        QVERIFY(window->commandAction(kCmdBlack)->isChecked());
        QVERIFY(!window->commandAction(kCmdWhite)->isChecked());
        QVERIFY(!window->commandAction(kCmdUndo)->isEnabled());
        QVERIFY(window->commandAction(kCmdHelp)->isEnabled());
        QCOMPARE(window->windowTitle(), QStringLiteral("Korvane"));
        // Twice the picture's size where the screen has room (the test screen has not):
        // 3:4 and inside the screen.
        const QSize view = window->view().size();
        QVERIFY(view.width() <= 480 && view.height() <= 640);
        QVERIFY(qAbs(view.width() * 4 - view.height() * 3) <= 4);
        QVERIFY(window->screen()->availableGeometry().contains(window->geometry()));
        QVERIFY(!window->windowIcon().isNull());

        // The build stores its choice at once; the background is not stored until chosen.
        QSettings settings = gameSettings();
        QCOMPARE(settings.value("Config/Figura").toInt(), 3);
        QCOMPARE(settings.value("Config/Nivel").toInt(), 3);
        QVERIFY(!settings.contains("Config/BkColor"));
    }

    void paintedPictureShowsTheBackBuffer() {
        auto window = startWindow();
        QVERIFY(window);
        window->resize(window->size() - window->view().size() + QSize(480, 640));
        QTRY_COMPARE(window->view().size(), QSize(480, 640));
        PuzzleView& view = window->view();
        QCOMPARE(view.pictureLayout().scale, 2.0);
        const QImage shot = paintView(view);

        QVERIFY(isDark(shownAt(shot, view, 5, 310)));  // background
        QVERIFY(isLight(shownAt(shot, view, 60, 10))); // the strip's bar
        QVERIFY(isDark(shownAt(shot, view, 60, 23)));  // the rule under the strip
        // Both counters show "0", right-aligned at x 148 and x 215.
        QVERIFY(darkPixelsIn(shot, view, QRect(141, 4, 8, 12)) > 10);
        QCOMPARE(darkPixelsIn(shot, view, QRect(100, 3, 40, 20)), 0);
        QVERIFY(darkPixelsIn(shot, view, QRect(208, 4, 8, 12)) > 10);
        QCOMPARE(darkPixelsIn(shot, view, QRect(180, 3, 27, 20)), 0);
        QPoint sticker;
        QVERIFY(firstStickerCentre(window->dialog().g, 3, sticker));
        const QColor colour = shownAt(shot, view, sticker.x(), sticker.y());
        QVERIFY2(!isDark(colour), qPrintable(colour.name()));

        // The screen is the back buffer, pixel for pixel, at the view's resolution.
        QCOMPARE(window->backBuffer().scale(), 2.0);
        for (QPoint p : {QPoint(5, 310), QPoint(60, 10), sticker, QPoint(239, 319)}) {
            QCOMPARE(shownAt(shot, view, p.x(), p.y()),
                     window->backBuffer().logicalPixel(p.x(), p.y()));
        }
    }

    void storedSettingsChooseTheStart_data() {
        QTest::addColumn<QString>("figura");
        QTest::addColumn<QString>("nivel");
        QTest::addColumn<QString>("bkColor");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("marked");
        QTest::addColumn<int>("background");
        // Stored "Figura", "Nivel", "BkColor" ("" for none) -> kind, level, marked item, colour.
        struct Row {
            const char* name;
            const char* figura;
            const char* nivel;
            const char* bkColor;
            int type, level, marked, background;
        };
        const Row rows[] = {
            {"cube 3 on white", "1", "3", "1", 1, 3, 32790, 1},
            {"tetrahedron 1", "2", "1", "0", 2, 1, 32792, 0},
            {"tetrahedron 4", "2", "4", "", 2, 4, 32795, 0},
            {"cube 5: no item", "1", "5", "", 1, 5, 0, 0},
            {"sphere: no item", "4", "2", "", 4, 2, 0, 0},
            {"Piracube stored as 3", "3", "3", "", 3, 3, 32796, 0},
            {"kind not a number", "abc", "2", "1", 3, 3, 32796, 1},
            {"kind out of range", "9", "2", "", 3, 3, 32796, 0},
            {"level out of range", "1", "7", "", 3, 3, 32796, 0},
            {"level not whole reads as 2", "2", "2.5", "", 2, 2, 32793, 0},
            {"background garbage", "1", "2", "x7", 1, 2, 32789, 0},
            {"background out of range", "1", "2", "2", 1, 2, 32789, 0},
        };
        for (const Row& r : rows) {
            QTest::newRow(r.name) << QString(r.figura) << QString(r.nivel) << QString(r.bkColor)
                                  << r.type << r.level << r.marked << r.background;
        }
    }

    void storedSettingsChooseTheStart() {
        QFETCH(QString, figura);
        QFETCH(QString, nivel);
        QFETCH(QString, bkColor);
        QFETCH(int, type);
        QFETCH(int, level);
        QFETCH(int, marked);
        QFETCH(int, background);
        {
            QSettings settings = gameSettings();
            settings.setValue("Config/Figura", figura);
            settings.setValue("Config/Nivel", nivel);
            if (!bkColor.isEmpty()) {
                settings.setValue("Config/BkColor", bkColor);
            }
        }
        auto window = startWindow();
        QVERIFY(window);
        const GameState& g = window->dialog().g;
        QCOMPARE(g.puzzleType, type);
        QCOMPARE(sizeLevel(g), level);
        QCOMPARE(markedTypeItem(*window), marked);
        QCOMPARE(g.bgColour, background);
        QCOMPARE(window->commandAction(kCmdBlack)->isChecked(), background == 0);
        QCOMPARE(window->commandAction(kCmdWhite)->isChecked(), background == 1);
        const QColor shown = shownAt(paintView(window->view()), window->view(), 5, 310);
        QVERIFY(background == 1 ? isLight(shown) : isDark(shown));
    }

    void menusFollowTheCommandTable() {
        auto window = startWindow();
        QVERIFY(window);
        QStringList titles;
        for (QAction* menu : window->menuBar()->actions()) {
            titles << menu->text();
        }
        QCOMPARE(titles, QStringList({"File", "Options", "Type"}));
        // Items sit in their submenus, with their marks and shortcuts.
        QAction* level3 = window->commandAction(32790);
        QCOMPARE(level3->text(), QStringLiteral("Level 3"));
        QVERIFY(level3->isCheckable());
        QCOMPARE(qobject_cast<QMenu*>(level3->parent())->title(), QStringLiteral("Cube"));
        QCOMPARE(qobject_cast<QMenu*>(window->commandAction(kCmdWhite)->parent())->title(),
                 QStringLiteral("BackColor"));
        QCOMPARE(window->commandAction(kCmdNewGame)->shortcut(), QKeySequence("Ctrl+N"));
        auto* bar = window->findChild<QToolBar*>();
        QVERIFY(bar);
        QCOMPARE(bar->actions().size(), 2);
        QCOMPARE(bar->actions().at(0), window->commandAction(kCmdUndo));
        QCOMPARE(bar->actions().at(1), window->commandAction(kCmdHelp));
    }

    void marksBelongToTheGame() {
        auto window = startWindow();
        QVERIFY(window);
        // Choosing the marked item again keeps its mark (Qt's own toggle is taken back).
        window->commandAction(kCmdPiracube)->trigger();
        QCOMPARE(markedTypeItem(*window), int(kCmdPiracube));
        window->commandAction(kCmdBlack)->trigger();
        QVERIFY(window->commandAction(kCmdBlack)->isChecked());

        window->commandAction(32793)->trigger();
        QCOMPARE(markedTypeItem(*window), 32793);
        QCOMPARE(window->dialog().g.puzzleType, int(kTetrahedron));
        // Training rebuilds and leaves the marks alone.
        window->commandAction(kCmdTraining)->trigger();
        QCOMPARE(markedTypeItem(*window), 32793);

        window->commandAction(kCmdWhite)->trigger();
        QVERIFY(window->commandAction(kCmdWhite)->isChecked());
        QVERIFY(!window->commandAction(kCmdBlack)->isChecked());
        QVERIFY(isLight(shownAt(paintView(window->view()), window->view(), 5, 310)));
        QCOMPARE(gameSettings().value("Config/BkColor").toInt(), 1);
    }

    void newGameThenExitStopsTheClock() {
        auto window = startWindow();
        QVERIFY(window);
        window->commandAction(kCmdNewGame)->trigger();
        QCOMPARE(window->dialog().g.clockRunning, 1);
        QVERIFY(window->platform().timerRunning(kClockTimer));
        QCOMPARE(window->platform().timerPeriod(kClockTimer), kClockPeriodMs);
        const QByteArray before = QFile(gameSettings().fileName()).exists()
                                      ? readFile(gameSettings().fileName())
                                      : QByteArray();
        window->commandAction(kCmdExit)->trigger();
        QVERIFY(!window->isVisible());
        QVERIFY(!window->platform().timerRunning(kClockTimer));
        // Nothing is stored at the end.
        QCOMPARE(readFile(gameSettings().fileName()), before);
    }

    void keysAreSwallowedAndF1AsksForHelp() {
        auto window = startWindow();
        QVERIFY(window);
        const double zoom = window->dialog().g.zoom;
        QTest::keyClick(&window->view(), Qt::Key_Plus);
        QTest::keyClick(&window->view(), Qt::Key_Z);
        QCOMPARE(window->dialog().g.zoom, zoom);
        const int windowsBefore = visibleTopLevels();
        QTest::keyClick(&window->view(), Qt::Key_F1);
        QTRY_COMPARE(visibleTopLevels(), windowsBefore + 1);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != window.get()) {
                w->close();
            }
        }
    }

    void resizingRemakesTheBackBuffer() {
        auto window = startWindow();
        QVERIFY(window);
        const QSize chrome = window->size() - window->view().size();
        for (QSize view : {QSize(240, 320), QSize(600, 500), QSize(720, 960)}) {
            window->resize(chrome + view);
            QTRY_COMPARE(window->view().size(), view);
            const PictureLayout layout = window->view().pictureLayout();
            QCOMPARE(window->backBuffer().scale(), layout.scale);
            QVERIFY(window->backBuffer().image().width() >= qCeil(242 * layout.scale));
            QPoint sticker;
            QVERIFY(firstStickerCentre(window->dialog().g, 3, sticker));
            QVERIFY(!isDark(
                shownAt(paintView(window->view()), window->view(), sticker.x(), sticker.y())));
        }
    }

private:
    static QByteArray readFile(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static int visibleTopLevels() {
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            count += w->isVisible() && w->isWindow() ? 1 : 0;
        }
        return count;
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
