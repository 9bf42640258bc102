#include "app/puzzle_dialog.h"

#include "app/commands.h"
#include "model/game_rules.h"

namespace korvane {

namespace {
const char kConfig[] = "Config";

// The pen commands: which pen each selects and the "PenW" it stores. The marks are set in this
// order, each item marked exactly when it is the chosen one.
struct PenChoice {
    int command;
    Pen pen;
    int stored;
};
constexpr PenChoice kPenChoices[] = {
    {kCmdPenThin, Pen::Thin, 2},
    {kCmdPenThick, Pen::Thick, 1},
    {kCmdPenNone, Pen::Null, 0},
};

// Commands that build a new puzzle, or scramble this one: they finish a running turn at once.
bool replacesPuzzle(int command) {
    return command == kCmdNewGame || command == kCmdTraining || command == kCmdSphere ||
           (command >= kCmdCube2Extra && command <= kCmdCube5Extra) ||
           (command >= kCmdCubeLevel1 && command <= kCmdPiracube);
}
} // namespace

// A command while a turn runs: Exit at once, one that replaces the puzzle after finishing the
// turn (and whatever waited) at once and, in a timed game, only when the player agrees to
// abandon it; any other after the turn, in order with the input.
void PuzzleDialog::OnCommand(int command) {
    endReplay(); // a command speaks to the game, not to the replay
    if (command == kCmdExit) {
        runCommand(command);
    } else if (replacesPuzzle(command)) {
        finishAtOnce();
        if (confirmAbandon()) {
            abandonRunningGame();
            runCommand(command);
        }
    } else {
        handleInput({PendingInput::Kind::Command, command, 0, {}});
    }
}

// Every command that reaches the window, by number range. Type commands build and draw before
// they touch the marks; background and pen commands draw, then mark, then store.
void PuzzleDialog::runCommand(int command) {
    using Handler = void (*)(PuzzleDialog&, int);
    struct Entry {
        int first;
        int last;
        Handler run;
    };
    static constexpr Entry kCommands[] = {
        {kCmdNewGame, kCmdNewGame, [](PuzzleDialog& d, int) { d.newGame(); }},
        {kCmdTraining, kCmdTraining,
         [](PuzzleDialog& d, int) {
             d.buildPuzzle(d.puzzle_.puzzleType, sizeLevel(d.puzzle_));
             d.redraw();
         }},
        {kCmdHighscores, kCmdHighscores,
         [](PuzzleDialog& d, int) {
             const int table = highscoreTable(d.puzzle_.puzzleType, d.puzzle_.size);
             d.withClockHeld(
                 [&] { d.platform_.showHighscoreDialog(table >= 0 ? table : 0, -1, -1); });
         }},
        {kCmdAbout, kCmdAbout,
         [](PuzzleDialog& d, int) { d.withClockHeld([&] { d.platform_.showAboutBox(); }); }},
        {kCmdPause, kCmdPause, [](PuzzleDialog& d, int) { d.togglePause(); }},
        {kCmdExit, kCmdExit, [](PuzzleDialog& d, int) { d.platform_.closeWindow(); }},
        {kCmdBlack, kCmdWhite, [](PuzzleDialog& d, int c) { d.chooseBackground(c - kCmdBlack); }},
        {kCmdCubeLevel1, kCmdPiracube, [](PuzzleDialog& d, int c) { d.chooseTypeItem(c); }},
        {kCmdUndo, kCmdUndo, [](PuzzleDialog& d, int) { d.undoMove(); }},
        {kCmdRedo, kCmdRedo, [](PuzzleDialog& d, int) { d.redoMove(); }},
        {kCmdHint, kCmdHint, [](PuzzleDialog& d, int) { d.showHint(); }},
        {kCmdHelp, kCmdHelp, [](PuzzleDialog& d, int) { d.showHelp(); }},
        {kCmdCube2Extra, kCmdCube5Extra,
         [](PuzzleDialog& d, int c) {
             d.buildPuzzle(kCube, c - (kCmdCube2Extra - 2));
             d.redraw();
         }},
        {kCmdSphere, kCmdSphere,
         [](PuzzleDialog& d, int) {
             d.buildPuzzle(kSphere, 2);
             d.redraw();
             d.uncheckPuzzleItems();
         }},
        {kCmdPenNone, kCmdPenThick, [](PuzzleDialog& d, int c) { d.choosePen(c); }},
        {kCmdPenThin, kCmdPenThin, [](PuzzleDialog& d, int c) { d.choosePen(c); }},
        {kCmdColourSymbols, kCmdColourBlindPalette,
         [](PuzzleDialog& d, int c) { d.toggleColourAid(c); }},
    };
    for (const Entry& entry : kCommands) {
        if (command >= entry.first && command <= entry.last) {
            entry.run(*this, command);
            return;
        }
    }
}

void PuzzleDialog::chooseTypeItem(int command) {
    const TypeChoice choice = typeMenuChoice(command);
    if (choice.puzzleType == 0) {
        return;
    }
    buildPuzzle(choice.puzzleType, choice.level);
    redraw();
    uncheckPuzzleItems();
    platform_.checkMenuItem(command, true);
}

void PuzzleDialog::uncheckPuzzleItems() {
    platform_.checkMenuItem(kCmdPiracube, false);
    for (int item = kCmdCubeLevel1; item <= kCmdTetraLevel4; ++item) {
        platform_.checkMenuItem(item, false);
    }
}

void PuzzleDialog::chooseBackground(int colour) {
    view_.bgColour = colour;
    redraw();
    platform_.checkMenuItem(kCmdBlack, colour == 0);
    platform_.checkMenuItem(kCmdWhite, colour == 1);
    platform_.writeInt(kConfig, "BkColor", colour);
}

void PuzzleDialog::choosePen(int command) {
    int stored = 0;
    for (const PenChoice& choice : kPenChoices) {
        if (choice.command == command) {
            canvas_.selectPen(choice.pen);
            stored = choice.stored;
        }
    }
    redraw();
    for (const PenChoice& choice : kPenChoices) {
        platform_.checkMenuItem(choice.command, choice.command == command);
    }
    platform_.writeInt(kConfig, "PenW", stored);
}

// Each request starts a new viewer on the game's page at its table of contents.
void PuzzleDialog::showHelp() {
    platform_.startHelpViewer("PegHelp.exe", "Korvane.htm#MAIN_CONTENTS");
}

// The colour aid's options: each turns on or off, redraws, marks its item and is stored.
void PuzzleDialog::toggleColourAid(int command) {
    const bool symbols = command == kCmdColourSymbols;
    bool& option = symbols ? view_.colourSymbols : view_.colourBlindPalette;
    option = !option;
    redraw();
    platform_.checkMenuItem(command, option);
    platform_.writeInt(kConfig, symbols ? "Symbols" : "Palette", option ? 1 : 0);
}

} // namespace korvane
