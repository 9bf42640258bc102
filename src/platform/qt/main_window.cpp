#include "platform/qt/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QToolBar>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/commands.h"
#include "platform/qt/history_cli.h"
#include "platform/qt/puzzle_view.h"
#include "platform/qt/sql_solve_history.h"
#include "platform/qt/statistics_dialog.h"
#include "platform/qt/store_lock.h"

namespace korvane::qt {

namespace {

// The pictures and names of the tool-bar buttons; undo also answers the desktop's undo key.
struct ToolButtonArt {
    int command;
    const char* icon;
    const char* text;
    QKeySequence::StandardKey key;        // the button's own shortcut
    QKeySequence::StandardKey toolTipKey; // the keys its tooltip names (help's is the window's)
};
constexpr ToolButtonArt kToolButtonArt[] = {
    {kCmdUndo, ":/undo.svg", "Undo", QKeySequence::Undo, QKeySequence::Undo},
    {kCmdHelp, ":/help.svg", "Help", QKeySequence::UnknownKey, QKeySequence::HelpContents},
};

const ToolButtonArt* toolButtonArt(int command) {
    for (const ToolButtonArt& art : kToolButtonArt) {
        if (art.command == command) {
            return &art;
        }
    }
    return nullptr;
}

// The text with an accelerator mark (&) before its first letter or digit that no earlier entry
// of the same menu uses; the words stay as they are. "taken" collects the used letters.
QString withMnemonic(const QString& text, QString& taken) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i).toLower();
        if (c.isLetterOrNumber() && !taken.contains(c)) {
            taken.append(c);
            return text.left(i) + QLatin1Char('&') + text.mid(i);
        }
    }
    return text;
}

// "Undo (Ctrl+Z)": a button's name with the keys that do the same.
QString toolTipWithShortcut(const QString& text, const QKeySequence& key) {
    return key.isEmpty()
               ? text
               : QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText));
}

// The window opens with the picture at twice its logical size when the screen has room.
constexpr double kOpeningScale = 2.0;
constexpr double kSmallestOpeningScale = 0.5;
// Room for the window frame and title bar, which the window itself cannot measure before it
// is shown.
constexpr int kFrameAllowance = 48;

} // namespace

MainWindow::MainWindow(QImageCanvas::Mode backBufferMode)
    : backBuffer_(backBufferMode), platform_(this), dialog_(platform_, backBuffer_),
      history_(std::make_unique<SqlSolveHistory>()) {
    setWindowTitle(QStringLiteral("Korvane"));
    setWindowIcon(QIcon(QStringLiteral(":/korvane.svg")));
    // The tool bar stays: no context menu that could hide it.
    setContextMenuPolicy(Qt::NoContextMenu);
    view_ = new PuzzleView(dialog_, backBuffer_, this);
    setCentralWidget(view_);
    platform_.setDialog(&dialog_);
    platform_.setView(view_);
    platform_.setSolveHistory(history_.get());
    // A game chosen in the statistics is watched again in the window.
    replaySolve = [this](qint64 id) {
        if (const std::optional<SolveRecord> game = history_->find(id)) {
            dialog_.startReplay(*game);
        }
    };
    buildMenus();
    buildToolBar();
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { dialog_.OnHelpRequest(); });
    view_->setFocus();
}

MainWindow::~MainWindow() {
    destroyDialog();
    // The view refers to the dialog and the back buffer: let it go before they do.
    delete view_;
}

QAction* MainWindow::addCommand(QWidget* container, const QString& text, int command) {
    auto* action = new QAction(text, container);
    container->addAction(action);
    platform_.addCommandAction(command, action);
    connect(action, &QAction::triggered, this, [this, action, command] {
        if (runWindowCommand(command)) {
            return;
        }
        // The marks belong to the game: take back Qt's own toggle, the command sets them.
        if (action->isCheckable()) {
            action->setChecked(!action->isChecked());
        }
        dialog_.OnCommand(command);
    });
    return action;
}

bool MainWindow::runWindowCommand(int command) {
    switch (command) {
    case kCmdStatistics:
        openStatistics();
        return true;
    case kCmdExportSolves:
        exportSolves();
        return true;
    default:
        return false;
    }
}

void MainWindow::openStatistics() {
    const int table = highscoreTable(dialog_.puzzle().puzzleType, dialog_.puzzle().size);
    runStatisticsDialog(this, *history_, table, replaySolve);
}

void MainWindow::exportSolves() {
    const QString fileName = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export Solves"), QDir::home().filePath(QStringLiteral("korvane.csv")),
        QStringLiteral("CSV files (*.csv)"));
    QString error;
    if (!fileName.isEmpty() && !writeCsvFile(*history_, fileName, &error)) {
        QMessageBox::warning(this, QStringLiteral("Korvane"), error);
    }
}

