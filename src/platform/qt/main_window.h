#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "app/puzzle_dialog.h"
#include "app/solve_history.h"
#include "platform/qt/qimage_canvas.h"
#include "platform/qt/qt_platform.h"

class QAction;

namespace korvane::qt {

class PuzzleView;

// The game's main window: owns the back buffer, the window services and the dialog (the game),
// shows the puzzle in its central view under a menu bar built from the command table and a
// tool bar with the undo and help buttons. Every menu item, button and shortcut sends its
// command number to the dialog, except the solve history's statistics and export, which the
// window handles itself; the check marks and the undo button's state are the dialog's alone.
// Closing the window (also Exit) ends the game and destroys the dialog once.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QImageCanvas::Mode backBufferMode = QImageCanvas::Mode::Smooth);
    ~MainWindow() override;

    // Initialise the dialog (stored puzzle, marks, first picture), then show the window at its
    // opening size, centred on the screen.
    void start();

    PuzzleDialog& dialog() { return dialog_; }
    PuzzleView& view() { return *view_; }
    QImageCanvas& backBuffer() { return backBuffer_; }
    QtPlatform& platform() { return platform_; }
    QAction* commandAction(int command) const { return platform_.commandAction(command); }

    // The solve history: the player's own store unless another is put in its place.
    SolveHistory& history() { return *history_; }
    void setHistory(std::unique_ptr<SolveHistory> history) {
        history_ = std::move(history);
        platform_.setSolveHistory(history_.get());
    }
    // Where a game the player asks to watch again from the statistics goes (by its id): by
    // default the dialog replays it.
    std::function<void(qint64 id)> replaySolve;

    // The statistics on the puzzle being played (its highscore table, else the first).
    void openStatistics();
    // Every game as CSV, to a file the player chooses.
    void exportSolves();
    // The program ends without a close (the session ends, a signal): the game is kept and the
    // window's place stored, once.
    void endWithoutClose();
    // The session asks what to keep before it ends: the game, should the end come.
    void keepForSessionEnd();
    // The file that keeps the window's size and place between starts.
    static QString geometryFile();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool runWindowCommand(int command);
    void buildMenus();
    void buildToolBar();
    QAction* addCommand(QWidget* container, const QString& text, int command);
    void placeOnScreen();
    bool restorePlace();
    void storePlace();
    void destroyDialog();

    QImageCanvas backBuffer_;
    QtPlatform platform_;
    PuzzleDialog dialog_;
    std::unique_ptr<SolveHistory> history_;
    PuzzleView* view_ = nullptr;
    bool dialogDestroyed_ = false;
};

} // namespace korvane::qt
