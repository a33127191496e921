#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

// Benchmarks of windows need an application object; they run offscreen so that no display is needed.
#define QUORVEL_OFFSCREEN_BENCHMARK_MAIN()                                                                   \
    int main(int argc, char** argv) {                                                                        \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                             \
        QApplication app(argc, argv);                                                                        \
        benchmark::Initialize(&argc, argv);                                                                  \
        benchmark::RunSpecifiedBenchmarks();                                                                 \
        benchmark::Shutdown();                                                                               \
        return 0;                                                                                            \
    }
