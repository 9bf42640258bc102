// Whole turns with the frame clock ticked at once (every frame drawn on the QImage back buffer
// and composed with the status line, as a repaint does), the frame clock at its interval through
// the real window, and one spin-drag event through the real window offscreen.
#include <QCoreApplication>

#include "app/commands.h"
#include "app/puzzle_dialog.h"
#include "bench_main.h"
#include "fakes/fake_platform.h"
#include "platform/qt/main_window.h"
#include "platform/qt/puzzle_view.h"
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
        platform.onFrameTick = [this] { dialog.OnFrameTick(); };
        dialog.OnInitDialog();
        dialog.buildPuzzle(type, level);
        dialog.redraw();
    }
};

void wholeTurn(benchmark::State& state) {
    const Turn& turn = kTurns[state.range(0)];
    BufferedGame<testing::FakePlatform> game(turn.type, turn.level);
    PuzzleDialog& dialog = game.dialog;
    const Move move = turn.op == 5 ? Move::cornerTurn(3, 1) : Move::axisTurn(turn.op, 1, 1);
    for (auto _ : state) {
        dialog.performTurn(move);
        game.platform.tickFrames();
    }
    state.SetLabel(turn.name);
}
BENCHMARK(wholeTurn)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// OnMouseMove to the painted window, the view at scale 2 (480 x 640 device pixels).
void spinDragEvent(benchmark::State& state) {
    qt::MainWindow window;
    window.platform().storage();
    window.start();
    window.dialog().OnCommand(kCmdCubeLevel4);
    QCoreApplication::processEvents();
    PuzzleDialog& dialog = window.dialog();
    dialog.OnLButtonDown(0, 5, 310);
    int x = 5;
    for (auto _ : state) {
        x = x == 5 ? 6 : 5;
        dialog.OnMouseMove(0, x, 310);
    }
    dialog.OnLButtonUp(0, x, 310);
    state.SetLabel("cube level 4, scale " + std::to_string(window.backBuffer().scale()));
}
BENCHMARK(spinDragEvent)->Unit(benchmark::kMicrosecond);

// Timestamps of the paints a widget receives.
struct PaintTimes : QObject {
    std::vector<std::chrono::steady_clock::time_point> shown;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            shown.push_back(std::chrono::steady_clock::now());
        }
        return false;
    }
};

// The frame clock at its default 25 ms through the real window: the intervals between the
// frames of cube turns as shown, against the interval asked for.
void pacedTurnFrames(benchmark::State& state) {
    qputenv("KORVANE_FRAME_MS", "25");
    qt::MainWindow window;
    window.start();
    window.dialog().OnCommand(kCmdCube5Extra);
    QCoreApplication::processEvents();
    PaintTimes paints;
    window.view().installEventFilter(&paints);
    PuzzleDialog& dialog = window.dialog();
    std::vector<double> intervals;
    for (auto _ : state) {
        paints.shown.clear();
        dialog.turnAxis2(2, +1);
        while (dialog.busy()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        for (std::size_t i = 1; i < paints.shown.size(); ++i) {
            intervals.push_back(
                std::chrono::duration<double, std::milli>(paints.shown[i] - paints.shown[i - 1])
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
