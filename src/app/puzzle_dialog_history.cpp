#include <algorithm>
#include <cstring>
#include <memory>

#include "app/commands.h"
#include "app/puzzle_dialog.h"
#include "model/puzzle_build.h"
#include "model/puzzle_kind.h"
#include "model/turns.h"

namespace korvane {

namespace {

// Scrambles drawn again at most this often for being too near solved; far more than ever needed
// (one in a few hundred scrambles of the small puzzles is), and it keeps a draw bounded.
constexpr int kMaxScrambleDraws = 64;

// The puzzle as a scramble leaves it, without animating anything.
std::unique_ptr<Puzzle> scrambled(const Puzzle& puzzle, const Move* turns, int count) {
    auto copy = std::make_unique<Puzzle>(puzzle);
    for (int i = 0; i < count; ++i) {
        applyMove(*copy, turns[i]);
    }
    return copy;
}

} // namespace

// The game's 19 random turns; where the puzzle's distances are known, a scramble nearer to
// solved than competitions accept is drawn again from the same generator, so the accepted one
// keeps the game's draw order, and its distance becomes the game's par.
int PuzzleDialog::drawScramble(Move turns[kScrambleTurns]) {
    const DistanceTable* table = platform_.distanceTable(puzzle_.puzzleType, sizeLevel(puzzle_));
    record_.par = -1;
    int count = 0;
    for (int draw = 0; draw < kMaxScrambleDraws; ++draw) {
        count = planScramble(puzzle_.puzzleType, sizeLevel(puzzle_), random_, turns);
        if (table == nullptr) {
            break;
        }
        const auto after = scrambled(puzzle_, turns, count);
        record_.par = table->distance(*after);
        if (!belowCompetitionMinimum(*table, *after)) {
            break;
        }
    }
    return count;
}

// New Game scrambles the puzzle as it stands. So that the stored scramble always rebuilds the
// game from a freshly built puzzle (for the history's replays and a kept game), a puzzle that
// is not as built keeps the turns that made it (the last scramble and the moves since) in front
// of the new ones.
void PuzzleDialog::keepScrambleReplayable(const Move* turns, int count) {
    auto fresh = std::make_unique<Puzzle>();
    buildPuzzleState(*fresh, puzzle_.puzzleType, sizeLevel(puzzle_));
    if (std::memcmp(fresh->stickerColour, puzzle_.stickerColour, sizeof fresh->stickerColour) ==
        0) {
        record_.scramble.clear();
    } else {
        record_.scramble.insert(record_.scramble.end(), record_.moves.begin(), record_.moves.end());
    }
    record_.scramble.insert(record_.scramble.end(), turns, turns + count);
    record_.moves.clear();
    record_.moveMs.clear();
}

// A game begun before its puzzle's distances were at hand learns its par when it ends: the
// stored scramble rebuilds its start from a fresh puzzle.
void PuzzleDialog::learnPar() {
    const DistanceTable* table = platform_.distanceTable(puzzle_.puzzleType, sizeLevel(puzzle_));
    if (record_.par >= 0 || table == nullptr) {
        return;
    }
    auto start = std::make_unique<Puzzle>();
    buildPuzzleState(*start, puzzle_.puzzleType, sizeLevel(puzzle_));
    for (const Move& m : record_.scramble) {
        applyMove(*start, m);
    }
    record_.par = table->distance(*start);
}

// The moves as the history keeps them, each with its time since the clock started.
std::vector<TimedMove> PuzzleDialog::timedMoves() const {
    std::vector<TimedMove> log;
    for (std::size_t i = 0; i < record_.moves.size(); ++i) {
        log.push_back({record_.moves[i], i < record_.moveMs.size() ? record_.moveMs[i] : 0});
    }
    return log;
}

// One timed game into the history, finished or abandoned; a store that fails is told once.
void PuzzleDialog::recordGame(bool abandoned) {
    SolveHistory* history = platform_.solveHistory();
    if (history == nullptr || record_.clockRunning == 0) {
        return;
    }
    learnPar();
    SolveRecord game;
    game.puzzle = {puzzle_.puzzleType, sizeLevel(puzzle_)};
    game.endedUtcMs = platform_.utcMilliseconds();
    game.moves = record_.moveCount;
    game.seconds = record_.elapsedSeconds;
    game.undoUsed = record_.undoUsed;
    game.abandoned = abandoned;
    game.par = record_.par;
    game.scramble = record_.scramble;
    game.moveLog = timedMoves();
    if (!history->record(game)) {
        const std::string notice = history->takeNotice();
        if (!notice.empty()) {
            platform_.messageBox(notice, "Korvane");
        }
    }
}

// A timed game the player leaves for another: kept in the history as abandoned.
void PuzzleDialog::abandonRunningGame() {
    if (record_.clockRunning == 0 || scrambling_) {
        return;
    }
    record_.elapsedSeconds = elapsedSeconds();
    recordGame(true);
    record_.clockRunning = 0;
}

// "Par: 9 moves, efficiency 82 %": the fewest moves the scramble needed and how near the
// player came; empty where the par is not known.
std::string PuzzleDialog::parText(int moves) {
    learnPar();
    if (record_.par < 0) {
        return {};
    }
    const int efficiency = moves > 0 ? (100 * record_.par + moves / 2) / moves : 100;
    return "Par: " + std::to_string(record_.par) + " moves, efficiency " +
           std::to_string(efficiency) + " %";
}

void PuzzleDialog::startReplay(const SolveRecord& game) {
    endReplay();
    finishAtOnce();
    if (timedGame() && !paused_) {
        setPaused(true);
    }
    hint_.reset();
    replay_ = std::make_unique<Replay>(Replay{puzzle_, record_, view_, paused_, stoppedElapsed_,
                                              game.moveLog, 0, 0, game.seconds});
    paused_ = false;
    platform_.killTimer(kClockTimer);
    buildPuzzleState(puzzle_, game.puzzle.kind, game.puzzle.level);
    for (const Move& m : game.scramble) {
        if (moveFits(puzzle_, m)) {
            applyMove(puzzle_, m);
        }
    }
    record_ = GameRecord{};
    record_.clockRunning = 1;
    record_.startTime = platform_.nowSeconds();
    setUndoButton(false);
    replay_->startMs = platform_.nowMilliseconds();
    platform_.setTimer(kClockTimer, kClockPeriodMs);
    platform_.setTimer(kReplayTimer, kReplayPeriodMs);
    redraw();
}

// The next recorded move once its time has come and the last one has been shown; after the
// last, the clock stops at the game's own time and the end position stays until the player
// ends the replay.
void PuzzleDialog::replayStep() {
    if (!replay_ || running_) {
        return;
    }
    const std::int64_t elapsed = platform_.nowMilliseconds() - replay_->startMs;
    if (replay_->next < replay_->log.size()) {
        const TimedMove& step = replay_->log[replay_->next];
        if (step.ms <= elapsed && moveFits(puzzle_, step.move)) {
            record_.moveCount = static_cast<int>(++replay_->next);
            startTurn(step.move);
        } else if (!moveFits(puzzle_, step.move)) {
            ++replay_->next; // a damaged record: the move is skipped, the replay goes on
        }
        return;
    }
    record_.clockRunning = 0;
    record_.elapsedSeconds = replay_->seconds;
    platform_.killTimer(kReplayTimer);
    platform_.killTimer(kClockTimer);
    platform_.repaintNow();
}

bool PuzzleDialog::endReplay() {
    if (!replay_) {
        return false;
    }
    finishAtOnce();
    platform_.killTimer(kReplayTimer);
    platform_.killTimer(kClockTimer);
    puzzle_ = replay_->puzzle;
    record_ = replay_->record;
    view_ = replay_->view;
    paused_ = replay_->paused;
    stoppedElapsed_ = replay_->stoppedElapsed;
    replay_.reset();
    if (record_.clockRunning == 1 && !clockStopped()) {
        platform_.setTimer(kClockTimer, kClockPeriodMs);
    }
    setUndoButton(record_.undoState == 0);
    redraw();
    return true;
}

} // namespace korvane
