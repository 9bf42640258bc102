#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <tuple>

#include "app/highscores.h"
#include "app/settings.h"
#include "dialog_fixture.h"
#include "model/game_rules.h"
#include "model/rotation.h"
#include "model/turns.h"

namespace korvane::testing {
namespace {

using GameTest = DialogTest;

// A turn shows one frame now and one per tick of the frame clock (cube 6, tetrahedron 7,
// Piracube 10 in all), then, at the next tick, the colours move and the puzzle is drawn whole;
// afterwards the geometry holds the view rotation only. The back buffer lost mid-turn (a new
// window scale) gets the same frame again, not the whole puzzle, and the turn goes on.
TEST_F(GameTest, TurnsAnimateOneFramePerTickAndPutTheModelBack) {
    for (const auto& [figura, nivel, move, frames] :
         {std::tuple{1, 3, Move::axisTurn(2, 1, 1), 6},
          std::tuple{2, 4, Move::axisTurn(4, 1, 1), 7},
          std::tuple{3, 3, Move::cornerTurn(6, 1), 10}}) {
        SCOPED_TRACE(figura);
        startWith(figura, nivel);
        const Puzzle before = puzzle();
        platform.repaints = 0;
        dialog.performTurn(move);
        EXPECT_TRUE(platform.repaints == 1 && coloursEqual(before)); // the colours move at the end
        platform.tickFrames(2);
        canvas.clear();
        platform.tickFrames(1);
        const std::vector<RecordingCanvas::Call> frame = canvas.calls;
        const Puzzle geometry = puzzle();
        canvas.clear();
        dialog.refreshPicture();
        EXPECT_TRUE(canvas.calls == frame);
        EXPECT_EQ(maxCornerDifference(geometry, puzzle()), 0.0);
        EXPECT_EQ(3 + settle(), frames);
        EXPECT_EQ(platform.repaints, frames + 2); // and the one the lost buffer asked for
        EXPECT_FALSE(platform.frameClockRunning || coloursEqual(before));
        EXPECT_LT(maxCornerDifference(before, puzzle()), 1e-9);
        EXPECT_EQ(record().moves, std::vector<Move>{move});
    }
}

// Moves before any New Game are counted but never end a game (a move the puzzle has no turn
// for is not one); New Game scrambles unrecorded, showing every turn, then starts the clock.
TEST_F(GameTest, PracticeMovesCountAndNewGameScramblesUnrecorded) {
    startWith(1, 3);
    dialog.turnAxis3(2, +1);
    dialog.turnAxis3(2, -1);
    dialog.turnAxis4(0, +1);
    settle();
    EXPECT_EQ(record().moveCount, 2);
    EXPECT_TRUE(isSolved(puzzle()) && platform.messages.empty());
    dialog.setScrambleSeed(99);
    dialog.OnCommand(kCmdNewGame);
    EXPECT_EQ(record().clockRunning, 0);
    EXPECT_EQ(settle(), 19 * 6);
    EXPECT_EQ(std::tuple(record().moveCount, record().undoState, record().clockRunning),
              std::tuple(0, -1, 1));
    EXPECT_EQ(std::pair(record().startTime, platform.timers[kClockTimer]),
              std::pair(platform.now, 1000));
    EXPECT_FALSE(platform.buttonEnabled(kCmdUndo) || isSolved(puzzle()));
}

// New Game, then the scramble played backwards (the record holds it as shown): solved after 19
// moves and `seconds`.
void solveScrambledGame(FakePlatform& platform, PuzzleDialog& dialog, int seconds) {
    dialog.setScrambleSeed(777);
    dialog.newGame();
    platform.tickFrames();
    const std::vector<Move> scramble = dialog.record().scramble;
    ASSERT_EQ(scramble.size(), 19u);
    for (int i = kScrambleTurns - 1; i >= 0; --i) {
        platform.now += i == 0 ? seconds : 0;
        dialog.performTurn(scramble[i].inverse());
        platform.tickFrames();
    }
}

// The won game's moves and time go to the box and stay in the strip; a result that enters
// the lists is shown marked, one that enters neither is told how far it was from the tenth place.
TEST_F(GameTest, SolvingAGameTellsThePlayerAndEntersTheResult) {
    startWith(1, 2);
    bool rebuiltBeforeTheMessage = false;
    platform.onMessageBox = [&] {
        rebuiltBeforeTheMessage = record().clockRunning == 0 && record().moveCount == 0;
    };
    solveScrambledGame(platform, dialog, 95);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].first + "|" + platform.messages[0].second,
              "You did it.\n\n19 moves in 1:35.|Korvane");
    EXPECT_TRUE(rebuiltBeforeTheMessage && !platform.timerRunning(kClockTimer));
    EXPECT_EQ(record().elapsedSeconds, 95);
    EXPECT_EQ((platform.strings[{"HighScores", "Cube2M"}]), "19,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
    EXPECT_EQ((platform.strings[{"HighScores", "Cube2T"}]), "95,-1,-1,-1,-1,-1,-1,-1,-1,-1,");
    EXPECT_EQ(platform.highscoreDialogs, (std::vector<int>{1}));
    EXPECT_EQ(platform.newPlaces, (std::vector<std::pair<int, int>>{{0, 0}}));
    EXPECT_TRUE(platform.locks == 1 && !platform.locked);
    canvas.clear();
    platform.now += 50;
    dialog.paintWindow();
    EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"95", "19"}));

    // Ten better games in both lists: no dialog, the distance told.
    platform.strings[{"HighScores", "Cube2M"}] = "10,10,10,10,10,10,10,10,10,12,";
    platform.strings[{"HighScores", "Cube2T"}] = "60,60,60,60,60,60,60,60,60,80,";
    solveScrambledGame(platform, dialog, 95);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].first,
              "You did it.\n\n19 moves in 1:35.\nNot among the ten best: the tenth place has 12 "
              "moves and 1:20; this game took 7 moves and 0:15 more.");
    EXPECT_EQ(platform.highscoreDialogs.size(), 1u);

    // The cube of level 5 has no table; the sphere has no game at all.
    startWith(1, 5);
    platform.strings.clear();
    solveScrambledGame(platform, dialog, 30);
    ASSERT_EQ(platform.messages.size(), 3u);
    EXPECT_TRUE(platform.strings.empty());
    EXPECT_EQ(platform.highscoreDialogs, (std::vector<int>{1, 0}));
    startWith(4, 2);
    dialog.OnCommand(kCmdNewGame);
    settle();
    EXPECT_TRUE(record().clockRunning == 0 && !platform.timerRunning(kClockTimer));
}

