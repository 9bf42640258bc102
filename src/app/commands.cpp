#include "app/commands.h"

#include <iterator>

namespace korvane {

namespace {
using K = MenuEntryKind;
} // namespace

// The menu bar, top to bottom: "File", "Options", "Type". The puzzle items and the background
// items carry check marks; the shortcuts are the desktop's usual ones for the same commands.
const MenuEntry kMenuBar[] = {
    {K::Menu, "File", 0, false, nullptr},
    {K::Item, "About ...", kCmdAbout, false, nullptr},
    {K::Separator, nullptr, 0, false, nullptr},
    {K::Item, "Highscores", kCmdHighscores, false, nullptr},
    {K::Item, "Statistics ...", kCmdStatistics, false, nullptr},
    {K::Item, "Export Solves ...", kCmdExportSolves, false, nullptr},
    {K::Item, "Training", kCmdTraining, false, nullptr},
    {K::Item, "New Game", kCmdNewGame, false, "Ctrl+N"},
    {K::Separator, nullptr, 0, false, nullptr},
    {K::Item, "Exit", kCmdExit, false, "Ctrl+Q"},
    {K::End, nullptr, 0, false, nullptr},
    {K::Menu, "Options", 0, false, nullptr},
    {K::Submenu, "BackColor", 0, false, nullptr},
    {K::Item, "Black", kCmdBlack, true, nullptr},
    {K::Item, "White", kCmdWhite, true, nullptr},
    {K::End, nullptr, 0, false, nullptr},
    {K::End, nullptr, 0, false, nullptr},
    {K::Menu, "Type", 0, false, nullptr},
    {K::Submenu, "Cube", 0, false, nullptr},
    {K::Item, "Level 1", kCmdCubeLevel1, true, nullptr},
    {K::Item, "Level 2", kCmdCubeLevel1 + 1, true, nullptr},
    {K::Item, "Level 3", kCmdCubeLevel1 + 2, true, nullptr},
    {K::Item, "Level 4", kCmdCubeLevel4, true, nullptr},
    {K::End, nullptr, 0, false, nullptr},
    {K::Submenu, "Tetrahedron", 0, false, nullptr},
    {K::Item, "Level 1", kCmdTetraLevel1, true, nullptr},
    {K::Item, "Level 2", kCmdTetraLevel1 + 1, true, nullptr},
    {K::Item, "Level 3", kCmdTetraLevel1 + 2, true, nullptr},
    {K::Item, "Level 4", kCmdTetraLevel4, true, nullptr},
    {K::End, nullptr, 0, false, nullptr},
    {K::Item, "Piracube", kCmdPiracube, true, nullptr},
    {K::End, nullptr, 0, false, nullptr},
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
