#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/puzzle_dialog.h"
#include "fakes/fake_platform.h"
#include "fakes/recording_canvas.h"
#include "model/distance_table.h"

namespace korvane::testing {

// The 2-layer cube's table, built once for the program (a tenth of a second).
inline const DistanceTable& cubeTable() {
    static const DistanceTable table = DistanceTable::build(TableKind::Cube2);
    return table;
}

// How far apart the corners of two puzzles lie, at most.
inline double maxCornerDifference(const Puzzle& a, const Puzzle& b) {
    double worst = 0.0;
    for (int i = 0; i < kCorners; ++i) {
        for (int k = 0; k < 3; ++k) {
            worst = std::max(worst, std::fabs(a.corner[i][k] - b.corner[i][k]));
        }
    }
    return worst;
}

// A PuzzleDialog on the fake platform and the recording canvas, painting at once.
class DialogTest : public ::testing::Test {
protected:
    FakePlatform platform;
    RecordingCanvas canvas;
    PuzzleDialog dialog{platform, canvas};

    DialogTest() {
        platform.onRepaint = [this] { dialog.paintWindow(); };
        platform.onFrameTick = [this] { dialog.OnFrameTick(); };
    }

    // Tick the frame clock until the running turns (and what waited for them) are over.
    int settle() { return platform.tickFrames(); }

    void start() { dialog.OnInitDialog(); }
    void startWith(int figura, int nivel, int bk = 0) {
        platform.ints[{"Config", "Figura"}] = figura;
        platform.ints[{"Config", "Nivel"}] = nivel;
        platform.ints[{"Config", "BkColor"}] = bk;
        dialog.OnInitDialog();
        dialog.redraw();
    }
    const Puzzle& puzzle() const { return dialog.puzzle(); }
    const GameRecord& record() const { return dialog.record(); }
    int configInt(const char* name) const {
        auto it = platform.ints.find({"Config", name});
        return it == platform.ints.end() ? -999 : it->second;
    }
    bool coloursEqual(const int (&a)[kCells][kCells][kFaces]) const {
        return std::memcmp(a, dialog.puzzle().stickerColour, sizeof a) == 0;
    }
    // The centre of a sticker slot as the player sees it, from the last full redraw.
    Point stickerCentre(int slot, int row, int col, int points) const {
        const StickerScreen& s = dialog.screen().stickerPoly[slot - 1][row][col];
        int x = 0;
        int y = 0;
        for (int i = 0; i < points; ++i) {
            x += s.p[i].x;
            y += s.p[i].y;
        }
        return {x / points, y / points};
    }
    void stroke(Point from, Point to) {
        dialog.OnLButtonDown(0, from.x, from.y);
        dialog.OnMouseMove(0, to.x, to.y);
        dialog.OnLButtonUp(0, to.x, to.y);
    }
};

} // namespace korvane::testing
