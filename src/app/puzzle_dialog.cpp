#include "app/puzzle_dialog.h"

#include <algorithm>
#include <cstring>

#include "app/commands.h"
#include "app/settings.h"
#include "model/puzzle_build.h"
#include "model/puzzle_kind.h"
#include "render/renderer.h"
#include "render/status_line.h"
#include "render/zoom_limit.h"

namespace korvane {

namespace {
const char kConfig[] = "Config";
} // namespace

PuzzleDialog::PuzzleDialog(Platform& platform, Canvas& backBuffer)
    : platform_(platform), canvas_(backBuffer) {}

// The window exists and its drawing resources are made by the platform; what is left is the
// game's own start: the stored choices and their check marks, the view, the first puzzle.
bool PuzzleDialog::OnInitDialog() {
    view_ = View{};
    gesture_ = Gesture{};
    puzzle_.puzzleType = kPiracube;
    const int level = readSettings();
    canvas_.selectPen(Pen::Null);
    buildPuzzle(puzzle_.puzzleType, level);
    resumeKeptGame();
    pictureLost_ = true; // the first paint draws the whole puzzle
    return true;
}

// Reads "BkColor", "Figura" and "Nivel", puts back defaults for values the game cannot use,
// and marks the background and Type items. Returns the level to build.
int PuzzleDialog::readSettings() {
    const int bk = platform_.readInt(kConfig, "BkColor", 0);
    const int figura = platform_.readInt(kConfig, "Figura", 3);
    const int nivel = platform_.readInt(kConfig, "Nivel", 2);
    const StartupChoice choice = validateStartupChoice(bk, figura, nivel);
    view_.bgColour = choice.bgColour;
    // The colour aid: on only when stored as 1; anything else is off.
    view_.colourSymbols = platform_.readInt(kConfig, "Symbols", 0) == 1;
    view_.colourBlindPalette = platform_.readInt(kConfig, "Palette", 0) == 1;
    platform_.checkMenuItem(kCmdColourSymbols, view_.colourSymbols);
    platform_.checkMenuItem(kCmdColourBlindPalette, view_.colourBlindPalette);
    platform_.checkMenuItem(kCmdBlack, view_.bgColour == 0);
    platform_.checkMenuItem(kCmdWhite, view_.bgColour == 1);
    puzzle_.puzzleType = choice.puzzleType;
    const int item = typeMenuItem(choice.puzzleType, choice.level);
    if (item != 0) {
        platform_.checkMenuItem(item, true);
    }
    return choice.level;
}

// The window goes: a timed game is kept for the next start; a running turn or scramble stops
// where it is.
void PuzzleDialog::OnDestroy() {
    keepGameOnQuit();
    platform_.stopFrameClock();
    running_.reset();
    scrambleLeft_.clear();
    scrambling_ = false;
    pending_.clear();
    platform_.killTimer(kClockTimer);
}

void PuzzleDialog::paintWindow() {
    if (pictureLost_) {
        drawPicture();
    }
    if (shownResult_) {
        // The game just won: its moves and time stay in the strip.
        GameRecord result;
        result.clockRunning = 1;
        result.moveCount = shownResult_->first;
        composeStatusLine(result, canvas_, shownResult_->second);
    } else {
        // While the clock stands still the strip shows the seconds it stopped at.
        composeStatusLine(record_, canvas_, record_.startTime + elapsedSeconds());
    }
    drawPressedButton();
}

void PuzzleDialog::redraw() {
    drawPicture();
    platform_.repaintNow();
}

void PuzzleDialog::refreshPicture() {
    drawPicture();
    platform_.repaintNow();
}

// The running turn's frame drawn again from the geometry it was drawn from (the same steps give
// the same geometry after it), or the whole puzzle.
// The Hint item follows the picture: offered only where showHint would give one.
void PuzzleDialog::drawPicture() {
    pictureLost_ = false;
    platform_.enableButton(kCmdHint, hintOffered());
    if (paused_) {
        drawPausedPicture();
        return;
    }
    if (!running_) {
        drawWholePuzzle(puzzle_, view_, canvas_, screen_);
        drawOverlay();
        return;
    }
    std::memcpy(puzzle_.corner, frameStart_.corner, sizeof frameStart_.corner);
    std::memcpy(puzzle_.faceNormal, frameStart_.faceNormal, sizeof frameStart_.faceNormal);
    *running_ = frameStart_.frames;
    drawTurnFrame(puzzle_, view_, *running_, canvas_);
}

// A new, solved puzzle in the standard view; the game stops and the choice is stored.
void PuzzleDialog::buildPuzzle(int type, int level) {
    platform_.killTimer(kClockTimer);
    forgetKeptGame();
    buildPuzzleState(puzzle_, type, level);
    paused_ = false;
    shownResult_.reset();
    record_.moveCount = 0;
    record_.clockRunning = 0;
    record_.undoState = -1;
    record_.lastMove = Move{};
    record_.scramble.clear();
    record_.moves.clear();
    record_.moveMs.clear();
    record_.par = -1;
    hint_.reset();
    clearRedo();
    gesture_.gestureState = 0;
    view_.zoom = std::min(view_.zoom, zoomLimit(puzzle_, view_));
    setUndoButton(false);
    const PuzzleKind* kind = puzzleKind(type);
    if (kind != nullptr && !kind->keepsPen) {
        canvas_.selectPen(Pen::Null);
    }
    platform_.writeInt(kConfig, "Figura", type);
    platform_.writeInt(kConfig, "Nivel", sizeLevel(puzzle_));
}

void PuzzleDialog::setUndoButton(bool enabled) {
    platform_.enableButton(kCmdUndo, enabled);
}

} // namespace korvane
