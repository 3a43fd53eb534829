#pragma once
// Runs the benchmarks of a program whose code needs a QApplication, on the offscreen platform.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

// beforeQuit runs while the application still exists (windows kept by the benchmarks go there).
inline int RunQtBenchmarks(int argc, char **argv, const std::function<void()> &beforeQuit = {})
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeQuit)
        beforeQuit();
    return 0;
}
