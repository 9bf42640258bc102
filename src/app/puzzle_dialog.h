#pragma once

#include <cstdint>

#include "app/platform.h"
#include "model/game_rules.h"
#include "model/game_state.h"
#include "render/canvas.h"

namespace korvane {

// The main window object: owns the game state and carries every operation and handler of the
// game. Each member sequences the rules (pure functions over GameState) with the back buffer
// (Canvas) and the window services (Platform); it never sees the toolkit.
class PuzzleDialog {
public:
    PuzzleDialog(Platform& platform, Canvas& backBuffer);

    GameState g;

    // Start-up and shutdown.
    bool OnInitDialog();
    void OnDestroy();
    bool OnEraseBkgnd() { return true; }

    // Frame composition.
    void paintWindow();
    void redraw();
    void drawPart();
    void renderPuzzle();

    // The puzzle and its turns.
    void buildPuzzle(int type, int level);
    void turnAxis1(int dir) { turnAxis(1, dir); }
    void turnAxis2(int dir) { turnAxis(2, dir); }
    void turnAxis3(int dir) { turnAxis(3, dir); }
    void turnAxis4(int dir) { turnAxis(4, dir); }
    void turnCorner(int dir, int corner);

    // The game.
    void newGame();
    void recordMove(int kind, int dir, int corner);
    void undoMove();
    void checkSolved();
    void enterResult(int table, int moves, int seconds);

    // Stylus, keys and timers (logical back-buffer coordinates).
    void OnLButtonDown(int flags, int x, int y);
    void OnMouseMove(int flags, int x, int y);
    void OnLButtonUp(int flags, int x, int y);
    void OnKeyDown() {}
    void OnTimer(int id);
    void zoomStep();

    // Commands from the menus, buttons and shortcuts; the platform's help request.
    void OnCommand(int command);
    void OnHelpRequest() { showHelp(); }
    void showHelp();
    void uncheckPuzzleItems();

    // The seed of the next scramble, when a test wants a known one; 0 asks the platform.
    void setScrambleSeed(unsigned seed) { scrambleSeed_ = seed; }

private:
    void turnAxis(int axis, int dir);
    void animateAxisTurn(int axis, int dir, int turningLayer);
    void animateCornerTurn(int dir, int corner);
    void performTurn(int op, int dir, int corner);
    void finishTurn();
    void presentFrame();
    void setUndoButton(bool enabled);
    void chooseBackground(int colour);
    void choosePen(int command);
    void chooseTypeItem(int command, int type, int level);
    int readSettings();

    Platform& platform_;
    Canvas& canvas_;
    RuntimeRandom random_;
    unsigned scrambleSeed_ = 0;
};

} // namespace korvane
