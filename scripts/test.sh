#!/usr/bin/env bash
# Installs what is missing, builds every test with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs them all; then runs the core tests once more as the game ships them (optimised), since
# an optimiser can break what a debug build gets right.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_SANITIZE=ON >/dev/null
cmake --build build-test
ctest --test-dir build-test --output-on-failure -j2

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_BUILD_BENCH=OFF >/dev/null
core_tests=(test_model test_render test_input test_app)
cmake --build build-release --target "${core_tests[@]}"
for t in "${core_tests[@]}"; do
    build-release/tests/"$t" --gtest_brief=1
done
