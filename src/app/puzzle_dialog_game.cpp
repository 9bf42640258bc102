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
    record_.moveCount = 0;
    record_.clockRunning = 0;
    record_.undoState = 1;
    random_.srand(scrambleSeed_ != 0 ? scrambleSeed_ : platform_.randomSeed());
    Move turns[kScrambleTurns];
    const int count = planScramble(puzzle_.puzzleType, sizeLevel(puzzle_), random_, turns);
    record_.scramble.assign(turns, turns + count);
    record_.moves.clear();
    scrambleLeft_.assign(turns, turns + count);
    scrambling_ = true;
    afterTurn();
}

void PuzzleDialog::endScramble() {
    scrambling_ = false;
    record_.undoState = -1;
    setUndoButton(false);
    platform_.killTimer(kClockTimer);
    record_.startTime = platform_.nowSeconds();
    record_.clockRunning = 1;
    platform_.setTimer(kClockTimer, kClockPeriodMs);
}

// Called at the start of a turn the player makes: the move becomes the one undo takes back.
void PuzzleDialog::recordMove(const Move& move) {
    record_.lastMove = move;
    record_.moves.push_back(move);
    record_.moveCount += 1;
    if (record_.undoState == -1) {
        setUndoButton(true);
    }
    record_.undoState = 0;
}

// One level of undo: the last move turned back (animated, not recorded) and no longer counted.
void PuzzleDialog::undoMove() {
    if (record_.undoState != 0) {
        return;
    }
    record_.undoState = 1;
    record_.moveCount -= 1;
    if (!record_.moves.empty()) {
        record_.moves.pop_back();
    }
    undoing_ = true;
    startTurn(record_.lastMove.inverse());
}

// After each turn of a timed game: when every face shows one colour the game ends, the puzzle
// is rebuilt solved, the player is told, and the result goes to the puzzle's highscores.
void PuzzleDialog::checkSolved() {
    if (!isSolved(puzzle_)) {
        return;
    }
    const int moves = record_.moveCount;
    record_.clockNow = platform_.nowSeconds();
    record_.elapsedSeconds =
        static_cast<int>(std::max<std::int64_t>(0, record_.clockNow - record_.startTime));
    buildPuzzle(puzzle_.puzzleType, sizeLevel(puzzle_));
    platform_.messageBox("You did it.", kTitle);
    redraw();
    const int table = highscoreTable(puzzle_.puzzleType, puzzle_.size);
    if (table >= 0) {
        enterResult(table, moves, record_.elapsedSeconds);
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
