#include "app/commands.h"

#include <iterator>

#include "model/puzzle_kind.h"

namespace korvane {

namespace {
using K = MenuEntryKind;
constexpr CheckGroup kNone = CheckGroup::None;
constexpr CheckGroup kPuzzle = CheckGroup::Puzzle;
constexpr CheckGroup kBackground = CheckGroup::Background;
} // namespace

// The menu bar, top to bottom: "File", "Options", "Type". The puzzle items and the background
// items carry marks, one group each; the shortcuts are the desktop's usual ones for the same
// commands.
const MenuEntry kMenuBar[] = {
    {K::Menu, "File", 0, kNone, nullptr},
    {K::Item, "About ...", kCmdAbout, kNone, nullptr},
    {K::Separator, nullptr, 0, kNone, nullptr},
    {K::Item, "Highscores", kCmdHighscores, kNone, nullptr},
    {K::Item, "Statistics ...", kCmdStatistics, kNone, nullptr},
    {K::Item, "Export Solves ...", kCmdExportSolves, kNone, nullptr},
    {K::Item, "Training", kCmdTraining, kNone, nullptr},
    {K::Item, "New Game", kCmdNewGame, kNone, "Ctrl+N"},
    {K::Item, "Pause", kCmdPause, kNone, "P"},
    {K::Separator, nullptr, 0, kNone, nullptr},
    {K::Item, "Undo", kCmdUndo, kNone, nullptr}, // its keys are the button's
    {K::Item, "Redo", kCmdRedo, kNone, "Ctrl+Shift+Z"},
    {K::Item, "Hint", kCmdHint, kNone, "H"},
    {K::Separator, nullptr, 0, kNone, nullptr},
    {K::Item, "Exit", kCmdExit, kNone, "Ctrl+Q"},
    {K::End, nullptr, 0, kNone, nullptr},
    {K::Menu, "Options", 0, kNone, nullptr},
    {K::Submenu, "BackColor", 0, kNone, nullptr},
    {K::Item, "Black", kCmdBlack, kBackground, nullptr},
    {K::Item, "White", kCmdWhite, kBackground, nullptr},
    {K::End, nullptr, 0, kNone, nullptr},
    {K::Item, "Colour Symbols", kCmdColourSymbols, CheckGroup::Toggle, nullptr},
    {K::Item, "Colour-blind Palette", kCmdColourBlindPalette, CheckGroup::Toggle, nullptr},
    {K::End, nullptr, 0, kNone, nullptr},
    {K::Menu, "Type", 0, kNone, nullptr},
    {K::Submenu, "Cube", 0, kNone, nullptr},
    {K::Item, "Level 1", kCmdCubeLevel1, kPuzzle, nullptr},
    {K::Item, "Level 2", kCmdCubeLevel1 + 1, kPuzzle, nullptr},
    {K::Item, "Level 3", kCmdCubeLevel1 + 2, kPuzzle, nullptr},
    {K::Item, "Level 4", kCmdCubeLevel4, kPuzzle, nullptr},
    {K::End, nullptr, 0, kNone, nullptr},
    {K::Submenu, "Tetrahedron", 0, kNone, nullptr},
    {K::Item, "Level 1", kCmdTetraLevel1, kPuzzle, nullptr},
    {K::Item, "Level 2", kCmdTetraLevel1 + 1, kPuzzle, nullptr},
    {K::Item, "Level 3", kCmdTetraLevel1 + 2, kPuzzle, nullptr},
    {K::Item, "Level 4", kCmdTetraLevel4, kPuzzle, nullptr},
    {K::End, nullptr, 0, kNone, nullptr},
    {K::Item, "Piracube", kCmdPiracube, kPuzzle, nullptr},
    {K::End, nullptr, 0, kNone, nullptr},
};
const int kMenuBarEntries = static_cast<int>(std::size(kMenuBar));

namespace {

// The first Type item of each kind that has one; the kind's record says how many levels follow.
struct TypeMenu {
    int puzzleType;
    int firstItem;
};
constexpr TypeMenu kTypeMenus[] = {
    {kCube, kCmdCubeLevel1}, {kTetrahedron, kCmdTetraLevel1}, {kPiracube, kCmdPiracube}};

// The Piracube's one item builds it from level 2, as a stored choice would.
constexpr int kAnyLevel = 2;

} // namespace

int typeMenuItem(int puzzleType, int level) {
    for (const TypeMenu& menu : kTypeMenus) {
        const int levels = puzzleKind(menu.puzzleType)->menuLevels;
        if (menu.puzzleType != puzzleType) {
            continue;
        }
        if (levels == 1) {
            return menu.firstItem;
        }
        return level >= 1 && level <= levels ? menu.firstItem + level - 1 : 0;
    }
    return 0;
}

TypeChoice typeMenuChoice(int command) {
    for (const TypeMenu& menu : kTypeMenus) {
        const int levels = puzzleKind(menu.puzzleType)->menuLevels;
        if (command >= menu.firstItem && command < menu.firstItem + levels) {
            return {menu.puzzleType, levels == 1 ? kAnyLevel : command - menu.firstItem + 1};
        }
    }
    return {};
}

} // namespace korvane
