#include "app/commands.h"

#include <iterator>

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
    {K::Item, "Training", kCmdTraining, kNone, nullptr},
    {K::Item, "New Game", kCmdNewGame, kNone, "Ctrl+N"},
    {K::Item, "Pause", kCmdPause, kNone, "P"},
    {K::Separator, nullptr, 0, kNone, nullptr},
    {K::Item, "Exit", kCmdExit, kNone, "Ctrl+Q"},
    {K::End, nullptr, 0, kNone, nullptr},
    {K::Menu, "Options", 0, kNone, nullptr},
    {K::Submenu, "BackColor", 0, kNone, nullptr},
    {K::Item, "Black", kCmdBlack, kBackground, nullptr},
    {K::Item, "White", kCmdWhite, kBackground, nullptr},
    {K::End, nullptr, 0, kNone, nullptr},
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

int typeMenuItem(int puzzleType, int level) {
    switch (puzzleType) {
    case 1:
        return level >= 1 && level <= 4 ? kCmdCubeLevel1 - 1 + level : 0;
    case 2:
        return level >= 1 && level <= 4 ? kCmdTetraLevel1 - 1 + level : 0;
    case 3:
        return kCmdPiracube;
    default:
        return 0;
    }
}

} // namespace korvane
