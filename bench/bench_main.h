#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

// Benchmarks run the real Qt drawing offscreen, with unpaced frames.
#define KORVANE_BENCHMARK_MAIN()                                                                   \
    int main(int argc, char** argv) {                                                              \
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty()                            \
                                       ? QByteArray("offscreen")                                   \
                                       : qgetenv("QT_QPA_PLATFORM"));                              \
        qputenv("KORVANE_FRAME_MS", "0");                                                          \
        QApplication app(argc, argv);                                                              \
        QApplication::setOrganizationName("Helmfirth-bench");                                      \
        QApplication::setApplicationName("Korvane-bench");                                         \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
