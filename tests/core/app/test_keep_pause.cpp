#include <gtest/gtest.h>

#include "app/kept_game.h"
#include "dialog_fixture.h"
#include "model/game_rules.h"

namespace korvane::testing {
namespace {

class KeepTest : public DialogTest {
protected:
    // A timed game: scrambled, two moves made (the second can be undone), spun and zoomed, 40
    // seconds played.
    void playSomeOfAGame() {
        dialog.setScrambleSeed(99);
        dialog.OnCommand(kCmdNewGame);
        settle();
        dialog.performTurn(Move::axisTurn(1, 0, 1));
        dialog.performTurn(Move::axisTurn(3, 2, -1));
        settle();
        stroke({230, 310}, {200, 290}); // off the puzzle: a spin
        holdZoomIn(3);
        platform.now += 40;
    }
};

// Quitting keeps the game; the next start shows the same stickers, view, moves, undo and time,
// paused, and the clock goes on from there once the player does.
TEST_F(KeepTest, AGameQuitIsResumedPausedWhereItStopped) {
    startWith(1, 3);
    playSomeOfAGame();
    const Puzzle before = puzzle();
    const GameRecord was = record();
    const double zoom = dialog.view().zoom;
    dialog.OnDestroy();
    ASSERT_FALSE(platform.keptGame.empty());

    platform.now += 3600; // the program was not running
    PuzzleDialog& again = restart();
    const GameRecord& is = again.record();
    EXPECT_TRUE(sameColours(before, again.puzzle()));
    EXPECT_LT(maxCornerDifference(before, again.puzzle()), 1e-9);
    EXPECT_DOUBLE_EQ(again.view().zoom, zoom);
    EXPECT_EQ(std::tuple(is.moves, is.scramble, is.moveCount, is.undoState),
              std::tuple(was.moves, was.scramble, 2, 0));
    EXPECT_TRUE(platform.buttonEnabled(kCmdUndo) && platform.checked(kCmdCubeLevel1 + 2));
    EXPECT_TRUE(again.paused() && !platform.timerRunning(kClockTimer));
    EXPECT_EQ(again.elapsedSeconds(), 40);

    // Paused: the strip stands at 40 and the puzzle is hidden behind the pause sign.
    platform.now += 100;
    canvas.clear();
    again.invalidatePicture();
    again.paintWindow();
    EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"Paused", "40", "2"}));
    EXPECT_EQ(canvas.polygons().size(), 2u);

    // A press goes on (its stroke goes nowhere); five seconds later the clock shows 45.
    stroke(again, {120, 160}, {180, 160});
    EXPECT_FALSE(again.paused() || again.busy());
    EXPECT_EQ(is.moveCount, 2);
    platform.now += 5;
    EXPECT_TRUE(again.elapsedSeconds() == 45 && platform.timerRunning(kClockTimer));
    again.OnCommand(kCmdUndo);
    settle();
    EXPECT_EQ(is.moveCount, 1);

    // A quit outside a timed game leaves nothing kept.
    again.OnCommand(kCmdTraining);
    again.OnDestroy();
    EXPECT_TRUE(platform.keptGame.empty());
}

// A kept game that is damaged, of another version or does not fit its puzzle is dropped with
// one line, and the game starts from the stored settings as it always did.
TEST_F(KeepTest, KeptGamesThatCannotBeResumedAreDropped) {
    startWith(1, 3);
    playSomeOfAGame();
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
        platform.keptGame = text;
        platform.logLines.clear();
        platform.ints = {{{"Config", "Figura"}, 2}, {{"Config", "Nivel"}, 3}};
        const PuzzleDialog& again = restart();
        EXPECT_TRUE(platform.logLines.size() == 1 && platform.keptGame.empty()) << text;
        EXPECT_TRUE(again.puzzle().puzzleType == kTetrahedron && isSolved(again.puzzle()) &&
                    !again.paused() && again.record().clockRunning == 0)
            << text;
    }
}

// Paused time and the time a box of ours is open never count; pausing waits for a running
// turn, and does nothing outside a timed game.
TEST_F(KeepTest, TheClockStandsStillWhilePausedOrABoxIsOpen) {
    startWith(3, 3);
    dialog.OnCommand(kCmdPause);
    dialog.OnPauseRequest();
    EXPECT_FALSE(dialog.paused());
    playSomeOfAGame(); // 40 s
    dialog.performTurn(Move::cornerTurn(2, 1));
    dialog.OnPauseRequest(); // the window was minimised mid-turn
    EXPECT_FALSE(dialog.paused());
    settle();
    EXPECT_TRUE(dialog.paused() && !platform.timerRunning(kClockTimer));
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
    EXPECT_EQ(std::pair(platform.messages.size(), dialog.elapsedSeconds()), // told once
              std::pair(std::size_t{1}, 42));
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
    playSomeOfAGame();
    platform.answerYes = false;
    for (int command : {kCmdNewGame, kCmdTraining, kCmdTetraLevel1, kCmdSphere}) {
        dialog.OnCommand(command);
        EXPECT_TRUE(record().moveCount == 2 && dialog.timedGame()) << command;
    }
    EXPECT_EQ(platform.questions.size(), 4u);
    platform.answerYes = true;
    dialog.OnCommand(kCmdTraining);
    EXPECT_FALSE(dialog.timedGame());
    dialog.OnCommand(kCmdTraining); // nothing to abandon
    EXPECT_EQ(platform.questions.size(), 5u);

    playSomeOfAGame();
    platform.keptGameStorable = false;
    dialog.OnCommand(kCmdExit);
    dialog.OnDestroy();
    EXPECT_EQ(platform.questions.size(), 5u);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].first.find("/nowhere/kept-game"), std::string::npos);
}

// A game killed without warning (no quit, no destroy) goes on from its last checkpoint: the
// clock's tick keeps a game that changed, a game left alone is kept again only after ten
// seconds of thought or when paused, and a game that ends (won or replaced) leaves nothing to
// resume.
TEST_F(KeepTest, AGameKilledMidwayGoesOnFromItsLastCheckpoint) {
    startWith(1, 3);
    playSomeOfAGame();
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
    settle();
    dialog.OnTimer(kClockTimer);
    const Puzzle before = puzzle();
    PuzzleDialog& again = restart(); // the first one was killed
    EXPECT_EQ(again.record().moveCount, 3);
    EXPECT_EQ(again.elapsedSeconds(), 53);
    EXPECT_TRUE(sameColours(before, again.puzzle()));
    again.OnCommand(kCmdTraining); // the game ends: the checkpoint goes with it
    EXPECT_TRUE(platform.keptGame.empty());
}

} // namespace
} // namespace korvane::testing
