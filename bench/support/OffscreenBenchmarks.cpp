#include "bench/support/OffscreenBenchmarks.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int runOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& prepare)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (prepare)
        prepare();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
