#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/kept_game.h"
#include "dialog_fixture.h"
#include "model/game_rules.h"

namespace korvane::testing {
namespace {

using KeepTest = DialogTest;

// A timed game on the cube of level 3: scrambled, two moves made (the second can be undone),
// spun and zoomed, 40 seconds played.
void playSomeOfAGame(FakePlatform& platform, PuzzleDialog& dialog) {
    dialog.setScrambleSeed(99);
    dialog.OnCommand(kCmdNewGame);
    platform.tickFrames();
    dialog.performTurn(Move::axisTurn(1, 0, 1));
    dialog.performTurn(Move::axisTurn(3, 2, -1));
    platform.tickFrames();
    dialog.OnLButtonDown(0, 230, 310); // off the puzzle: a spin
    dialog.OnMouseMove(0, 200, 290);
    dialog.OnLButtonUp(0, 200, 290);
    dialog.OnLButtonDown(0, 30, 10); // zoom in, three steps
    for (int i = 0; i < 3; ++i) {
        dialog.OnTimer(kZoomTimer);
    }
    dialog.OnLButtonUp(0, 30, 10);
    platform.now += 40;
}

// Quitting keeps the game; the next start shows the same stickers, view, moves, undo and time,
// paused, and the clock goes on from there once the player does.
TEST_F(KeepTest, AGameQuitIsResumedPausedWhereItStopped) {
    startWith(1, 3);
    playSomeOfAGame(platform, dialog);
    const Puzzle before = puzzle();
    const GameRecord recordBefore = record();
    const double zoom = dialog.view().zoom;
    dialog.OnDestroy();
    ASSERT_FALSE(platform.keptGame.empty());

    platform.now += 3600; // the program was not running
    PuzzleDialog next{platform, canvas};
    platform.onRepaint = [&] { next.paintWindow(); };
    next.OnInitDialog();
    EXPECT_EQ(
        std::memcmp(before.stickerColour, next.puzzle().stickerColour, sizeof before.stickerColour),
        0);
    EXPECT_LT(maxCornerDifference(before, next.puzzle()), 1e-9);
    EXPECT_DOUBLE_EQ(next.view().zoom, zoom);
    EXPECT_EQ(next.record().moves, recordBefore.moves);
    EXPECT_EQ(next.record().scramble, recordBefore.scramble);
    EXPECT_EQ(next.record().moveCount, 2);
    EXPECT_EQ(next.record().undoState, 0);
    EXPECT_TRUE(platform.buttonEnabled(kCmdUndo));
    EXPECT_TRUE(platform.checked(kCmdCubeLevel1 + 2));
    EXPECT_TRUE(next.paused());
    EXPECT_EQ(next.elapsedSeconds(), 40);
    EXPECT_FALSE(platform.timerRunning(kClockTimer));

    // Paused: the strip stands at 40 and the puzzle is hidden.
    platform.now += 100;
    canvas.clear();
    next.invalidatePicture();
    next.paintWindow();
    EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"Paused", "40", "2"}));
    EXPECT_TRUE(canvas.polygons().size() == 2u); // the pause sign only

    // A press goes on (its stroke goes nowhere); five seconds later the clock shows 45.
    next.OnLButtonDown(0, 120, 160);
    next.OnMouseMove(0, 180, 160);
    next.OnLButtonUp(0, 180, 160);
    EXPECT_FALSE(next.paused());
    EXPECT_FALSE(next.busy());
    EXPECT_EQ(next.record().moveCount, 2);
    platform.now += 5;
    EXPECT_EQ(next.elapsedSeconds(), 45);
    EXPECT_TRUE(platform.timerRunning(kClockTimer));
    next.OnCommand(kCmdUndo);
    settle();
    EXPECT_EQ(next.record().moveCount, 1);

    // A quit outside a timed game leaves nothing kept.
    next.OnCommand(kCmdTraining);
    next.OnDestroy();
    EXPECT_TRUE(platform.keptGame.empty());
}

// A kept game that is damaged, of another version or does not fit its puzzle is dropped with
// one line, and the game starts from the stored settings as it always did.
TEST_F(KeepTest, KeptGamesThatCannotBeResumedAreDropped) {
    startWith(1, 3);
    playSomeOfAGame(platform, dialog);
    dialog.OnDestroy();
    const std::string good = platform.keptGame;
    ASSERT_TRUE(parseKeptGame(good).game.has_value());
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const std::string damaged[] = {
        "garbage",
        good.substr(0, good.size() / 2),           // cut short
        replaced("kept game 1", "kept game 2"),    // another version
        replaced("puzzle 1 3", "puzzle 4 2"),      // the sphere has no game
        replaced("puzzle 1 3", "puzzle 2 9"),      // no such level
        replaced("puzzle 1 3", "puzzle 3 3"),      // cube moves on the Piracube
        replaced("moves A", "moves A4L0+ A"),      // the cube has three axes
        replaced("moves A", "moves Q"),            // not a move
        replaced("elapsed 40", "elapsed -5"),      // no such time
        replaced("zoom ", "zoom 9"),               // beyond the zoom range
        replaced("orientation ", "orientation 2"), // not a rotation
        replaced("stickers ", "stickers 0"),       // the colouring is not the kept one
        replaced("undo 1", "undo 1\nundo 1"),      // a line twice
        replaced("undo 1", "undo 1\nwhat 2"),      // a line the game does not know
        replaced("\nundo 1", ""),                  // a line missing
        replaced("scramble A", "scramble "),       // a scramble cut short
    };
    for (const std::string& text : damaged) {
        FakePlatform fresh;
        fresh.keptGame = text;
        fresh.ints[{"Config", "Figura"}] = 2;
        fresh.ints[{"Config", "Nivel"}] = 3;
        PuzzleDialog next{fresh, canvas};
        next.OnInitDialog();
        EXPECT_EQ(fresh.logLines.size(), 1u) << text;
        EXPECT_TRUE(fresh.keptGame.empty()) << text;
        EXPECT_EQ(next.puzzle().puzzleType, kTetrahedron) << text;
        EXPECT_TRUE(isSolved(next.puzzle())) << text;
        EXPECT_FALSE(next.paused()) << text;
        EXPECT_EQ(next.record().clockRunning, 0) << text;
    }
}

