#include <gtest/gtest.h>

#include <cmath>

#include "app/commands.h"
#include "app/highscores.h"
#include "dialog_fixture.h"
#include "model/game_rules.h"

namespace korvane::testing {
namespace {

using GameTest = DialogTest;

// The axis turn op 1..4 through the game's own entry point for it.
void turnAxis(PuzzleDialog& dialog, int op, int dir) {
    switch (op) {
    case 1:
        return dialog.turnAxis1(dir);
    case 2:
        return dialog.turnAxis2(dir);
    case 3:
        return dialog.turnAxis3(dir);
    default:
        return dialog.turnAxis4(dir);
    }
}

double maxCornerDifference(const GameState& a, const GameState& b) {
    double worst = 0.0;
    for (int i = 0; i < kCorners; ++i) {
        for (int k = 0; k < 3; ++k) {
            worst = std::max(worst, std::fabs(a.corner[i][k] - b.corner[i][k]));
        }
    }
    return worst;
}

// A turn shows every frame (cube 6, tetrahedron 7, Piracube 10), each paced, then one final
// redraw; afterwards the geometry holds the view rotation only.
TEST_F(GameTest, TurnsAnimateEveryFrameAndPutTheModelBack) {
    struct Case {
        int figura, nivel, op, frames;
    };
    for (const Case c : {Case{1, 3, 2, 6}, Case{2, 4, 4, 7}, Case{3, 3, 5, 10}}) {
        startWith(c.figura, c.nivel);
        const GameState before = dialog.g;
        platform.repaints = 0;
        platform.pacedFrames = 0;
        dialog.g.layer = 1;
        if (c.op == 5) {
            dialog.turnCorner(+1, 6);
        } else {
            turnAxis(dialog, c.op, +1);
        }
        EXPECT_EQ(platform.pacedFrames, c.frames) << c.figura;
        EXPECT_EQ(platform.repaints, c.frames + 1) << c.figura;
        EXPECT_LT(maxCornerDifference(before, dialog.g), 1e-9);
        EXPECT_FALSE(coloursEqual(before.stickerColour)) << c.figura;
        EXPECT_EQ(dialog.g.turnAxis, 0);
        EXPECT_EQ(dialog.g.renderMode, 0);
    }
}

TEST_F(GameTest, AMoveCanBeUndoneOnce) {
    startWith(1, 2);
    const GameState solved = dialog.g;
    dialog.g.layer = 2;
    dialog.turnAxis3(+1);
    EXPECT_EQ(dialog.g.moveCount, 1);
    EXPECT_EQ(dialog.g.undoState, 0);
    EXPECT_TRUE(platform.buttonEnabled(kCmdUndo));

    dialog.OnCommand(kCmdUndo);
    EXPECT_EQ(dialog.g.moveCount, 0);
    EXPECT_EQ(dialog.g.undoState, -1);
    EXPECT_FALSE(platform.buttonEnabled(kCmdUndo));
    EXPECT_TRUE(coloursEqual(solved.stickerColour));

    dialog.OnCommand(kCmdUndo); // nothing left to undo
    EXPECT_EQ(dialog.g.moveCount, 0);
    EXPECT_TRUE(coloursEqual(solved.stickerColour));
    // Moves before any New Game are counted but never end a game.
    dialog.turnAxis3(+1);
    dialog.turnAxis3(-1);
    EXPECT_EQ(dialog.g.moveCount, 2);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(GameTest, NewGameScramblesUnrecordedAndStartsTheClock) {
    startWith(1, 3);
    const GameState solved = dialog.g;
    platform.pacedFrames = 0;
    dialog.OnCommand(kCmdNewGame);
    EXPECT_EQ(platform.pacedFrames, 19 * 6); // every scramble turn is shown
    EXPECT_EQ(dialog.g.moveCount, 0);
    EXPECT_EQ(dialog.g.undoState, -1);
    EXPECT_FALSE(platform.buttonEnabled(kCmdUndo));
    EXPECT_EQ(dialog.g.clockRunning, 1);
    EXPECT_EQ(dialog.g.startTime, platform.now);
    EXPECT_EQ(platform.timers[kClockTimer], 1000);
    EXPECT_FALSE(coloursEqual(solved.stickerColour));
    EXPECT_FALSE(isSolved(dialog.g));
}

// Plays New Game and then the scramble backwards, ending in a solved puzzle after
// 19 moves and the given number of seconds.
void solveScrambledGame(FakePlatform& platform, PuzzleDialog& dialog, int seconds) {
    dialog.setScrambleSeed(777);
    dialog.newGame();
    RuntimeRandom rng;
    rng.srand(777);
    ScrambleTurn turns[kScrambleTurns];
    const int count = planScramble(dialog.g.puzzleType, sizeLevel(dialog.g), rng, turns);
    ASSERT_EQ(count, kScrambleTurns);
    for (int i = count - 1; i >= 0; --i) {
        if (i == 0) {
            platform.now += seconds;
        }
        if (turns[i].op == 5) {
            dialog.turnCorner(-turns[i].dir, turns[i].corner);
        } else {
            dialog.g.layer = turns[i].layer;
            turnAxis(dialog, turns[i].op, -turns[i].dir);
        }
    }
}

TEST_F(GameTest, SolvingAGameTellsThePlayerAndEntersTheResult) {
    startWith(1, 2);
    bool rebuiltBeforeTheMessage = false;
    platform.onMessageBox = [&] {
        rebuiltBeforeTheMessage = dialog.g.clockRunning == 0 && dialog.g.moveCount == 0;
    };
    solveScrambledGame(platform, dialog, 95);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first, "You did it.");
    EXPECT_EQ(platform.messages[0].second, "Korvane");
    EXPECT_TRUE(rebuiltBeforeTheMessage);
    EXPECT_EQ(dialog.g.clockRunning, 0);
    EXPECT_FALSE(platform.timerRunning(kClockTimer));
    EXPECT_EQ(dialog.g.elapsedSeconds, 95);
    EXPECT_EQ((platform.strings[{"HighScores", "Cube2M"}]), "19,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
    EXPECT_EQ((platform.strings[{"HighScores", "Cube2T"}]), "95,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
    EXPECT_EQ(platform.highscoreDialogs, (std::vector<int>{1}));
    EXPECT_EQ(platform.locks, 1);
    EXPECT_FALSE(platform.locked);
}

TEST_F(GameTest, SolvedPuzzlesWithoutATableEnterNothing) {
    startWith(1, 5);
    solveScrambledGame(platform, dialog, 30);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.strings.empty());
    EXPECT_EQ(platform.highscoreDialogs, (std::vector<int>{0}));
}

TEST_F(GameTest, TheClockNeverRunsBackwards) {
    startWith(3, 3);
    platform.now = 5000;
    dialog.newGame();
    platform.now = 4000; // a clock that went back must not show a negative time
    dialog.paintWindow();
    EXPECT_GE(dialog.g.elapsedSeconds, 0);
}

} // namespace
} // namespace korvane::testing
