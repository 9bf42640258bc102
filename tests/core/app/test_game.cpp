#include <gtest/gtest.h>

#include <cmath>

#include "app/commands.h"
#include "app/highscores.h"
#include "dialog_fixture.h"
#include "model/game_rules.h"

namespace korvane::testing {
namespace {

using GameTest = DialogTest;

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
        } else if (c.op == 2) {
            dialog.turnAxis2(+1);
        } else {
            dialog.turnAxis4(+1);
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

TEST_F(GameTest, PiracubeMovesUndoToo) {
    startWith(3, 3);
    const GameState solved = dialog.g;
    dialog.turnCorner(-1, 5);
    dialog.undoMove();
    EXPECT_TRUE(coloursEqual(solved.stickerColour));
    EXPECT_EQ(dialog.g.moveCount, 0);
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

TEST_F(GameTest, TheSphereIsNeverScrambled) {
    startWith(4, 2);
    platform.pacedFrames = 0;
    dialog.newGame();
    EXPECT_EQ(platform.pacedFrames, 0);
    EXPECT_EQ(dialog.g.clockRunning, 1);
}

// Plays New Game and then the scramble backwards, ending in a solved puzzle after
// 19 moves and the given number of seconds.
void solveScrambledGame(DialogTest& t, FakePlatform& platform, PuzzleDialog& dialog, int seconds) {
    (void)t;
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
            switch (turns[i].op) {
            case 1:
                dialog.turnAxis1(-turns[i].dir);
                break;
            case 2:
                dialog.turnAxis2(-turns[i].dir);
                break;
            case 3:
                dialog.turnAxis3(-turns[i].dir);
                break;
            default:
                dialog.turnAxis4(-turns[i].dir);
                break;
            }
        }
    }
}

TEST_F(GameTest, SolvingAGameTellsThePlayerAndEntersTheResult) {
    startWith(1, 2);
    bool rebuiltBeforeTheMessage = false;
    platform.onMessageBox = [&] {
        rebuiltBeforeTheMessage = dialog.g.clockRunning == 0 && dialog.g.moveCount == 0;
    };
    solveScrambledGame(*this, platform, dialog, 95);
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
    solveScrambledGame(*this, platform, dialog, 30);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.strings.empty());
    EXPECT_EQ(platform.highscoreDialogs, (std::vector<int>{0}));
}

TEST_F(GameTest, ResultsGoIntoTheListsOfTheirTable) {
    startWith(2, 3);
    (platform.strings[{"HighScores", "Tetra3M"}]) = "10,20,30,40,50,60,70,80,90,100,";
    (platform.strings[{"HighScores", "Tetra3T"}]) = "garbage";
    solveScrambledGame(*this, platform, dialog, 12);
    EXPECT_EQ((platform.strings[{"HighScores", "Tetra3M"}]), "10,19,20,30,40,50,60,70,80,90,");
    EXPECT_EQ((platform.strings[{"HighScores", "Tetra3T"}]), "12,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
}

TEST_F(GameTest, TheClockNeverRunsBackwards) {
    startWith(3, 3);
    platform.now = 5000;
    dialog.newGame();
    platform.now = 4000; // a clock that went back must not show a negative time
    dialog.paintWindow();
    EXPECT_GE(dialog.g.elapsedSeconds, 0);
}

TEST_F(GameTest, StrokesBetweenVisibleStickersTurnAsTheRulesSay) {
    startWith(1, 2);
    // Slot 1 shows face 0 in the standard view; a stroke along a row turns axis 3.
    const Point a = stickerCentre(1, 1, 0, 4);
    const Point b = stickerCentre(1, 1, 2, 4);
    stroke(a, b);
    EXPECT_EQ(dialog.g.moveCount, 1);
    EXPECT_EQ(dialog.g.lastMoveKind, 3);
    // A tap and a diagonal do nothing.
    stroke(stickerCentre(1, 0, 0, 4), stickerCentre(1, 0, 0, 4));
    stroke(stickerCentre(1, 0, 0, 4), stickerCentre(1, 2, 2, 4));
    EXPECT_EQ(dialog.g.moveCount, 1);
}

TEST_F(GameTest, SpinningFollowsTheStylusInAnySteps) {
    startWith(1, 3);
    const Point off{10, 300};
    dialog.OnLButtonDown(0, off.x, off.y);
    dialog.OnMouseMove(0, off.x, off.y - 30);
    dialog.OnLButtonUp(0, off.x, off.y - 30);
    const GameState once = dialog.g;

    startWith(1, 3);
    dialog.OnLButtonDown(0, off.x, off.y);
    for (int i = 1; i <= 30; ++i) {
        dialog.OnMouseMove(0, off.x, off.y - i);
    }
    const int repaints = platform.repaints;
    dialog.OnMouseMove(0, off.x, off.y - 30); // held still: no redraw
    EXPECT_EQ(platform.repaints, repaints);
    dialog.OnLButtonUp(0, off.x, off.y - 30);
    EXPECT_LT(maxCornerDifference(once, dialog.g), 1e-9);
    EXPECT_EQ(dialog.g.spinActive, 0);
}

TEST_F(GameTest, ZoomButtonsStepWhileHeldAndNeverTurn) {
    startWith(1, 2);
    dialog.OnLButtonDown(0, 30, 10); // zoom in
    EXPECT_EQ(platform.timers[kZoomTimer], 10);
    EXPECT_EQ(dialog.g.zoom, 1.2); // the first step comes with the first tick
    for (int i = 0; i < 45; ++i) {
        dialog.OnTimer(kZoomTimer);
    }
    EXPECT_EQ(dialog.g.zoom, 2.0);
    const Point sticker = stickerCentre(1, 1, 1, 4);
    dialog.OnLButtonUp(0, sticker.x, sticker.y);
    EXPECT_FALSE(platform.timerRunning(kZoomTimer));
    EXPECT_EQ(dialog.g.zoomDir, 0);
    EXPECT_EQ(dialog.g.moveCount, 0);

    dialog.OnLButtonDown(0, 10, 10); // zoom out
    for (int i = 0; i < 200; ++i) {
        dialog.OnTimer(kZoomTimer);
    }
    EXPECT_DOUBLE_EQ(dialog.g.zoom, 0.2);
    dialog.OnLButtonUp(0, 10, 10);
}

} // namespace
} // namespace korvane::testing
