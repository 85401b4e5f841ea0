#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Program.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// A subcommand runs without a display: only a core application is made.
int runSubcommand(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    return corvanta::app::runCommandLine(arguments, corvanta::app::Program::defaultLedgerPath(),
                                         out, err);
}

} // namespace
#include <QTimer>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (corvanta::app::wantsCommandLine(arguments))
        return runSubcommand(argc, argv);

    corvanta::app::Application application(argc, argv);
    const auto program = corvanta::app::Program::start();
    if (!program)
        return 1;
    program->show();
    // For tests of an installed program: it starts as a user's would, opening or
    // creating its ledger and showing its window, then ends through the event loop.
    if (qEnvironmentVariableIntValue("CORVANTA_QUIT_AFTER_START") == 1)
        QTimer::singleShot(0, &application, &QCoreApplication::quit);
    const int status = application.exec();
    // A ledger found damaged after the window showed ends the program as a refused
    // start does.
    return program->ledgerFoundDamaged() ? 1 : status;
}
