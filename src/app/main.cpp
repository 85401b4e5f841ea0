#include "app/Program.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const auto program = corvanta::app::Program::start();
    if (!program)
        return 1;
    program->show();
    // For tests of an installed program: it starts as a user's would, opening or
    // creating its ledger and showing its window, then ends through the event loop.
    if (qEnvironmentVariableIntValue("CORVANTA_QUIT_AFTER_START") == 1)
        QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
