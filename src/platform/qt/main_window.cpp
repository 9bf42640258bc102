#include "platform/qt/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
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

namespace korvane::qt {

namespace {

// The pictures and names of the tool-bar buttons; undo also answers the desktop's undo key.
struct ToolButtonArt {
    int command;
    const char* icon;
    const char* text;
    QKeySequence::StandardKey key;
};
constexpr ToolButtonArt kToolButtonArt[] = {
    {kCmdUndo, ":/undo.svg", "Undo", QKeySequence::Undo},
    {kCmdHelp, ":/help.svg", "Help", QKeySequence::UnknownKey},
};

const ToolButtonArt* toolButtonArt(int command) {
    for (const ToolButtonArt& art : kToolButtonArt) {
        if (art.command == command) {
            return &art;
        }
    }
    return nullptr;
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
    const int table = highscoreTable(dialog_.g.puzzleType, dialog_.g.size);
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

void MainWindow::buildMenus() {
    std::vector<QMenu*> open;
    for (int i = 0; i < kMenuBarEntries; ++i) {
        const MenuEntry& entry = kMenuBar[i];
        const QString text = QString::fromUtf8(entry.text ? entry.text : "");
        switch (entry.kind) {
        case MenuEntryKind::Menu:
            open.push_back(menuBar()->addMenu(text));
            break;
        case MenuEntryKind::Submenu:
            open.push_back(open.back()->addMenu(text));
            break;
        case MenuEntryKind::Item: {
            QAction* action = addCommand(open.back(), text, entry.command);
            action->setCheckable(entry.checkable);
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
        QAction* action = addCommand(bar, text, command);
        if (art) {
            action->setIcon(QIcon(QString::fromUtf8(art->icon)));
            action->setShortcut(QKeySequence(art->key));
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
    show();
}

void MainWindow::destroyDialog() {
    if (!dialogDestroyed_) {
        dialogDestroyed_ = true;
        dialog_.OnDestroy();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    destroyDialog();
    event->accept();
}

} // namespace korvane::qt
