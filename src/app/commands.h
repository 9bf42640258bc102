#pragma once

namespace korvane {

// Command numbers that the menus, the two buttons and the outside world send to the window.
enum Command : int {
    kCmdCube2Extra = 32774, // 32774..32777: cubes of level 2..5, no menu item
    kCmdCube5Extra = 32777,
    kCmdPenNone = 32785,
    kCmdPenThick = 32786,
    kCmdCubeLevel1 = 32788, // 32788..32791
    kCmdCubeLevel4 = 32791,
    kCmdTetraLevel1 = 32792, // 32792..32795
    kCmdTetraLevel4 = 32795,
    kCmdPiracube = 32796,
    kCmdExit = 32797,
    kCmdUndo = 32801,
    kCmdHelp = 32802,
    kCmdBlack = 32803,
    kCmdWhite = 32804,
    kCmdSphere = 32805,
    kCmdPenThin = 32806,
    kCmdAbout = 32807,
    kCmdTraining = 32810,
    kCmdHighscores = 32811,
    kCmdPause = 32812,
    // The solve history's window and export; the main window handles them itself.
    kCmdStatistics = 32820,
    kCmdExportSolves = 32821,
    // Redo in practice, after any number of undos (undo keeps its number above).
    kCmdRedo = 32840,
    // The colour aid's two options.
    kCmdColourSymbols = 32841,
    kCmdColourBlindPalette = 32842,
    // In practice on a puzzle whose distances are known: outline the stroke of a best move.
    kCmdHint = 32843,
    kCmdNewGame = 57600,
};

// Timer ids of the window.
inline constexpr int kZoomTimer = 9955;
inline constexpr int kZoomPeriodMs = 10;
inline constexpr int kClockTimer = 9956;
inline constexpr int kClockPeriodMs = 1000;
// A replay looks for its next move this often.
inline constexpr int kReplayTimer = 9958;
inline constexpr int kReplayPeriodMs = 20;
// How long a stroke that names no turn shows its sticker.
inline constexpr int kFlashTimer = 9957;
inline constexpr int kFlashMs = 250;

// The menu bar as data: one loop over it builds the menus. Menu and Submenu open a level, End
// closes it; Items carry their command, their check group and a shortcut. Items of one group
// exclude each other (at most one is marked); items of no group carry no mark.
enum class MenuEntryKind { Menu, Submenu, Item, Separator, End };
enum class CheckGroup { None, Puzzle, Background, Toggle }; // Toggle: a mark of its own
struct MenuEntry {
    MenuEntryKind kind;
    const char* text;
    int command;
    CheckGroup group;
    const char* shortcut; // in the desktop's portable notation, or nullptr
};
extern const MenuEntry kMenuBar[];
extern const int kMenuBarEntries;

// The tool-bar buttons, in order.
inline constexpr int kToolBarButtons[] = {kCmdUndo, kCmdHelp};

// The Type item of a kind and level (32788..32796), or 0 where none stands for it.
int typeMenuItem(int puzzleType, int level);
// The kind and level a Type item builds; kind 0 for a command that is no Type item.
struct TypeChoice {
    int puzzleType = 0;
    int level = 0;
};
TypeChoice typeMenuChoice(int command);

} // namespace korvane