// Input while a turn runs waits for it and is performed in order after it, never overlapping
// it: a stroke's press, drag and release, and undo.
TEST_F(GameTest, InputDuringATurnWaitsForIt) {
    startWith(1, 2);
    const Point from = stickerCentre(1, 0, 0, 4), to = stickerCentre(1, 0, 2, 4);
    dialog.turnAxis1(1, +1);
    platform.tickFrames(2);
    stroke(from, to); // on the picture as it was before the turn
    dialog.OnCommand(kCmdUndo);
    EXPECT_TRUE(record().moveCount == 1 && dialog.busy());
    settle();
    // The stroke's turn ran, then undo took it back: one move left, the first one.
    EXPECT_EQ(record().moves, std::vector<Move>{Move::axisTurn(1, 1, 1)});
    EXPECT_FALSE(record().moveCount != 1 || dialog.busy());

    // The stylus's moves merge: a spin during a turn follows it to where it is at the turn's end.
    Puzzle spun = puzzle();
    spinX(spun, 20);
    spinY(spun, 20);
    dialog.turnAxis1(0, +1);
    stroke({5, 310}, {25, 290});
    settle();
    EXPECT_LT(maxCornerDifference(spun, puzzle()), 1e-9);
}

// A command that replaces the puzzle finishes the running turn, the rest of a scramble and the
// waiting input at once, then runs; other commands wait like input; Exit runs at once.
TEST_F(GameTest, CommandsDuringATurn) {
    startWith(1, 3);
    dialog.setScrambleSeed(5);
    dialog.OnCommand(kCmdNewGame);
    platform.tickFrames(20);
    dialog.OnCommand(kCmdWhite);
    EXPECT_EQ(dialog.view().bgColour, 0); // waits
    dialog.OnCommand(kCmdNewGame);        // the first scramble ends at once, then a new one
    EXPECT_TRUE(dialog.view().bgColour == 1 && record().clockRunning == 0);
    EXPECT_TRUE(platform.frameClockRunning);
    dialog.OnCommand(kCmdTetraLevel1 + 1);
    EXPECT_FALSE(dialog.busy() || platform.frameClockRunning);
    EXPECT_TRUE(puzzle().puzzleType == kTetrahedron && isSolved(puzzle()));

    dialog.performTurn(Move::axisTurn(1, 0, 1));
    const auto stored = platform.ints;
    dialog.OnCommand(kCmdExit);
    EXPECT_TRUE(platform.closed);
    dialog.OnDestroy(); // the window goes mid-turn: nothing more runs or is stored
    EXPECT_FALSE(dialog.busy() || platform.frameClockRunning);
    EXPECT_EQ(platform.ints, stored);
}

