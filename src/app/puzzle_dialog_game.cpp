#include "app/puzzle_dialog.h"

#include <algorithm>

#include "app/commands.h"
#include "app/highscores.h"
#include "model/game_rules.h"
#include "model/puzzle_kind.h"

namespace korvane {

namespace {
const char kHighScores[] = "HighScores";
const char kTitle[] = "Korvane";
} // namespace

// New Game: 19 animated turns that are neither recorded nor counted, then the clock starts. A
// puzzle without colours (the sphere) has no game to win: it is shown afresh, no clock runs.
void PuzzleDialog::newGame() {
    const PuzzleKind* kind = puzzleKind(puzzle_.puzzleType);
    if (kind == nullptr || kind->colourFaces == 0) {
        buildPuzzle(puzzle_.puzzleType, sizeLevel(puzzle_));
        redraw();
        return;
    }
    setUndoButton(false);
    forgetKeptGame();
    paused_ = false;
    shownResult_.reset();
    record_.moveCount = 0;
    record_.clockRunning = 0;
    record_.undoState = 1;
    random_.srand(scrambleSeed_ != 0 ? scrambleSeed_ : platform_.randomSeed());
    Move turns[kScrambleTurns];
    const int count = drawScramble(turns);
    keepScrambleReplayable(turns, count);
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
    record_.startMs = platform_.nowMilliseconds();
    record_.moveMs.clear();
    record_.undoUsed = false;
    record_.clockRunning = 1;
    stoppedElapsed_ = 0;
    if (clockHolds_ == 0) {
        platform_.setTimer(kClockTimer, kClockPeriodMs);
    }
}

// Called at the start of a turn the player makes: the move becomes the one undo takes back.
void PuzzleDialog::recordMove(const Move& move) {
    record_.lastMove = move;
    record_.moves.push_back(move);
    record_.moveMs.push_back(platform_.nowMilliseconds() - record_.startMs);
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
    if (!record_.moveMs.empty()) {
        record_.moveMs.pop_back();
    }
    record_.undoUsed = true;
    undoing_ = true;
    startTurn(record_.lastMove.inverse());
}

// After each turn of a timed game: when every face shows one colour the game ends, the puzzle
// is rebuilt solved, the result goes to the puzzle's highscores and the player is told how the
// game went; the strip goes on showing its moves and time. A result that entered a table is
// shown marked in it.
void PuzzleDialog::checkSolved() {
    if (!isSolved(puzzle_)) {
        return;
    }
    const int moves = record_.moveCount;
    const int seconds = elapsedSeconds();
    record_.clockNow = platform_.nowSeconds();
    record_.elapsedSeconds = seconds;
    recordGame(false);
    const std::string par = parText(moves);
    buildPuzzle(puzzle_.puzzleType, sizeLevel(puzzle_));
    shownResult_.emplace(moves, seconds);
    const int table = highscoreTable(puzzle_.puzzleType, puzzle_.size);
    const ResultPlaces places = table >= 0 ? enterResult(table, moves, seconds) : ResultPlaces{};
    const std::string text = resultText(table, moves, seconds, places);
    withClockHeld([&] { platform_.messageBox(par.empty() ? text : text + "\n" + par, kTitle); });
    redraw();
    if (table < 0 || places.moves >= 0 || places.time >= 0) {
        withClockHeld(
            [&] { platform_.showHighscoreDialog(std::max(table, 0), places.moves, places.time); });
    }
}

// "You did it." and how: the moves and the time, and, for a result that entered no list, how
// far it was from the tenth place.
std::string PuzzleDialog::resultText(int table, int moves, int seconds,
                                     const ResultPlaces& places) const {
    std::string text = "You did it.\n\n" + std::to_string(moves) +
                       (moves == 1 ? " move in " : " moves in ") + minutesAndSeconds(seconds) + ".";
    if (table >= 0 && places.moves < 0 && places.time < 0) {
        text += "\nNot among the ten best: the tenth place has " +
                std::to_string(places.tenthMoves) + " moves and " +
                minutesAndSeconds(places.tenthSeconds) + "; this game took " +
                std::to_string(moves - places.tenthMoves) + " moves and " +
                minutesAndSeconds(seconds - places.tenthSeconds) + " more.";
    }
    return text;
}

// Re-reads both lists under the highscore lock, so results entered meanwhile by another copy
// of the game are kept, and writes them back in the stored form.
PuzzleDialog::ResultPlaces PuzzleDialog::enterResult(int table, int moves, int seconds) {
    ResultPlaces places;
    if (table < 0 || table >= kHighscoreTables) {
        return places;
    }
    platform_.lockHighscores();
    const std::string empty = emptyHighscoreText();
    HighscoreList movesList =
        parseHighscoreText(platform_.readString(kHighScores, movesValueName(table), empty));
    HighscoreList timeList =
        parseHighscoreText(platform_.readString(kHighScores, timeValueName(table), empty));
    places.moves = insertResultAt(movesList, moves);
    places.time = insertResultAt(timeList, seconds);
    places.tenthMoves = movesList.value[kHighscorePlaces - 1];
    places.tenthSeconds = timeList.value[kHighscorePlaces - 1];
    platform_.writeString(kHighScores, movesValueName(table), formatHighscoreText(movesList));
    platform_.writeString(kHighScores, timeValueName(table), formatHighscoreText(timeList));
    platform_.unlockHighscores();
    return places;
}

} // namespace korvane
