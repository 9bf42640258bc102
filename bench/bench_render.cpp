// Full redraws of the heaviest puzzle of each kind, on the recording canvas (the renderer's own
// cost) and on the QImage back buffer at scale 1, 2 and 3 (what a repaint costs on screen), and
// the drawing of a spin drag as the default window shows it.
#include "bench_main.h"
#include "fakes/recording_canvas.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "platform/qt/qimage_canvas.h"
#include "render/renderer.h"

namespace {

using namespace korvane;

struct Kind {
    int type;
    int level;
    const char* name;
};
constexpr Kind kKinds[] = {
    {kCube, 5, "cube level 5"},
    {kTetrahedron, 4, "tetrahedron level 4"},
    {kPiracube, 2, "Piracube"},
    {kSphere, 2, "sphere"},
};

void redrawOnRecordingCanvas(benchmark::State& state) {
    const Kind& kind = kKinds[state.range(0)];
    Puzzle g;
    buildPuzzleState(g, kind.type, kind.level);
    ScreenRecords records;
    testing::RecordingCanvas canvas;
    for (auto _ : state) {
        canvas.clear();
        drawWholePuzzle(g, View{}, canvas, records);
        benchmark::DoNotOptimize(canvas.calls.data());
    }
    state.SetLabel(kind.name);
}
BENCHMARK(redrawOnRecordingCanvas)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void redrawOnQImage(benchmark::State& state) {
    const Kind& kind = kKinds[state.range(0)];
    Puzzle g;
    buildPuzzleState(g, kind.type, kind.level);
    ScreenRecords records;
    qt::QImageCanvas canvas;
    canvas.setScale(static_cast<double>(state.range(1)));
    for (auto _ : state) {
        drawWholePuzzle(g, View{}, canvas, records);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
    state.SetLabel(std::string(kind.name) + ", scale " + std::to_string(state.range(1)));
}
BENCHMARK(redrawOnQImage)->ArgsProduct({{0, 1, 2, 3}, {1, 2, 3}})->Unit(benchmark::kMicrosecond);

// A spin drag back and forth by one logical pixel, each move a new picture: the Piracube at
// scale 2, as the default window shows it. Target: 0.3 ms a move for the whole game, presenting
// included.
void spinDragOnQImage(benchmark::State& state) {
    Puzzle g;
    buildPuzzleState(g, kPiracube, 2);
    ScreenRecords records;
    qt::QImageCanvas canvas;
    canvas.setScale(2.0);
    drawWholePuzzle(g, View{}, canvas, records); // the painter's first start loads fonts
    double way = 1.0;
    for (auto _ : state) {
        spinY(g, way);
        way = -way;
        drawWholePuzzle(g, View{}, canvas, records);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}
BENCHMARK(spinDragOnQImage)->Unit(benchmark::kMicrosecond);

} // namespace

KORVANE_BENCHMARK_MAIN()