const std::string kEmpty = "-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,";
const std::string kFull = "10,20,30,40,50,60,70,80,90,100,";

// A table's stored moves and time texts, the moves and seconds of a solved game, and the texts
// written back: the first result of a table; a tie goes below the earlier result, so it stays
// out of a full list whose last place holds it; a full list keeps out a worse result while the
// other list of the table takes the same game's value.
TEST_F(GameTest, PutsEachValueAtItsRankInItsOwnList) {
    struct Entry {
        std::string moves, times;
        int newMoves, newSeconds;
        std::string movesAfter, timesAfter;
    };
    for (const Entry& e :
         {Entry{kEmpty, kEmpty, 57, 95, "57,-1,-1,-1,-1,-1,-1,-1,-1,-1,",
                "95,-1,-1,-1,-1,-1,-1,-1,-1,-1,"},
          Entry{"40,57,80,", kFull, 57, 100, "40,57,57,80,-1,-1,-1,-1,-1,-1,", kFull},
          Entry{kFull, kFull, 101, 45, kFull, "10,20,30,40,45,50,60,70,80,90,"}}) {
        platform.strings[{"HighScores", "Tetra2M"}] = e.moves;
        platform.strings[{"HighScores", "Tetra2T"}] = e.times;
        dialog.enterResult(5, e.newMoves, e.newSeconds);
        EXPECT_EQ((platform.strings[{"HighScores", "Tetra2M"}]), e.movesAfter) << e.moves;
        EXPECT_EQ((platform.strings[{"HighScores", "Tetra2T"}]), e.timesAfter) << e.times;
    }
}

// Whatever is stored, the list read from it is sound and goes back in the proper form: missing
// and extra fields, fields that are no plain number, numbers past the int range, and a list
// stored out of order.
TEST(StoredHighscoreText, IsReadFieldByField) {
    for (const auto& [stored, written] :
         {std::pair{"", kEmpty.c_str()}, std::pair{",,,,,,,,,,,,", kEmpty.c_str()},
          std::pair{"1,2,3,4,5,6,7,8,9,10,11,", "1,2,3,4,5,6,7,8,9,10,"},
          std::pair{"abc,12,x7,7x,,+5, 6,-7,-0,0,", "0,12,-1,-1,-1,-1,-1,-1,-1,-1,"},
          std::pair{"2147483647,2147483648,99999999999999999999,3,",
                    "3,2147483647,-1,-1,-1,-1,-1,-1,-1,-1,"},
          std::pair{"30,-1,10,20", "10,20,30,-1,-1,-1,-1,-1,-1,-1,"}}) {
        EXPECT_EQ(formatHighscoreText(parseHighscoreText(stored)), written) << stored;
    }
}

// Stored "BkColor", "Figura" and "Nivel", then the background, kind and level the game starts
// with: the defaults, sound choices at the ends of their ranges, and out-of-range or garbage
// ones (the window's test reads texts that are no number through the real storage).
TEST(StoredSettings, AreUsedWhenSoundAndFallBackOtherwise) {
    constexpr int kCases[13][6] = {{0, 3, 2, 0, 3, 2},      {1, 3, 3, 1, 3, 3},
                                   {2, 1, 3, 0, 1, 3},      {-1, 1, 3, 0, 1, 3},
                                   {0, 1, 5, 0, 1, 5},      {0, 1, 6, 0, 3, 2},
                                   {1, 1, 0, 1, 3, 2},      {0, 2, 4, 0, 2, 4},
                                   {0, 2, 5, 0, 3, 2},      {0, 3, INT_MIN, 0, 3, INT_MIN},
                                   {0, 4, 6, 0, 4, 2},      {1, 0, 2, 1, 3, 2},
                                   {0, INT_MAX, 1, 0, 3, 2}};
    for (const auto& [bk, figura, nivel, bgColour, puzzleType, level] : kCases) {
        const StartupChoice s = validateStartupChoice(bk, figura, nivel);
        EXPECT_EQ(std::tuple(s.bgColour, s.puzzleType, s.level),
                  std::tuple(bgColour, puzzleType, level))
            << bk << " " << figura << " " << nivel;
    }
}

