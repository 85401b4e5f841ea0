#pragma once

// The main() of a benchmark that needs widgets: on the offscreen platform unless
// QT_QPA_PLATFORM names another, with the program's C locale.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>

namespace corvanta::bench {

inline int runWidgetBenchmarks(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale::c());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace corvanta::bench
