// Whole turns without pacing (every frame drawn on the QImage back buffer and composed with the
// status line, as a repaint does) and one spin-drag event through the real window offscreen.
#include <QCoreApplication>

#include "app/commands.h"
#include "app/puzzle_dialog.h"
#include "bench_main.h"
#include "fakes/fake_platform.h"
#include "platform/qt/frame_pacer.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qimage_canvas.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using namespace korvane;

struct Turn {
    int type;
    int level;
    int op; // 1..4 an axis turn of layer 1, 5 a corner turn
    const char* name;
};
constexpr Turn kTurns[] = {
    {kCube, 5, 1, "cube level 5"},
    {kCube, 2, 1, "cube level 2"},
    {kTetrahedron, 4, 4, "tetrahedron level 4"},
    {kPiracube, 2, 5, "Piracube"},
};

// A game on the QImage back buffer whose repaints compose the picture as the window's do.
template <typename Services> struct BufferedGame {
    Services platform;
    qt::QImageCanvas canvas;
    PuzzleDialog dialog{platform, canvas};

    BufferedGame(int type, int level) {
        platform.onRepaint = [this] {
            dialog.paintWindow();
            benchmark::DoNotOptimize(canvas.image().constBits());
        };
        dialog.OnInitDialog();
        dialog.buildPuzzle(type, level);
        dialog.redraw();
    }
};

void wholeTurn(benchmark::State& state) {
    const Turn& turn = kTurns[state.range(0)];
    BufferedGame<testing::FakePlatform> game(turn.type, turn.level);
    PuzzleDialog& dialog = game.dialog;
    for (auto _ : state) {
        if (turn.op == 5) {
            dialog.turnCorner(+1, 3);
        } else {
            dialog.g.layer = 1;
            dialog.turnAxis1(+1);
        }
    }
    state.SetLabel(turn.name);
}
BENCHMARK(wholeTurn)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// OnMouseMove to the painted window, the view at scale 2 (480 x 640 device pixels): a level-4
// cube and the Piracube the game starts with.
void spinDragEvent(benchmark::State& state) {
    qt::MainWindow window;
    window.platform().storage();
    window.start();
    window.dialog().OnCommand(static_cast<int>(state.range(0)));
    QCoreApplication::processEvents();
    PuzzleDialog& dialog = window.dialog();
    dialog.OnLButtonDown(0, 5, 310);
    int x = 5;
    for (auto _ : state) {
        x = x == 5 ? 6 : 5;
        dialog.OnMouseMove(0, x, 310);
    }
    dialog.OnLButtonUp(0, x, 310);
    state.SetLabel(std::string(state.range(0) == kCmdPiracube ? "Piracube" : "cube level 4") +
                   ", scale " + std::to_string(window.backBuffer().scale()));
}
BENCHMARK(spinDragEvent)->Arg(kCmdCubeLevel4)->Arg(kCmdPiracube)->Unit(benchmark::kMicrosecond);

// The window's frame pacing at its default 25 ms: the intervals between the frames of paced
// cube turns as shown, against the interval asked for.
class PacedPlatform : public testing::FakePlatform {
public:
    qt::FramePacer pacer{std::chrono::milliseconds(qt::FramePacer::kDefaultFrameMs)};
    std::vector<qt::FramePacer::Clock::time_point> shown;
    void paceFrame() override {
        shown.push_back(qt::FramePacer::Clock::now());
        pacer.paceFrame();
    }
};

void pacedTurnFrames(benchmark::State& state) {
    BufferedGame<PacedPlatform> game(kCube, 5);
    PacedPlatform& platform = game.platform;
    PuzzleDialog& dialog = game.dialog;
    std::vector<double> intervals;
    for (auto _ : state) {
        platform.shown.clear();
        dialog.g.layer = 2;
        dialog.turnAxis2(+1);
        for (std::size_t i = 1; i < platform.shown.size(); ++i) {
            intervals.push_back(
                std::chrono::duration<double, std::milli>(platform.shown[i] - platform.shown[i - 1])
                    .count());
        }
    }
    std::sort(intervals.begin(), intervals.end());
    double sum = 0.0;
    for (double v : intervals) {
        sum += v;
    }
    state.counters["interval_mean_ms"] = sum / static_cast<double>(intervals.size());
    state.counters["interval_min_ms"] = intervals.front();
    state.counters["interval_max_ms"] = intervals.back();
    state.SetLabel("cube level 5, 25 ms asked");
}
BENCHMARK(pacedTurnFrames)->Iterations(8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

KORVANE_BENCHMARK_MAIN()
