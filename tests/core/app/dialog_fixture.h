#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "app/commands.h"
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
    for (int i = 0; i < kCorners * 3; ++i)
        worst = std::max(worst, std::fabs(a.corner[i / 3][i % 3] - b.corner[i / 3][i % 3]));
    return worst;
}

inline bool sameColours(const Puzzle& a, const Puzzle& b) {
    return std::memcmp(a.stickerColour, b.stickerColour, sizeof a.stickerColour) == 0;
}

// A PuzzleDialog on the fake platform and the recording canvas, painting at once.
class DialogTest : public ::testing::Test {
protected:
    FakePlatform platform;
    RecordingCanvas canvas;
    PuzzleDialog dialog{platform, canvas};
    std::optional<PuzzleDialog> next;

    DialogTest() {
        platform.onRepaint = [this] { dialog.paintWindow(); };
        platform.onFrameTick = [this] { dialog.OnFrameTick(); };
    }

    // The game started again on the same storage (the first window closed or killed); from now
    // on the new one paints and ticks.
    PuzzleDialog& restart() {
        next.emplace(platform, canvas);
        platform.onRepaint = [this] { next->paintWindow(); };
        platform.onFrameTick = [this] { next->OnFrameTick(); };
        next->OnInitDialog();
        return *next;
    }
    // Tick the frame clock until the running turns (and what waited for them) are over.
    int settle() { return platform.tickFrames(); }

    void startWith(int figura, int nivel) {
        platform.ints[{"Config", "Figura"}] = figura;
        platform.ints[{"Config", "Nivel"}] = nivel;
        dialog.OnInitDialog();
        dialog.redraw();
    }
    const Puzzle& puzzle() const { return dialog.puzzle(); }
    const GameRecord& record() const { return dialog.record(); }
    int configInt(const char* name) { return platform.readInt("Config", name, -999); }
    bool coloursEqual(const Puzzle& other) const { return sameColours(dialog.puzzle(), other); }
    // The centre of a sticker slot as the player sees it, from the last full redraw.
    Point stickerCentre(int slot, int row, int col, int points) const {
        const Point* p = dialog.screen().stickerPoly[slot - 1][row][col].p;
        Point sum{};
        for (int i = 0; i < points; ++i)
            sum = {sum.x + p[i].x, sum.y + p[i].y};
        return {sum.x / points, sum.y / points};
    }
    static void stroke(PuzzleDialog& d, Point from, Point to) {
        d.OnLButtonDown(0, from.x, from.y);
        d.OnMouseMove(0, to.x, to.y);
        d.OnLButtonUp(0, to.x, to.y);
    }
    void stroke(Point from, Point to) { stroke(dialog, from, to); }
    // The zoom-in magnifier pressed and held for `ticks` of its timer.
    void holdZoomIn(int ticks) {
        dialog.OnLButtonDown(0, 30, 10);
        for (int i = 0; i < ticks; ++i)
            dialog.OnTimer(kZoomTimer);
        dialog.OnLButtonUp(0, 30, 10);
    }
};

} // namespace korvane::testing
