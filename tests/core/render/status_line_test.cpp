#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/recording_canvas.h"
#include "render/status_line.h"

namespace korvane {
namespace {

using testing::RecordingCanvas;
using Texts = std::vector<std::pair<std::string, Point>>; // text and the right bottom corner

constexpr Point kSeconds{148, 24};
constexpr Point kMoves{215, 24};

Texts compose(GameState& g, std::int64_t now) {
    RecordingCanvas canvas;
    composeStatusLine(g, canvas, now);
    EXPECT_EQ(canvas.calls.at(0).op, RecordingCanvas::Op::Strip) << "the strip wipes old texts";
    Texts texts;
    for (const auto& call : canvas.calls) {
        if (call.op == RecordingCanvas::Op::Text) {
            EXPECT_EQ(call.points[0], (Point{call.points[1].x == 148 ? 100 : 180, 3}));
            texts.emplace_back(call.text, call.points[1]);
        }
    }
    return texts;
}

TEST(StatusLine, ShowsNoughtsWhileNoGameRuns) {
    GameState g;
    g.moveCount = 17;
    EXPECT_EQ(compose(g, 5000), (Texts{{"0", kMoves}, {"0", kSeconds}}));
}

TEST(StatusLine, ShowsSecondsAndMovesOfARunningGameAndNeverANegativeTime) {
    GameState g;
    g.clockRunning = 1;
    g.startTime = 1000;
    g.moveCount = 17;
    EXPECT_EQ(compose(g, 1125), (Texts{{"125", kSeconds}, {"17", kMoves}}));
    EXPECT_EQ(g.clockNow, 1125);
    EXPECT_EQ(g.elapsedSeconds, 125);
    EXPECT_EQ(compose(g, 990).at(0), (std::pair<std::string, Point>{"0", kSeconds}));
    EXPECT_EQ(g.elapsedSeconds, 0);
}

} // namespace
} // namespace korvane
