// A long random session against the game: every kind of event in any order, also while turns
// run and with the window closing mid-scramble, and after each one the game's invariants hold.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <random>

#include "dialog_fixture.h"
#include "model/puzzle_build.h"
#include "render/projection.h"

namespace korvane::testing {
namespace {

constexpr int kCommands[] = {32774, 32775, 32776, 32777, 32785, 32786, 32788, 32789, 32790, 32791,
                             32792, 32793, 32794, 32795, 32796, 32797, 32801, 32802, 32803, 32804,
                             32805, 32806, 32807, 32810, 32811, 32812, 32840, 32843, 32841, 32842,
                             57600, 32771, 32781, 32798, 0,     -1,    99999};
constexpr int kPuzzleCommands[] = {32774, 32775, 32776, 32777, 32788, 32789, 32790,
                                   32791, 32792, 32793, 32794, 32795, 32796, 32805};

class Monkey : public DialogTest {
protected:
    std::mt19937 rng{20261206};

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    Point anywhere() { return {pick(280) - 20, pick(360) - 20}; }

    // The centre of a random sticker slot of a random face slot, as last drawn.
    Point stickerCentre() {
        const Puzzle& g = dialog.puzzle();
        if (g.puzzleType == kSphere)
            return anywhere();
        const bool tetra = g.puzzleType == kTetrahedron, pira = g.puzzleType == kPiracube;
        const int n = sizeLevel(g), row = pira ? 1 + pick(2) : pick(n + 1);
        const int col = pira ? pick(2) : pick(tetra ? 2 * (n - row) + 1 : n + 1);
        return DialogTest::stickerCentre(1 + pick(tetra ? 4 : 3), row, col, pira || tetra ? 3 : 4);
    }

    void randomEvent() {
        const int roll = pick(1000);
        if (roll < 300) {
            stroke(stickerCentre(), stickerCentre());
        } else if (roll < 420) {
            stroke(anywhere(), anywhere());
        } else if (roll < 560) {
            const Point from = anywhere();
            dialog.OnLButtonDown(0, from.x, from.y);
            for (int i = pick(6); i > 0; --i)
                dialog.OnMouseMove(0, anywhere().x, anywhere().y);
            dialog.OnLButtonUp(0, from.x, from.y);
        } else if (roll < 640) {
            dialog.OnLButtonDown(0, pick(40), pick(21));
            for (int i = pick(60); i > 0; --i)
                dialog.OnTimer(kZoomTimer);
            const Point to = anywhere();
            dialog.OnLButtonUp(0, to.x, to.y);
        } else if (roll < 720) {
            dialog.OnTimer(std::array{kZoomTimer, kClockTimer, 1, 0}[pick(4)]);
        } else if (roll < 800) {
            dialog.OnCommand(kCmdUndo);
        } else if (roll < 860) {
            dialog.OnCommand(kPuzzleCommands[pick(std::size(kPuzzleCommands))]);
        } else if (roll < 960) {
            const int command = kCommands[pick(std::size(kCommands))];
            if (command != kCmdNewGame || pick(8) == 0) // a scramble is 19 turns
                dialog.OnCommand(command);
        } else if (roll < 995) {
            dialog.OnKeyDown(static_cast<PuzzleDialog::Key>(pick(7)), pick(2) == 0, pick(3) == 0);
            const int other = pick(16);
            if (other == 0)
                dialog.OnHelpRequest();
            else if (other == 1)
                dialog.OnPauseRequest(); // the window minimised
        } else {
            closeMidTurn();
        }
        // Input often arrives while a turn runs: the frame clock ticks a few times, or on.
        platform.tickFrames(pick(3) == 0 ? 1 << 20 : pick(8));
    }

    // The window closes, often during a scramble, and the game starts again from what it
    // stored, which must be a whole choice, not half of one.
    void closeMidTurn() {
        if (pick(2) == 0) {
            dialog.OnCommand(kCmdNewGame);
            platform.tickFrames(pick(60));
        }
        dialog.OnDestroy();
        ASSERT_FALSE(dialog.busy() || platform.frameClockRunning);
        ASSERT_EQ(std::pair(puzzle().puzzleType, sizeLevel(puzzle())),
                  std::pair(configInt("Figura"), configInt("Nivel")));
        dialog.OnInitDialog();
        dialog.redraw();
    }

    // The colours of the stickers in use, counted.
    static std::map<int, int> colourCounts(const Puzzle& g) {
        const int n = sizeLevel(g), type = g.puzzleType;
        std::map<int, int> count;
        for (int i = 0; i < kCells * kCells * kFaces; ++i) {
            const int a = i / (kCells * kFaces), b = i / kFaces % kCells, f = i % kFaces;
            if (type == kCube          ? a <= n && b <= n
                : type == kTetrahedron ? f < 4 && a <= n && b <= 2 * (n - a)
                : type == kPiracube    ? a + b == 0 || ((a == 1 || a == 2) && b <= 1)
                                       : false)
                ++count[g.stickerColour[a][b][f]];
        }
        return count;
    }

    // Between turns the record and the view stay in range, and the puzzle is a freshly built one
    // moved: the same colours on the stickers in use, the corners it uses as far apart.
    void expectInvariants() {
        const GameRecord& r = dialog.record();
        // The undo button follows the record between turns (during an undo it is still lit).
        ASSERT_TRUE(dialog.busy() || platform.buttonEnabled(kCmdUndo) == (r.undoState == 0));
        ASSERT_TRUE(r.moveCount >= 0 && r.moves.size() >= static_cast<std::size_t>(r.moveCount));
        ASSERT_TRUE(dialog.view().zoom >= kZoomMin && dialog.view().zoom <= kZoomMax);
        const Puzzle& g = dialog.puzzle();
        Puzzle built;
        buildPuzzleState(built, g.puzzleType, sizeLevel(g));
        ASSERT_EQ(colourCounts(g), colourCounts(built));
        const int used = g.puzzleType == kTetrahedron ? 4 : g.puzzleType == kSphere ? 0 : 8;
        const auto apart = [](const double* p, const double* q) {
            return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
        };
        for (int i = 0; i < used * used; ++i)
            ASSERT_NEAR(apart(g.corner[i / used], g.corner[i % used]),
                        apart(built.corner[i / used], built.corner[i % used]), 1e-9);
    }
};

TEST_F(Monkey, TwoHundredThousandRandomEventsKeepTheGameSound) {
    dialog.OnInitDialog();
    dialog.redraw();
    for (int event = 0; event < 200000; ++event) {
        canvas.clear();
        randomEvent();
        expectInvariants();
        if (HasFatalFailure())
            FAIL() << "after event " << event;
    }
}

} // namespace
} // namespace korvane::testing
