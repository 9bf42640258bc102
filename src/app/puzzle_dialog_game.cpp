#include "app/puzzle_dialog.h"

#include <algorithm>

#include "app/commands.h"
#include "app/highscores.h"
#include "model/game_rules.h"

namespace korvane {

namespace {
const char kHighScores[] = "HighScores";
const char kTitle[] = "Korvane";
} // namespace

// New Game: 19 animated turns that are neither recorded nor counted, then the clock starts.
void PuzzleDialog::newGame() {
    setUndoButton(false);
    g.moveCount = 0;
    g.clockRunning = 0;
    g.undoState = 1;
    random_.srand(scrambleSeed_ != 0 ? scrambleSeed_ : platform_.randomSeed());
    ScrambleTurn turns[kScrambleTurns];
    const int count = planScramble(g.puzzleType, sizeLevel(g), random_, turns);
    for (int i = 0; i < count; ++i) {
        g.layer = turns[i].layer;
        performTurn(turns[i].op, turns[i].dir, turns[i].corner);
    }
    g.undoState = -1;
    setUndoButton(false);
    platform_.killTimer(kClockTimer);
    g.startTime = platform_.nowSeconds();
    g.clockRunning = 1;
    platform_.setTimer(kClockTimer, kClockPeriodMs);
}

// Called at the start of a turn. With undoState 1 it performs the undo of the last move
// instead of recording one.
void PuzzleDialog::recordMove(int kind, int dir, int corner) {
    if (g.undoState == 1) {
        g.moveCount -= 1;
        performTurn(g.lastMoveKind, g.lastMoveDir, g.lastMoveCorner);
        g.undoState = -1;
        setUndoButton(false);
        return;
    }
    g.lastMoveCorner = corner;
    g.lastMoveKind = kind;
    g.lastMoveDir = -dir;
    g.moveCount += 1;
    if (g.undoState == -1) {
        setUndoButton(true);
    }
    g.undoState = 0;
}

void PuzzleDialog::undoMove() {
    if (g.undoState != 0) {
        return;
    }
    g.undoState = 1;
    recordMove(-1, -1, -1);
}

// After each turn of a timed game: when every face shows one colour the game ends, the puzzle
// is rebuilt solved, the player is told, and the result goes to the puzzle's highscores.
void PuzzleDialog::checkSolved() {
    if (!isSolved(g)) {
        return;
    }
    const int moves = g.moveCount;
    g.clockNow = platform_.nowSeconds();
    g.elapsedSeconds = static_cast<int>(std::max<std::int64_t>(0, g.clockNow - g.startTime));
    buildPuzzle(g.puzzleType, sizeLevel(g));
    platform_.messageBox("You did it.", kTitle);
    redraw();
    const int table = highscoreTable(g.puzzleType, g.size);
    if (table >= 0) {
        enterResult(table, moves, g.elapsedSeconds);
    }
    platform_.showHighscoreDialog(table >= 0 ? table : 0);
}

// Re-reads both lists under the highscore lock, so results entered meanwhile by another copy
// of the game are kept, and writes them back in the stored form.
void PuzzleDialog::enterResult(int table, int moves, int seconds) {
    if (table < 0 || table >= kHighscoreTables) {
        return;
    }
    platform_.lockHighscores();
    const std::string empty = emptyHighscoreText();
    HighscoreList movesList =
        parseHighscoreText(platform_.readString(kHighScores, movesValueName(table), empty));
    HighscoreList timeList =
        parseHighscoreText(platform_.readString(kHighScores, timeValueName(table), empty));
    insertResult(movesList, moves);
    insertResult(timeList, seconds);
    platform_.writeString(kHighScores, movesValueName(table), formatHighscoreText(movesList));
    platform_.writeString(kHighScores, timeValueName(table), formatHighscoreText(timeList));
    platform_.unlockHighscores();
}

} // namespace korvane