// Paused time and the time a box of ours is open never count; pausing waits for a running
// turn, and does nothing outside a timed game.
TEST_F(KeepTest, TheClockStandsStillWhilePausedOrABoxIsOpen) {
    startWith(3, 3);
    dialog.OnCommand(kCmdPause);
    dialog.OnPauseRequest();
    EXPECT_FALSE(dialog.paused());
    playSomeOfAGame(platform, dialog); // 40 s
    dialog.performTurn(Move::cornerTurn(2, 1));
    dialog.OnPauseRequest(); // the window was minimised mid-turn
    EXPECT_FALSE(dialog.paused());
    settle();
    EXPECT_TRUE(dialog.paused());
    EXPECT_FALSE(platform.timerRunning(kClockTimer));
    platform.now += 300;
    EXPECT_EQ(dialog.elapsedSeconds(), 40);
    dialog.OnCommand(kCmdHighscores); // leaves the pause as it is
    EXPECT_TRUE(dialog.paused());
    dialog.OnKeyDown();
    EXPECT_FALSE(dialog.paused());
    platform.now += 2;
    EXPECT_EQ(dialog.elapsedSeconds(), 42);

    platform.onMessageBox = [&] { platform.now += 30; };
    dialog.storageFailed("the settings", "/x/Korvane.conf", "Permission denied");
    dialog.storageFailed("the settings", "/x/Korvane.conf", "Permission denied");
    EXPECT_EQ(platform.messages.size(), 1u); // told once
    EXPECT_EQ(dialog.elapsedSeconds(), 42);
    platform.now += 1;
    EXPECT_EQ(dialog.elapsedSeconds(), 43);

    dialog.OnCommand(kCmdPause);
    EXPECT_TRUE(dialog.paused());
    dialog.OnCommand(kCmdPause);
    EXPECT_FALSE(dialog.paused());
}

// New Game, Training and a Type choice ask before they end a timed game; Exit keeps it without
// asking, and a game that cannot be kept is told once.
TEST_F(KeepTest, AGameIsAbandonedOnlyOnPurpose) {
    startWith(1, 3);
    playSomeOfAGame(platform, dialog);
    platform.answerYes = false;
    for (int command : {kCmdNewGame, kCmdTraining, kCmdTetraLevel1, kCmdSphere}) {
        dialog.OnCommand(command);
        EXPECT_EQ(record().moveCount, 2) << command;
        EXPECT_TRUE(dialog.timedGame()) << command;
    }
    EXPECT_EQ(platform.questions.size(), 4u);
    platform.answerYes = true;
    dialog.OnCommand(kCmdTraining);
    EXPECT_FALSE(dialog.timedGame());
    EXPECT_EQ(platform.questions.size(), 5u);
    dialog.OnCommand(kCmdTraining); // nothing to abandon
    EXPECT_EQ(platform.questions.size(), 5u);

    playSomeOfAGame(platform, dialog);
    platform.keptGameStorable = false;
    dialog.OnCommand(kCmdExit);
    EXPECT_EQ(platform.questions.size(), 5u);
    dialog.OnDestroy();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].first.find("/nowhere/kept-game"), std::string::npos);
}

// A game killed without warning (no quit, no destroy) goes on from its last checkpoint: the
// clock's tick keeps a game that changed, a game left alone is kept again only after ten
// seconds of thought or when paused, and a game that ends (won or replaced) leaves nothing to
// resume.
TEST_F(KeepTest, AGameKilledMidwayGoesOnFromItsLastCheckpoint) {
    startWith(1, 3);
    playSomeOfAGame(platform, dialog);
    dialog.OnTimer(kClockTimer);
    ASSERT_FALSE(platform.keptGame.empty());

    platform.keptGame.clear(); // nothing changed: not written again
    dialog.OnTimer(kClockTimer);
    EXPECT_TRUE(platform.keptGame.empty());
    platform.now += 10;
    dialog.OnTimer(kClockTimer);
    ASSERT_FALSE(platform.keptGame.empty());
    platform.now += 3; // pausing keeps the game at once
    dialog.OnCommand(kCmdPause);
    ASSERT_TRUE(parseKeptGame(platform.keptGame).game);
    EXPECT_EQ(parseKeptGame(platform.keptGame).game->elapsedSeconds, 53);
    dialog.OnCommand(kCmdPause);

    dialog.performTurn(Move::axisTurn(2, 1, 1));
    platform.tickFrames();
    dialog.OnTimer(kClockTimer);
    const Puzzle before = puzzle();
    PuzzleDialog next{platform, canvas}; // the first one was killed
    platform.onRepaint = [&] { next.paintWindow(); };
    next.OnInitDialog();
    EXPECT_EQ(next.record().moveCount, 3);
    EXPECT_EQ(next.elapsedSeconds(), 53);
    EXPECT_EQ(
        std::memcmp(before.stickerColour, next.puzzle().stickerColour, sizeof before.stickerColour),
        0);

    next.OnCommand(kCmdTraining); // the game ends: the checkpoint goes with it
    EXPECT_TRUE(platform.keptGame.empty());
}

} // namespace
} // namespace korvane::testing
