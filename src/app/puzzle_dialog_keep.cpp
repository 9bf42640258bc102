#include "app/puzzle_dialog.h"

#include <algorithm>
#include <climits>

#include "app/commands.h"
#include "app/kept_game.h"
#include "render/animation.h"

namespace korvane {

namespace {
const char kTitle[] = "Korvane";

// The "Paused" picture: a panel with the pause sign and the word, over the background.
constexpr Brush kPanelBrush{{208, 208, 208}};
constexpr int kPanel[4] = {60, 146, 180, 180};
constexpr Point kPauseBars[2][4] = {
    {{84, 154}, {90, 154}, {90, 172}, {84, 172}},
    {{94, 154}, {100, 154}, {100, 172}, {94, 172}},
};
constexpr int kPausedText[4] = {100, 152, 158, 174};
} // namespace

int PuzzleDialog::elapsedSeconds() {
    if (clockStopped()) {
        return stoppedElapsed_;
    }
    const std::int64_t elapsed = platform_.nowSeconds() - record_.startTime;
    return static_cast<int>(std::clamp<std::int64_t>(elapsed, 0, INT_MAX));
}

// The clock stops when the game is paused or a box of ours opens, and goes on when neither is
// left: it starts again as many seconds back as it had run.
void PuzzleDialog::changeClock(bool paused, int holds) {
    const bool wasStopped = clockStopped();
    const int elapsed = elapsedSeconds();
    paused_ = paused;
    clockHolds_ = std::max(0, holds);
    if (record_.clockRunning != 1 || wasStopped == clockStopped()) {
        return;
    }
    if (wasStopped) {
        record_.startTime = platform_.nowSeconds() - stoppedElapsed_;
        platform_.setTimer(kClockTimer, kClockPeriodMs);
    } else {
        stoppedElapsed_ = elapsed;
        platform_.killTimer(kClockTimer);
    }
}

void PuzzleDialog::OnPauseRequest() {
    handleInput({PendingInput::Kind::Pause, 0, 0, {}});
}

// Any key goes on with a paused game.
bool PuzzleDialog::OnKeyDown() {
    if (endReplay()) {
        return true;
    }
    if (paused_) {
        setPaused(false);
        redraw();
        return true;
    }
    return false;
}

void PuzzleDialog::drawPausedPicture() {
    const Brush background = view_.bgColour == 0 ? kBlackBrush : kWhiteBrush;
    const Brush oldBrush = canvas_.selectBrush(background);
    const Pen oldPen = canvas_.selectPen(Pen::Null);
    canvas_.rectangle(0, 0, kBackBufferWidth, kBackBufferHeight);
    canvas_.selectBrush(kPanelBrush);
    canvas_.selectPen(Pen::Thin);
    canvas_.rectangle(kPanel[0], kPanel[1], kPanel[2], kPanel[3]);
    canvas_.selectBrush(kBlackBrush);
    canvas_.selectPen(Pen::Null);
    for (const auto& bar : kPauseBars) {
        canvas_.polygon(bar, 4);
    }
    canvas_.drawTextRight("Paused", kPausedText[0], kPausedText[1], kPausedText[2], kPausedText[3]);
    canvas_.selectBrush(oldBrush);
    canvas_.selectPen(oldPen);
}

// New Game, Training or a Type choice would end a timed game: the player says whether to.
bool PuzzleDialog::confirmAbandon() {
    if (!timedGame()) {
        return true;
    }
    return withClockHeld([this] {
        return platform_.askYesNo(
            "Abandon the game in play? It goes into your history as abandoned.", kTitle);
    });
}

void PuzzleDialog::keepGameOnQuit() {
    endReplay(); // the game on screen before the replay is the one to keep
    if (!timedGame()) {
        platform_.dropKeptGame();
        keptOnDisk_ = false;
        return;
    }
    storeGameInPlay();
}

// The game in play, with the geometry at rest: a turn cut short is played whole by the replay.
void PuzzleDialog::storeGameInPlay() {
    Puzzle rest = puzzle_;
    if (running_) {
        TurnFrames frames = *running_;
        endTurnFrames(rest, frames);
    }
    const int seconds = elapsedSeconds();
    const KeptGame game = keepGame(rest, record_, view_, seconds);
    const Platform::StoreResult result = platform_.storeKeptGame(formatKeptGame(game));
    // Tried once for this state of the game, kept or not: a full disk is not hammered every
    // second, and the next move tries again.
    keptMoves_ = record_.moves.size();
    keptSeconds_ = seconds;
    if (!result.stored) {
        storageFailed("the game in play", result.where, result.why);
        return;
    }
    keptOnDisk_ = true;
}

// A timed game is kept as it goes, not only at quit, so a game killed without warning (a
// power cut, SIGKILL, a crash of the desktop) goes on from its last second with a move or its
// last ten seconds of thought. Between turns only, and never during a replay: the clock's tick
// calls it, and the pause with `always` (the player may be leaving).
void PuzzleDialog::checkpointGame(bool always) {
    constexpr int kThinkingSeconds = 10;
    if (!timedGame() || running_ || replay_) {
        return;
    }
    if (!always && keptOnDisk_ && record_.moves.size() == keptMoves_ &&
        elapsedSeconds() < keptSeconds_ + kThinkingSeconds) {
        return;
    }
    storeGameInPlay();
}

// The game that was kept has ended (won, abandoned or replaced): nothing is left to resume.
void PuzzleDialog::forgetKeptGame() {
    if (keptOnDisk_) {
        platform_.dropKeptGame();
        keptOnDisk_ = false;
    }
}

// The kept game, if there is one the puzzle accepts, goes on paused where it stopped; one that
// cannot is dropped with a line for whoever started the game.
void PuzzleDialog::resumeKeptGame() {
    const std::string text = platform_.loadKeptGame();
    if (text.empty()) {
        return;
    }
    const KeptGameReading reading = parseKeptGame(text);
    std::string problem = reading.problem;
    Puzzle kept;
    View view = view_;
    if (reading.game) {
        problem = restoreKeptGame(*reading.game, kept, view);
    }
    if (!problem.empty()) {
        platform_.logLine("Korvane: the kept game was dropped: " + problem);
        platform_.dropKeptGame();
        return;
    }
    const KeptGame& game = *reading.game;
    buildPuzzle(game.puzzleType, game.level);
    uncheckPuzzleItems();
    if (const int item = typeMenuItem(game.puzzleType, game.level); item != 0) {
        platform_.checkMenuItem(item, true);
    }
    puzzle_ = kept;
    view_ = view;
    record_.scramble = game.scramble;
    record_.moves = game.moves;
    record_.moveCount = static_cast<int>(game.moves.size());
    record_.undoState = game.canUndo ? 0 : -1;
    record_.lastMove = game.canUndo ? game.moves.back() : Move{};
    setUndoButton(game.canUndo);
    record_.clockRunning = 1;
    record_.startTime = platform_.nowSeconds() - game.elapsedSeconds;
    stoppedElapsed_ = game.elapsedSeconds;
    paused_ = true;
    // The file stays as the game's checkpoint until the game ends.
    keptOnDisk_ = true;
    keptMoves_ = record_.moves.size();
    keptSeconds_ = game.elapsedSeconds;
}

void PuzzleDialog::storageFailed(const std::string& what, const std::string& where,
                                 const std::string& why) {
    if (toldStorage_) {
        return;
    }
    toldStorage_ = true;
    platform_.logLine("Korvane: could not write " + what + " to " + where + ": " + why);
    withClockHeld([&] {
        platform_.messageBox("Korvane could not save " + what + " in " + where + " (" + why +
                                 ").\n\nThe game goes on and tries again at the next chance.",
                             kTitle);
    });
}

} // namespace korvane
