#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "dialog_fixture.h"
#include "fakes/memory_solve_history.h"
#include "input/keyboard_cursor.h"
#include "model/game_rules.h"
#include "model/puzzle_build.h"
#include "render/zoom_limit.h"

namespace korvane::testing {
namespace {

using Key = PuzzleDialog::Key;
using KeysTest = DialogTest;

bool sameGeometry(const Puzzle& a, const Puzzle& b) {
    return std::memcmp(a.corner, b.corner, sizeof a.corner) == 0 &&
           std::memcmp(a.faceNormal, b.faceNormal, sizeof a.faceNormal) == 0 &&
           std::memcmp(a.spherePoint, b.spherePoint, sizeof a.spherePoint) == 0;
}

// The cursor shows on the first arrow without a move and walks on the next; a mouse press takes
// it away. (Shift+arrow turns: the window's practice by keys.)
TEST_F(KeysTest, ArrowsWalkTheCursorAndTheMouseHidesIt) {
    startWith(kCube, 3);
    dialog.OnKeyDown(Key::Right, false, false);
    const auto first = dialog.cursorSticker();
    dialog.OnKeyDown(Key::Right, false, false);
    ASSERT_TRUE(first && dialog.cursorSticker());
    EXPECT_GT(dialog.cursorSticker()->x, first->x);
    EXPECT_TRUE(isSolved(puzzle()) && record().moveCount == 0);
    dialog.OnLButtonDown(0, 5, 310);
    dialog.OnLButtonUp(0, 5, 310);
    EXPECT_FALSE(dialog.cursorSticker());
}

// A magnifier held zooms until the puzzle just fits. Ctrl+arrows spin and - zooms out; Home
// brings back the orientation and zoom of a new puzzle with the colours as they are.
TEST_F(KeysTest, ZoomStopsAtThePuzzlesLimitAndHomeUndoesSpinsAndZoomButNotTurns) {
    for (int type : {kCube, kTetrahedron, kPiracube, kSphere}) {
        SCOPED_TRACE(type);
        startWith(type, 4);
        Puzzle standard;
        buildPuzzleState(standard, type, 4);
        const double zoom = dialog.view().zoom;
        holdZoomIn(100);
        const double most = dialog.view().zoom;
        EXPECT_LE(most, zoomLimit(puzzle(), dialog.view()) + 1e-12);
        dialog.turnAxis1(0, 1);
        settle();
        const Puzzle turned = puzzle();
        dialog.OnKeyDown(Key::Left, false, true);
        EXPECT_FALSE(sameGeometry(puzzle(), standard));
        dialog.OnKeyDown(Key::ZoomOut, false, false);
        EXPECT_LT(dialog.view().zoom, most);
        dialog.OnKeyDown(Key::Home, false, false);
        EXPECT_TRUE(sameGeometry(puzzle(), standard) && coloursEqual(turned));
        EXPECT_EQ(dialog.view().zoom, zoom);
    }
}

// In practice every move undoes back to the start and redoes (the window's practice by keys
// compares the pictures); a move of the player's own ends the redos. Undo and redo queue behind
// the running turn like any command.
TEST_F(KeysTest, PracticeUndoesEveryMoveAndRedoesThemAll) {
    startWith(kCube, 3);
    for (int i = 0; i < 30; ++i)
        dialog.performTurn(Move::axisTurn(1 + i % 3, i % 4, i % 5 < 2 ? -1 : 1));
    settle();
    ASSERT_EQ(record().moveCount, 30);
    for (int i = 0; i < 31; ++i) // one more than there is
        dialog.OnCommand(kCmdUndo);
    settle();
    EXPECT_TRUE(isSolved(puzzle()) && record().moveCount == 0);
    EXPECT_TRUE(!platform.buttonEnabled(kCmdUndo) && platform.buttonEnabled(kCmdRedo));
    for (int i = 0; i < 31; ++i)
        dialog.OnCommand(kCmdRedo);
    settle();
    EXPECT_FALSE(isSolved(puzzle()) || platform.buttonEnabled(kCmdRedo));
    EXPECT_EQ(std::pair(record().moveCount, record().moves.size()), std::pair(30, std::size_t{30}));

    dialog.OnCommand(kCmdUndo);
    dialog.turnAxis1(0, 1);
    settle();
    EXPECT_TRUE(!platform.buttonEnabled(kCmdRedo) && dialog.redoMoves().empty());
}

// Where no hint is offered, the item is off and the command does nothing; while the table is
// still being made the player is told so.
TEST_F(KeysTest, HintIsOfferedOnlyInPracticeOnAnUnsolvedPuzzleWithATable) {
    // situation, level, timed, table, solved, offered, message (nullptr: none)
    using Case = std::tuple<const char*, int, bool, bool, bool, bool, const char*>;
    for (const auto& [situation, level, timed, table, solved, offered, message] :
         {Case{"solved", 1, false, true, true, false, nullptr},
          Case{"timed game", 1, true, true, false, false, nullptr},
          Case{"no table", 2, false, false, false, false, nullptr},
          Case{"table not ready", 1, false, false, false, true, "still being"}}) {
        platform.table = table ? &cubeTable() : nullptr;
        platform.messages.clear();
        startWith(kCube, level);
        dialog.OnCommand(timed ? kCmdNewGame : kCmdTraining);
        if (!solved && !timed) {
            dialog.turnAxis1(0, 1);
            dialog.turnAxis2(1, 1);
        }
        settle();
        EXPECT_EQ(platform.buttonEnabled(kCmdHint), offered) << situation;
        dialog.OnCommand(kCmdHint);
        EXPECT_EQ(dialog.hint().has_value(), offered && table) << situation;
        ASSERT_EQ(platform.messages.size(), message ? 1u : 0u) << situation;
        EXPECT_TRUE(!message || platform.messages[0].first.find(message) != std::string::npos);
    }
}

// From random positions seen from random directions, the outlined stroke, made with the mouse,
// brings the puzzle one move nearer to solved (a keyboard cursor moved onto its first sticker);
// the outline goes with that input. Where the stickers in view allow no such stroke the player
// is told instead.
TEST_F(KeysTest, TheHintsStrokeIsOneMoveNearerToSolved) {
    platform.table = &cubeTable();
    startWith(kCube, 1);
    std::mt19937 random(7);
    const auto draw = [&](int n) { return static_cast<int>(random() % n); };
    int hinted = 0;
    for (int round = 0; round < 40; ++round) {
        dialog.OnCommand(kCmdTraining);
        for (int i = 0, n = 4 + draw(8); i < n; ++i)
            dialog.performTurn(Move::axisTurn(1 + draw(3), draw(2), draw(2) ? 1 : -1));
        settle();
        stroke({5, 300}, {5 + draw(360) - 180, 300 - draw(360) + 180}); // a spin
        const int distance = cubeTable().distance(puzzle());
        if (distance == 0)
            continue;
        const std::size_t messages = platform.messages.size();
        if (round % 2 == 0)
            dialog.OnKeyDown(PuzzleDialog::Key::Up, false, false); // the keyboard's cursor
        dialog.OnCommand(kCmdHint);
        const auto hint = dialog.hint();
        if (!hint) {
            EXPECT_EQ(platform.messages.size(), messages + 1) << round;
            continue;
        }
        ++hinted;
        const auto stickers = cursorStickers({puzzle(), dialog.screen(), dialog.gesture()});
        const int from = findCursorSticker(stickers, hint->press);
        const int to = findCursorSticker(stickers, hint->release);
        ASSERT_TRUE(from >= 0 && to >= 0) << round;
        // A cursor on screen moves to the sticker to press.
        const auto cursor = dialog.cursorSticker();
        EXPECT_EQ(cursor.has_value(), round % 2 == 0) << round;
        EXPECT_TRUE(!cursor || findCursorSticker(stickers, cursor->id) == from) << round;
        stroke(stickers[from].press, stickers[to].press);
        EXPECT_FALSE(dialog.hint()) << round;
        settle();
        EXPECT_EQ(cubeTable().distance(puzzle()), distance - 1) << round;
    }
    EXPECT_GT(hinted, 30);
}

class HistoryParTest : public DialogTest {
protected:
    MemorySolveHistory history;
    HistoryParTest() {
        platform.history = &history;
        platform.table = &cubeTable();
    }
    // Solve the running game along the table's best moves, one move a second.
    int solveOptimally() {
        int made = 0;
        while (record().clockRunning == 1 && made < 30) {
            const std::optional<Move> best = cubeTable().bestMove(puzzle());
            if (!best)
                break;
            platform.now += 1;
            dialog.performTurn(*best);
            settle();
            ++made;
        }
        return made;
    }
};

// Every seed's scramble is at least the competition minimum from solved, the par is its exact
// distance, and a game solved along the table is recorded whole: its par and efficiency shown,
// the scramble and the timed moves kept, enough to rebuild the end position.
TEST_F(HistoryParTest, ParScrambleMinimumAndTheRecordOfAWonGame) {
    startWith(kCube, 1);
    for (unsigned seed = 1; seed <= 40; ++seed) {
        dialog.setScrambleSeed(seed);
        dialog.OnCommand(kCmdNewGame);
        settle();
        ASSERT_GE(record().par, 4) << seed;
        EXPECT_EQ(record().par, cubeTable().distance(puzzle())) << seed;
    }
    const std::vector<Move> scramble = record().scramble;
    const int par = record().par;
    EXPECT_EQ(solveOptimally(), par);
    ASSERT_FALSE(platform.messages.empty());
    const std::string& box = platform.messages.back().first;
    EXPECT_TRUE(box.starts_with("You did it.") &&
                box.ends_with("\nPar: " + std::to_string(par) + " moves, efficiency 100 %"))
        << box;

    // The 39 games left for a new one were abandoned; the last one was won.
    ASSERT_EQ(history.solves.size(), 40u);
    EXPECT_EQ(std::ranges::count_if(history.solves, [](auto& e) { return e.second.abandoned; }),
              39);
    const SolveRecord& won = history.solves.rbegin()->second;
    EXPECT_EQ(won.puzzle, (PuzzleId{kCube, 1}));
    EXPECT_EQ(std::tuple(won.moves, won.par, won.seconds, won.undoUsed),
              std::tuple(par, par, par, false));
    EXPECT_EQ(won.scramble, scramble);
    ASSERT_EQ(won.moveLog.size(), static_cast<std::size_t>(par));
    for (std::size_t i = 0; i < won.moveLog.size(); ++i)
        EXPECT_EQ(won.moveLog[i].ms, 1000 * static_cast<std::int64_t>(i + 1));

    // Watched again from the record alone: the scramble, then each move at its time, ending on
    // the solved picture with the game's own count and clock; nothing is recorded; a click brings
    // back the game.
    dialog.OnCommand(kCmdTraining);
    dialog.performTurn(Move::axisTurn(2, 0, 1));
    settle();
    const Puzzle before = puzzle();
    const std::size_t messages = platform.messages.size();
    platform.nowMs = 5'000'000;
    dialog.startReplay(won);
    for (int tick = 0; tick < 400 && platform.timerRunning(kReplayTimer); ++tick) {
        platform.nowMs += 100;
        dialog.OnTimer(kReplayTimer);
        settle();
    }
    EXPECT_TRUE(dialog.replaying() && isSolved(puzzle()));
    EXPECT_EQ(std::pair(record().moveCount, record().elapsedSeconds), std::pair(par, won.seconds));
    EXPECT_EQ(std::pair(history.solves.size(), platform.messages.size()),
              std::pair(std::size_t{40}, messages));
    dialog.OnLButtonDown(0, 5, 300);
    EXPECT_TRUE(!dialog.replaying() && coloursEqual(before));
}

// A timed game undoes one move only and has no redo; the undone move leaves the record, and the
// game says undo was used. Without a table there is no par and the box says only what it always
// said.
TEST_F(HistoryParTest, OneUndoIsNotedAndNoTableMeansNoPar) {
    platform.table = nullptr;
    startWith(kCube, 1);
    dialog.OnCommand(kCmdNewGame);
    settle();
    EXPECT_EQ(record().par, -1);
    dialog.turnAxis1(0, 1);
    dialog.turnAxis2(1, 1);
    dialog.OnCommand(kCmdUndo);
    dialog.OnCommand(kCmdUndo);
    dialog.OnCommand(kCmdRedo);
    settle();
    EXPECT_EQ(record().moves, std::vector<Move>{Move::axisTurn(1, 0, 1)});
    EXPECT_EQ(std::pair(record().moveCount, record().moveMs.size()), std::pair(1, std::size_t{1}));
    EXPECT_FALSE(platform.buttonEnabled(kCmdUndo) || platform.buttonEnabled(kCmdRedo));
    solveOptimally();
    ASSERT_EQ(history.solves.size(), 1u);
    EXPECT_TRUE(history.solves.begin()->second.undoUsed &&
                history.solves.begin()->second.par == -1);
    EXPECT_EQ(platform.messages.back().first.find("Par"), std::string::npos);
}

} // namespace
} // namespace korvane::testing
