#pragma once

#include <cstdint>
#include <string>

#include "app/solve_history.h"
#include "model/distance_table.h"

namespace korvane {

// What the game asks of its window system. The Qt layer realises it; tests use a fake that
// records everything and paints at once.
class Platform {
public:
    virtual ~Platform() = default;

    // Invalidate the whole window and update it now: PuzzleDialog::paintWindow runs before this
    // returns.
    virtual void repaintNow() = 0;
    // The frame clock of a running turn: once started it calls PuzzleDialog::OnFrameTick every
    // frame interval (25 ms) from the event loop until stopped, so the window paints, resizes and
    // closes between frames. Starting a running clock keeps its rhythm; stopping a stopped one is
    // harmless.
    virtual void startFrameClock() = 0;
    virtual void stopFrameClock() = 0;

    // Window timers by id; setting a running id restarts it; killing a stopped one is harmless.
    virtual void setTimer(int id, int periodMs) = 0;
    virtual void killTimer(int id) = 0;

    // The command bar's buttons (undo 32801) and the menu check marks, by command number.
    virtual void enableButton(int command, bool enabled) = 0;
    virtual void checkMenuItem(int command, bool checked) = 0;

    // Modal boxes; the game's state is consistent whenever one opens.
    virtual void messageBox(const std::string& text, const std::string& caption) = 0;
    // A question the player answers with yes (true) or no.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
    // The highscores of a table (0..8); a result just entered is marked at its place in the
    // moves and the time list (-1: not in that list).
    virtual void showHighscoreDialog(int table, int newMovesPlace, int newTimePlace) = 0;
    virtual void showAboutBox() = 0;
    // Start the help viewer on a page and anchor ("Korvane.htm#MAIN_CONTENTS"); not watched.
    virtual void startHelpViewer(const std::string& program, const std::string& commandLine) = 0;

    // Profile storage by section and value name; missing values read as the default.
    virtual int readInt(const std::string& section, const std::string& name, int def) = 0;
    virtual void writeInt(const std::string& section, const std::string& name, int value) = 0;
    virtual std::string readString(const std::string& section, const std::string& name,
                                   const std::string& def) = 0;
    virtual void writeString(const std::string& section, const std::string& name,
                             const std::string& value) = 0;
    // Hold the highscores against other running copies of the game between lock and unlock;
    // reads after lock see what the others stored, writes before unlock reach the storage.
    virtual void lockHighscores() = 0;
    virtual void unlockHighscores() = 0;
    // The last problem the storage met (a store that failed, a file moved aside, a lock that
    // could not be had) as a sentence for the player; empty while there was none.
    virtual std::string storageProblem() const { return {}; }

    // The game kept over a quit: stored whole or not at all, read back ("" when there is none),
    // and thrown away.
    struct StoreResult {
        bool stored = true;
        std::string where; // the place that could not be written, and why
        std::string why;
    };
    virtual StoreResult storeKeptGame(const std::string& text) = 0;
    virtual std::string loadKeptGame() = 0;
    virtual void dropKeptGame() = 0;
    // One line for whoever started the game (standard error), not for the player.
    virtual void logLine(const std::string& line) = 0;

    // Whole seconds of a monotonic clock: setting the wall clock never moves it.
    virtual std::int64_t nowSeconds() = 0;
    // The seed of a new game's scramble.
    virtual unsigned randomSeed() = 0;
    // Milliseconds of the same monotonic clock: the times of a game's moves.
    virtual std::int64_t nowMilliseconds() { return nowSeconds() * 1000; }
    // The wall clock as Unix time in milliseconds, UTC: when a game ended.
    virtual std::int64_t utcMilliseconds() { return 0; }

    // The record of every timed game, or nullptr where none is kept.
    virtual SolveHistory* solveHistory() { return nullptr; }
    // The exact distances of a puzzle once they are at hand (they are read or built in the
    // background the first time they are asked for); nullptr meanwhile, and for puzzles
    // without a table.
    virtual const DistanceTable* distanceTable(int puzzleType, int level) {
        (void)puzzleType;
        (void)level;
        return nullptr;
    }

    // End the program's window (Exit).
    virtual void closeWindow() = 0;
};

} // namespace korvane
