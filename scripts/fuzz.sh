#!/usr/bin/env bash
# Fuzzes one target for a given time: scripts/fuzz.sh <target> <seconds>
#   targets: fuzz_highscores, fuzz_settings, fuzz_settings_file, fuzz_kept_game
# Builds it with clang and libFuzzer in build-fuzz, runs it on a copy of its seed corpus and
# leaves the grown corpus and any crashing input in fuzz-out/<target>/. A crash found here
# belongs in fuzz/corpus/<target>/ once it is fixed, so every build checks it again.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 2 ]; then
    echo "usage: $0 <target> <seconds>" >&2
    exit 2
fi
target=$1
seconds=$2
if [ ! -d "fuzz/corpus/$target" ]; then
    echo "no such fuzz target: $target (see fuzz/corpus/)" >&2
    exit 2
fi
if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKORVANE_FUZZ=ON -DKORVANE_BUILD_TESTS=OFF -DKORVANE_BUILD_BENCH=OFF >/dev/null
fi
cmake --build build-fuzz -j2 --target "$target"

out=fuzz-out/$target
mkdir -p "$out/corpus"
cp -n "fuzz/corpus/$target"/* "$out/corpus/"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
# fuzz_settings_file writes a settings file per input: keep those in memory when we can.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
# AddressSanitizer keeps a record of every allocation site it sees; inside Qt, which has no frame
# pointers, those records pile up (a few KiB per input of fuzz_settings_file), so the
# resident-memory limit is raised from libFuzzer's 2 GiB for long runs.
"build-fuzz/fuzz/$target" -max_total_time="$seconds" -artifact_prefix="$out/" \
    -rss_limit_mb=6144 -print_final_stats=1 "$out/corpus" 2>&1 | tee "$out/log.txt" || status=$?
if ls "$out"/crash-* "$out"/leak-* "$out"/timeout-* "$out"/oom-* >/dev/null 2>&1; then
    echo "$target: inputs that broke it are in $out/" >&2
    status=1
fi
exit "$status"