// Each puzzle command builds its puzzle and stores its kind and level; the Type item marked
// after it (0: none), and the highscore table shown (the first where the puzzle has none). The
// cubes without a menu item leave the marks as they were; the sphere clears them. Training keeps
// the puzzle and its marks and stops the clock.
TEST_F(GameTest, PuzzleCommandsBuildMarkAndStore) {
    startWith(2, 3);
    const auto marked = [&] { // the Type items marked
        return std::ranges::count_if(platform.checks, [](auto& c) {
            return c.first >= kCmdCubeLevel1 && c.first <= kCmdPiracube && c.second;
        });
    };
    const struct {
        int command, type, level, marked, table;
    } cases[] = {{kCmdCube2Extra + 2, kCube, 4, kCmdTetraLevel1 + 2, 3},
                 {kCmdCube5Extra, kCube, 5, kCmdTetraLevel1 + 2, 0},
                 {kCmdCubeLevel1, kCube, 1, kCmdCubeLevel1, 0},
                 {kCmdCubeLevel4, kCube, 4, kCmdCubeLevel4, 3},
                 {kCmdTetraLevel1 + 2, kTetrahedron, 3, kCmdTetraLevel1 + 2, 6},
                 {kCmdTetraLevel4, kTetrahedron, 4, kCmdTetraLevel4, 7},
                 {kCmdPiracube, kPiracube, 3, kCmdPiracube, 8},
                 {kCmdSphere, kSphere, 2, 0, 0},
                 {kCmdCube5Extra, kCube, 5, 0, 0}};
    for (const auto& c : cases) {
        dialog.OnCommand(c.command);
        dialog.OnCommand(kCmdHighscores);
        EXPECT_EQ(puzzle().puzzleType, c.type) << c.command;
        EXPECT_TRUE(c.type == kSphere || puzzle().size == c.level) << c.command;
        EXPECT_EQ(marked(), c.marked ? 1 : 0) << c.command;
        EXPECT_TRUE(!c.marked || platform.checked(c.marked)) << c.command;
        EXPECT_EQ(std::pair(configInt("Figura"), configInt("Nivel")), std::pair(c.type, c.level));
        EXPECT_EQ(platform.highscoreDialogs.back(), c.table) << c.command;
    }
    dialog.OnCommand(kCmdNewGame);
    dialog.OnCommand(kCmdTraining);
    EXPECT_EQ(puzzle().size, 5.0);
    EXPECT_TRUE(record().clockRunning == 0 && marked() == 0);
}

// The background, pen and colour aid commands redraw, mark and store (the window's groups keep
// the marks exclusive). The colour aid is off unless stored as 1 (garbage is off); symbols add
// drawing without changing what the stickers themselves draw.
TEST_F(GameTest, ViewCommandsDrawMarkAndStore) {
    platform.ints[{"Config", "Symbols"}] = 7;
    platform.ints[{"Config", "Palette"}] = 1;
    dialog.OnInitDialog();
    EXPECT_FALSE(dialog.view().colourSymbols);
    EXPECT_TRUE(dialog.view().colourBlindPalette && platform.checked(kCmdColourBlindPalette));
    // command, the value stored, the background's brush and outline in the redraw
    for (const auto& [command, name, value, brush, pen] :
         {std::tuple{kCmdWhite, "BkColor", 1, kWhiteBrush, Pen::Null},
          std::tuple{kCmdBlack, "BkColor", 0, kBlackBrush, Pen::Null},
          std::tuple{kCmdPenThick, "PenW", 1, kBlackBrush, Pen::Thick},
          std::tuple{kCmdPenThin, "PenW", 2, kBlackBrush, Pen::Thin},
          std::tuple{kCmdPenNone, "PenW", 0, kBlackBrush, Pen::Null},
          std::tuple{kCmdColourBlindPalette, "Palette", 0, kBlackBrush, Pen::Null}}) {
        canvas.clear();
        dialog.OnCommand(command);
        EXPECT_EQ(configInt(name), value) << command;
        EXPECT_EQ(platform.checked(command), command != kCmdColourBlindPalette) << command;
        ASSERT_FALSE(canvas.calls.empty()) << command;
        EXPECT_TRUE(canvas.calls[0].brush == brush && canvas.calls[0].pen == pen) << command;
    }
    const auto redrawn = [&] {
        canvas.clear();
        dialog.redraw();
        return canvas.calls;
    };
    dialog.OnCommand(kCmdPiracube);
    const std::vector<RecordingCanvas::Call> plain = redrawn();
    dialog.OnCommand(kCmdColourSymbols);
    EXPECT_TRUE(platform.checked(kCmdColourSymbols) && configInt("Symbols") == 1);
    EXPECT_GT(redrawn().size(), plain.size() + 10);
    dialog.OnCommand(kCmdColourSymbols);
    EXPECT_TRUE(configInt("Symbols") == 0 && redrawn() == plain);
}

} // namespace
} // namespace korvane::testing
