#include <gtest/gtest.h>

#include <cstring>

#include "app/commands.h"
#include "dialog_fixture.h"
#include "render/zoom_limit.h"

namespace korvane::testing {
namespace {

using Key = PuzzleDialog::Key;
using KeysTest = DialogTest;

bool sameGeometry(const Puzzle& a, const Puzzle& b) {
    return std::memcmp(a.corner, b.corner, sizeof a.corner) == 0 &&
           std::memcmp(a.faceNormal, b.faceNormal, sizeof a.faceNormal) == 0;
}

// The cursor shows on the first arrow without a move, walks on the next, and goes on a mouse
// press; none of it touches the puzzle.
TEST_F(KeysTest, TheCursorShowsWalksAndGivesWayToTheMouse) {
    startWith(kCube, 3);
    EXPECT_FALSE(dialog.cursorSticker());
    const Puzzle before = puzzle();
    dialog.OnKeyDown(Key::Right, false, false);
    const auto first = dialog.cursorSticker();
    ASSERT_TRUE(first);
    dialog.OnKeyDown(Key::Right, false, false);
    const auto second = dialog.cursorSticker();
    ASSERT_TRUE(second);
    EXPECT_GT(second->x, first->x);
    EXPECT_TRUE(coloursEqual(before.stickerColour));
    EXPECT_EQ(record().moveCount, 0);
    dialog.OnLButtonDown(0, 5, 310);
    dialog.OnLButtonUp(0, 5, 310);
    EXPECT_FALSE(dialog.cursorSticker());
}

// Shift+arrow is the mouse stroke between the two stickers: one recorded turn, and the cursor
// stays on the sticker it started from.
TEST_F(KeysTest, ShiftArrowStrokesLikeTheMouse) {
    for (int type : {kCube, kTetrahedron, kPiracube}) {
        startWith(type, 2);
        dialog.OnKeyDown(Key::Up, false, false);
        const auto from = dialog.cursorSticker();
        ASSERT_TRUE(from);
        for (Key arrow : {Key::Up, Key::Down, Key::Left, Key::Right}) {
            const int moves = record().moveCount;
            dialog.OnKeyDown(arrow, true, false);
            settle();
            EXPECT_LE(record().moveCount, moves + 1);
            ASSERT_TRUE(dialog.cursorSticker());
            EXPECT_EQ(dialog.cursorSticker()->id.slot, from->id.slot) << type;
        }
        EXPECT_GT(record().moveCount, 0) << type;
    }
}

// Ctrl+arrows spin and +/- zoom; Home brings back the orientation and zoom of a new puzzle with
// the colours as they are.
TEST_F(KeysTest, HomeUndoesSpinsAndZoomButNotTurns) {
    startWith(kCube, 2);
    const Puzzle standard = puzzle();
    const double zoom = dialog.view().zoom;
    dialog.turnAxis1(0, 1);
    settle();
    const Puzzle turned = puzzle();
    dialog.OnKeyDown(Key::Left, false, true);
    EXPECT_FALSE(sameGeometry(puzzle(), standard));
    dialog.OnKeyDown(Key::ZoomOut, false, false);
    EXPECT_LT(dialog.view().zoom, zoom);
    dialog.OnKeyDown(Key::Home, false, false);
    EXPECT_TRUE(sameGeometry(puzzle(), standard));
    EXPECT_EQ(dialog.view().zoom, zoom);
    EXPECT_TRUE(coloursEqual(turned.stickerColour));
}

// A click on a magnifier zooms a step at once; held, zoom stops where the puzzle still fits.
TEST_F(KeysTest, ZoomStepsOnAClickAndStopsAtThePuzzlesLimit) {
    for (int type : {kCube, kTetrahedron, kPiracube, kSphere}) {
        startWith(type, 4);
        const double zoom = dialog.view().zoom;
        dialog.OnLButtonDown(0, 30, 10);
        EXPECT_EQ(dialog.gesture().zoomDir, 1);
        dialog.OnLButtonUp(0, 30, 10);
        EXPECT_GT(dialog.view().zoom, zoom) << type;
        dialog.OnLButtonDown(0, 30, 10);
        for (int i = 0; i < 100; ++i) {
            dialog.OnTimer(kZoomTimer);
        }
        dialog.OnLButtonUp(0, 30, 10);
        EXPECT_LE(dialog.view().zoom, zoomLimit(puzzle(), dialog.view()) + 1e-12) << type;
    }
}

// The pressed sticker is outlined while held; a stroke that names no turn flashes it until the
// flash timer, a stroke that names one turns at once.
TEST_F(KeysTest, ThePressedStickerIsOutlinedAndAFailedStrokeFlashes) {
    startWith(kCube, 3);
    const Point centre = stickerCentre(1, 1, 1, 4);
    dialog.OnLButtonDown(0, centre.x, centre.y);
    ASSERT_TRUE(dialog.outlinedSticker());
    EXPECT_EQ(dialog.outlinedSticker()->slot, 1);
    dialog.OnLButtonUp(0, centre.x, centre.y);
    EXPECT_TRUE(dialog.outlinedSticker());
    EXPECT_TRUE(platform.timerRunning(kFlashTimer));
    dialog.OnTimer(kFlashTimer);
    EXPECT_FALSE(dialog.outlinedSticker());
    EXPECT_FALSE(platform.timerRunning(kFlashTimer));
    dialog.OnLButtonDown(0, centre.x, centre.y);
    const Point next = stickerCentre(1, 1, 2, 4);
    dialog.OnLButtonUp(0, next.x, next.y);
    EXPECT_FALSE(dialog.outlinedSticker());
    EXPECT_TRUE(dialog.busy());
}

// In practice every move undoes back to the start and redoes to the same puzzle; a move of the
// player's own ends the redos. Undo and redo queue behind the running turn like any command.
TEST_F(KeysTest, PracticeUndoesEveryMoveAndRedoesThemAll) {
    startWith(kCube, 3);
    const Puzzle solved = puzzle();
    for (int i = 0; i < 30; ++i) {
        dialog.performTurn(Move::axisTurn(1 + i % 3, i % 4, i % 5 < 2 ? -1 : 1));
    }
    settle();
    const Puzzle played = puzzle();
    ASSERT_EQ(record().moveCount, 30);
    for (int i = 0; i < 31; ++i) { // one more than there is
        dialog.OnCommand(kCmdUndo);
    }
    settle();
    EXPECT_TRUE(coloursEqual(solved.stickerColour));
    EXPECT_EQ(record().moveCount, 0);
    EXPECT_FALSE(platform.buttonEnabled(kCmdUndo));
    EXPECT_TRUE(platform.buttonEnabled(kCmdRedo));
    for (int i = 0; i < 31; ++i) {
        dialog.OnCommand(kCmdRedo);
    }
    settle();
    EXPECT_TRUE(coloursEqual(played.stickerColour));
    EXPECT_EQ(record().moveCount, 30);
    EXPECT_EQ(record().moves.size(), 30u);
    EXPECT_FALSE(platform.buttonEnabled(kCmdRedo));

    dialog.OnCommand(kCmdUndo);
    dialog.turnAxis1(0, 1);
    settle();
    EXPECT_FALSE(platform.buttonEnabled(kCmdRedo));
    EXPECT_TRUE(dialog.redoMoves().empty());
}

// A timed game keeps its one level of undo and has no redo.
TEST_F(KeysTest, ATimedGameUndoesOneMoveOnly) {
    startWith(kCube, 2);
    dialog.OnCommand(kCmdNewGame);
    settle();
    ASSERT_EQ(record().clockRunning, 1);
    dialog.turnAxis1(0, 1);
    dialog.turnAxis2(1, 1);
    dialog.OnCommand(kCmdUndo);
    dialog.OnCommand(kCmdUndo);
    dialog.OnCommand(kCmdRedo);
    settle();
    EXPECT_EQ(record().moveCount, 1);
    EXPECT_FALSE(platform.buttonEnabled(kCmdUndo));
    EXPECT_FALSE(platform.buttonEnabled(kCmdRedo));
}

} // namespace
} // namespace korvane::testing
