// The main of a benchmark over the program's windows: offscreen unless the
// environment names a platform, and ended at once after the runs, without
// tearing down the program's windows and files one by one.
#pragma once

#include <benchmark/benchmark.h>

#include <QtGlobal>
#include <cstdlib>

namespace bench {

[[noreturn]] inline void RunWindowBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::_Exit(0);
}

}  // namespace bench
