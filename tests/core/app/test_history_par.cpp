#include "dialog_fixture.h"
#include "fakes/memory_solve_history.h"
#include "model/puzzle_build.h"
#include "model/turns.h"

namespace korvane::testing {
namespace {

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
    const int made = solveOptimally();
    EXPECT_EQ(made, par);
    ASSERT_FALSE(platform.messages.empty());
    const std::string& box = platform.messages.back().first;
    EXPECT_TRUE(box.starts_with("You did it.") &&
                box.ends_with("\nPar: " + std::to_string(par) + " moves, efficiency 100 %"))
        << box;

    // The 39 games left for a new one were abandoned; the last one was won.
    ASSERT_EQ(history.solves.size(), 40u);
    for (const auto& [id, game] : history.solves) {
        EXPECT_EQ(game.abandoned, id != 40) << id;
        EXPECT_GE(game.par, 4) << id;
    }
    const SolveRecord& won = history.solves.rbegin()->second;
    EXPECT_EQ(won.puzzle, (PuzzleId{kCube, 1}));
    EXPECT_EQ(std::tuple(won.moves, won.par, won.seconds, won.undoUsed),
              std::tuple(par, par, par, false));
    EXPECT_EQ(won.scramble, scramble);
    ASSERT_EQ(won.moveLog.size(), static_cast<std::size_t>(par));
    Puzzle replay;
    buildPuzzleState(replay, kCube, 1);
    for (const Move& m : won.scramble)
        applyMove(replay, m);
    for (std::size_t i = 0; i < won.moveLog.size(); ++i) {
        EXPECT_EQ(won.moveLog[i].ms, 1000 * static_cast<std::int64_t>(i + 1));
        applyMove(replay, won.moveLog[i].move);
    }
    EXPECT_TRUE(isSolved(replay));

    // Watched again: the scramble, then each move at its time, ending on the solved picture with
    // the game's own count and clock; nothing is recorded; a click brings back the game.
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
    EXPECT_TRUE(dialog.replaying() && coloursEqual(replay));
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
    EXPECT_TRUE(history.solves.begin()->second.undoUsed);
    EXPECT_EQ(history.solves.begin()->second.par, -1);
    EXPECT_EQ(platform.messages.back().first.find("Par"), std::string::npos);
}

} // namespace
} // namespace korvane::testing
