#!/usr/bin/env bash
# Reproduces the figures of docs/performance.md: benchmarks over bench/ and whole-process
# measurements of the game under Xvfb. Run it on an otherwise idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target korvane bench_render bench_game present_floor
echo "Machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; $(date -u '+%Y-%m-%d %H:%M UTC')"
"$build"/bench/bench_render --benchmark_min_time=0.5
"$build"/bench/bench_game --benchmark_min_time=0.5
python3 scripts/measure_process.py "$build"/src/platform/qt/korvane
# What any Qt widget spends on a move: the same mouse moves answered by repainting the game's
# area from a ready picture, and by no paint at all.
echo "Least a Qt widget spends, repainting the game's area: $(python3 scripts/measure_process.py "$build"/bench/present_floor --spin-only)"
echo "Least a Qt widget spends, no paint: $(KORVANE_FLOOR_AREA=0x0 python3 scripts/measure_process.py "$build"/bench/present_floor --spin-only)"