// One loop over the menu table. Each menu level keeps the accelerator letters it has given
// out; the items of a check group show radio marks, and the game may leave all of them clear.
void MainWindow::buildMenus() {
    std::vector<QMenu*> open;
    std::vector<QString> taken(1);
    QActionGroup* groups[] = {nullptr, new QActionGroup(this), new QActionGroup(this)};
    for (QActionGroup* group : groups) {
        if (group) {
            group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        }
    }
    for (int i = 0; i < kMenuBarEntries; ++i) {
        const MenuEntry& entry = kMenuBar[i];
        const QString text =
            withMnemonic(QString::fromUtf8(entry.text ? entry.text : ""), taken.back());
        switch (entry.kind) {
        case MenuEntryKind::Menu:
            open.push_back(menuBar()->addMenu(text));
            taken.emplace_back();
            break;
        case MenuEntryKind::Submenu:
            open.push_back(open.back()->addMenu(text));
            taken.emplace_back();
            break;
        case MenuEntryKind::Item: {
            QAction* action = addCommand(open.back(), text, entry.command);
            if (entry.group == CheckGroup::Toggle) {
                action->setCheckable(true);
            } else if (QActionGroup* group = groups[static_cast<int>(entry.group)]) {
                action->setCheckable(true);
                group->addAction(action);
            }
            if (entry.shortcut) {
                action->setShortcut(QKeySequence(QString::fromUtf8(entry.shortcut)));
            }
            break;
        }
        case MenuEntryKind::Separator:
            open.back()->addSeparator();
            break;
        case MenuEntryKind::End:
            open.pop_back();
            taken.pop_back();
            break;
        }
    }
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Commands"));
    bar->setObjectName(QStringLiteral("commandBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    for (int command : kToolBarButtons) {
        const ToolButtonArt* art = toolButtonArt(command);
        const QString text = QString::fromUtf8(art ? art->text : "");
        // A command that has a menu item shares its action (and its enabled state) with it.
        QAction* action = platform_.commandAction(command);
        if (action) {
            bar->addAction(action);
        } else {
            action = addCommand(bar, text, command);
        }
        if (art) {
            action->setIcon(QIcon(QString::fromUtf8(art->icon)));
            action->setShortcut(QKeySequence(art->key));
            action->setToolTip(toolTipWithShortcut(text, QKeySequence(art->toolTipKey)));
        }
        // What a screen reader says of the button: its name, then what it does and its keys.
        if (QWidget* button = bar->widgetForAction(action)) {
            // Tab reaches the buttons too, and their focus frame shows which one Space presses.
            button->setFocusPolicy(Qt::TabFocus);
            button->setAccessibleName(text);
            button->setAccessibleDescription(action->toolTip());
        }
    }
}

void MainWindow::placeOnScreen() {
    const QRect available = screen()->availableGeometry();
    ensurePolished();
    const QSize chrome = sizeHint() - view_->sizeHint();
    const double fit =
        std::min({kOpeningScale,
                  static_cast<double>(available.width() - chrome.width() - kFrameAllowance) /
                      PuzzleView::kPictureWidth,
                  static_cast<double>(available.height() - chrome.height() - kFrameAllowance) /
                      PuzzleView::kPictureHeight});
    const double scale = std::max(fit, kSmallestOpeningScale);
    const QSize picture(static_cast<int>(std::lround(PuzzleView::kPictureWidth * scale)),
                        static_cast<int>(std::lround(PuzzleView::kPictureHeight * scale)));
    view_->setPreferredSize(picture);
    resize(chrome + picture);
    move(available.center() - rect().center());
}

void MainWindow::start() {
    dialog_.OnInitDialog();
    view_->setStarted(true);
    placeOnScreen();
    restorePlace();
    show();
}

QString MainWindow::geometryFile() {
    return QtPlatform::dataFolder() + QStringLiteral("/window-geometry");
}

// The size and place of the last run; Qt moves a window that would lie off every screen back
// onto one.
bool MainWindow::restorePlace() {
    QFile file(geometryFile());
    constexpr qint64 kMostBytes = 4096;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMostBytes) {
        return false;
    }
    return restoreGeometry(file.readAll());
}

void MainWindow::storePlace() {
    QDir().mkpath(QtPlatform::dataFolder());
    saveWhole(geometryFile(), saveGeometry()); // a place not kept costs nothing worth a word
}

void MainWindow::destroyDialog() {
    if (!dialogDestroyed_) {
        dialogDestroyed_ = true;
        storePlace();
        dialog_.OnDestroy();
    }
}

void MainWindow::endWithoutClose() {
    platform_.setShuttingDown(true);
    destroyDialog();
}

void MainWindow::keepForSessionEnd() {
    if (!dialogDestroyed_) {
        platform_.setShuttingDown(true);
        storePlace();
        dialog_.keepGameOnQuit();
        platform_.setShuttingDown(false);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    destroyDialog();
    event->accept();
}

// A timed game pauses when the window is minimised or another window takes the focus.
void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    const bool minimised = event->type() == QEvent::WindowStateChange && isMinimized();
    const bool leftBehind = event->type() == QEvent::ActivationChange && !isActiveWindow() &&
                            QApplication::activeModalWidget() == nullptr;
    if ((minimised || leftBehind) && !dialogDestroyed_ && view_ != nullptr) {
        dialog_.OnPauseRequest();
    }
}

} // namespace korvane::qt
