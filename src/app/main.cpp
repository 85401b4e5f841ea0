#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Program.h"
#include "windows/AccountCharts.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (corvanta::app::wantsCommandLine(arguments))
        return corvanta::app::runCommandLineProgram(argc, argv); // no display needed

    corvanta::app::Application application(argc, argv);
    const auto program = corvanta::app::Program::start();
    if (!program)
        return 1;
    program->show();
    // For tests of an installed program: it starts as a user's would, opening or
    // creating its ledger and showing its window, then ends through the event loop.
    // With CORVANTA_OPEN_CHARTS_AT_START=1 it opens the account charts too, from
    // their module; one that cannot be loaded ends it with exit code 1.
    if (qEnvironmentVariableIntValue("CORVANTA_OPEN_CHARTS_AT_START") == 1) {
        corvanta::windows::AccountCharts* charts = program->accountCharts();
        if (!charts) {
            qCritical("%s", qPrintable(program->accountChartsError()));
            return 1;
        }
        charts->refresh();
        charts->show();
    }
    if (qEnvironmentVariableIntValue("CORVANTA_QUIT_AFTER_START") == 1)
        QTimer::singleShot(0, &application, &QCoreApplication::quit);
    const int status = application.exec();
    // A ledger found damaged after the window showed ends the program as a refused
    // start does.
    return program->ledgerFoundDamaged() ? 1 : status;
}
