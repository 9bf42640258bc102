// A long random session against the game: every kind of event in any order, also while turns
// run and with the window closing mid-scramble, and after each one the game's invariants hold.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "app/commands.h"
#include "dialog_fixture.h"
#include "model/puzzle_build.h"

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
        const int n = sizeLevel(g);
        if (g.puzzleType == kCube) {
            return DialogTest::stickerCentre(1 + pick(3), pick(n + 1), pick(n + 1), 4);
        }
        if (g.puzzleType == kPiracube) {
            return DialogTest::stickerCentre(1 + pick(3), 1 + pick(2), pick(2), 3);
        }
        if (g.puzzleType == kTetrahedron) {
            const int row = pick(n + 1);
            return DialogTest::stickerCentre(1 + pick(4), row, pick(2 * (n - row) + 1), 3);
        }
        return anywhere();
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
            for (int i = pick(6); i > 0; --i) {
                const Point to = anywhere();
                dialog.OnMouseMove(0, to.x, to.y);
            }
            dialog.OnLButtonUp(0, from.x, from.y);
        } else if (roll < 640) {
            dialog.OnLButtonDown(0, pick(40), pick(21));
            for (int i = pick(60); i > 0; --i) {
                dialog.OnTimer(kZoomTimer);
            }
            const Point to = anywhere();
            dialog.OnLButtonUp(0, to.x, to.y);
        } else if (roll < 720) {
            const int ids[] = {kZoomTimer, kClockTimer, 1, 0};
            dialog.OnTimer(ids[pick(4)]);
        } else if (roll < 800) {
            dialog.OnCommand(kCmdUndo);
        } else if (roll < 860) {
            dialog.OnCommand(kPuzzleCommands[pick(std::size(kPuzzleCommands))]);
        } else if (roll < 960) {
            const int command = kCommands[pick(std::size(kCommands))];
            if (command != kCmdNewGame || pick(8) == 0) { // a scramble is 19 turns
                dialog.OnCommand(command);
            }
        } else if (roll < 995) {
            dialog.OnKeyDown(static_cast<PuzzleDialog::Key>(pick(7)), pick(2) == 0, pick(3) == 0);
            const int other = pick(16);
            if (other == 0) {
                dialog.OnHelpRequest();
            } else if (other == 1) {
                dialog.OnPauseRequest(); // the window minimised
            }
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
        ASSERT_FALSE(dialog.busy());
        ASSERT_FALSE(platform.frameClockRunning);
        const int type = platform.readInt("Config", "Figura", 0);
        ASSERT_EQ(puzzle().puzzleType, type);
        ASSERT_EQ(sizeLevel(puzzle()), platform.readInt("Config", "Nivel", 0));
        start();
        dialog.redraw();
    }

    // Each colour (N + 1)^2 times on the cube and the tetrahedron, five times on the Piracube.
    void expectColourCounts() {
        const Puzzle& g = dialog.puzzle();
        const int n = sizeLevel(g);
        const auto used = [&](int a, int b, int f) {
            switch (g.puzzleType) {
            case kCube:
                return a <= n && b <= n;
            case kTetrahedron:
                return f < 4 && a <= n && b <= 2 * (n - a);
            case kPiracube:
                return (a == 0 && b == 0) || ((a == 1 || a == 2) && b <= 1);
            default:
                return false;
            }
        };
        int count[kFaces] = {};
        for (int a = 0; a < kCells; ++a)
            for (int b = 0; b < kCells; ++b)
                for (int f = 0; f < kFaces; ++f)
                    count[used(a, b, f) ? g.stickerColour[a][b][f] : 0] += used(a, b, f) ? 1 : 0;
        const int faces = g.puzzleType == kTetrahedron ? 4 : g.puzzleType == kSphere ? 0 : 6;
        for (int f = 0; f < faces; ++f) {
            ASSERT_EQ(count[f], g.puzzleType == kPiracube ? 5 : (n + 1) * (n + 1)) << f;
        }
    }

    // The corners the kind uses keep the distances of a freshly built puzzle.
    void expectRigidCorners() {
        const Puzzle& g = dialog.puzzle();
        if (g.puzzleType == kSphere) {
            return;
        }
        Puzzle built;
        buildPuzzleState(built, g.puzzleType, sizeLevel(g));
        const int used = g.puzzleType == kTetrahedron ? 4 : 8;
        for (int i = 0; i < used; ++i) {
            for (int j = i + 1; j < used; ++j) {
                ASSERT_NEAR(distance(g.corner[i], g.corner[j]),
                            distance(built.corner[i], built.corner[j]), 1e-9);
            }
        }
    }
    static double distance(const double* p, const double* q) {
        return std::sqrt((p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) +
                         (p[2] - q[2]) * (p[2] - q[2]));
    }

    void expectInvariants() {
        const GameRecord& g = dialog.record();
        // The undo button follows the record between turns (during an undo it is still lit).
        ASSERT_TRUE(dialog.busy() || platform.buttonEnabled(kCmdUndo) == (g.undoState == 0));
        ASSERT_GE(g.moveCount, 0);
        ASSERT_EQ(g.moves.size() >= static_cast<std::size_t>(g.moveCount), true);
        ASSERT_GE(dialog.view().zoom, 0.2);
        ASSERT_LE(dialog.view().zoom, 2.0);
        expectColourCounts();
        expectRigidCorners();
    }
};

TEST_F(Monkey, TwoHundredThousandRandomEventsKeepTheGameSound) {
    start();
    dialog.redraw();
    for (int event = 0; event < 200000; ++event) {
        canvas.clear();
        randomEvent();
        expectInvariants();
        if (HasFatalFailure()) {
            FAIL() << "after event " << event;
        }
    }
}

} // namespace
} // namespace korvane::testing
