#include "app/puzzle_dialog.h"

#include "app/commands.h"
#include "app/settings.h"
#include "model/puzzle_build.h"
#include "render/renderer.h"
#include "render/status_line.h"

namespace korvane {

namespace {
const char kConfig[] = "Config";
} // namespace

PuzzleDialog::PuzzleDialog(Platform& platform, Canvas& backBuffer)
    : platform_(platform), canvas_(backBuffer) {}

// The window exists and its drawing resources are made by the platform; what is left is the
// game's own start: the stored choices and their check marks, the view, the first puzzle.
bool PuzzleDialog::OnInitDialog() {
    g.bgColour = 0;
    g.puzzleType = kPiracube;
    const int level = readSettings();
    g.moveCount = 0;
    g.clockRunning = 0;
    g.degToRad = 0.017453292519943278;
    g.centreX = 120.0;
    g.centreY = 145.0;
    g.zoomDir = 0;
    canvas_.selectPen(Pen::Null);
    g.zoom = 1.2;
    buildPuzzle(g.puzzleType, level);
    g.renderMode = 1; // the first paint draws the whole puzzle
    g.spinActive = 0;
    return true;
}

// Reads "BkColor", "Figura" and "Nivel", puts back defaults for values the game cannot use,
// and marks the background and Type items. Returns the level to build.
int PuzzleDialog::readSettings() {
    const int bk = platform_.readInt(kConfig, "BkColor", 0);
    const int figura = platform_.readInt(kConfig, "Figura", 3);
    const int nivel = platform_.readInt(kConfig, "Nivel", 2);
    const StartupChoice choice = validateStartupChoice(bk, figura, nivel);
    g.bgColour = choice.bgColour;
    platform_.checkMenuItem(kCmdBlack, g.bgColour == 0);
    platform_.checkMenuItem(kCmdWhite, g.bgColour == 1);
    g.puzzleType = choice.puzzleType;
    const int item = typeMenuItem(choice.puzzleType, choice.level);
    if (item != 0) {
        platform_.checkMenuItem(item, true);
    }
    return choice.level;
}

void PuzzleDialog::OnDestroy() {
    platform_.killTimer(kClockTimer);
}

void PuzzleDialog::paintWindow() {
    renderPuzzle();
    composeStatusLine(g, canvas_, platform_.nowSeconds());
}

void PuzzleDialog::redraw() {
    g.renderMode = 1;
    renderPuzzle();
    g.renderMode = 0;
    platform_.repaintNow();
}

void PuzzleDialog::drawPart() {
    g.renderMode = 2;
    renderPuzzle();
}

void PuzzleDialog::renderPuzzle() {
    korvane::renderPuzzle(g, canvas_);
}

// A new, solved puzzle in the standard view; the game stops and the choice is stored.
void PuzzleDialog::buildPuzzle(int type, int level) {
    platform_.killTimer(kClockTimer);
    buildPuzzleState(g, type, level);
    setUndoButton(false);
    if (type == kCube || type == kTetrahedron) {
        canvas_.selectPen(Pen::Null);
    }
    platform_.writeInt(kConfig, "Figura", type);
    platform_.writeInt(kConfig, "Nivel", sizeLevel(g));
}

void PuzzleDialog::setUndoButton(bool enabled) {
    platform_.enableButton(kCmdUndo, enabled);
}

} // namespace korvane
