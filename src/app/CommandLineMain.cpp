// The program built without windows (-DCORVANTA_GUI=OFF): its command line alone.

#include "app/CommandLine.h"

#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    if (argc > 1)
        return corvanta::app::runCommandLineProgram(argc, argv);
    // There is no window to open: a start without a subcommand is a usage error.
    QTextStream err(stderr);
    err << u"这一版本只有命令行，没有程序窗口：请给出子命令。\n\n"_s
        << corvanta::app::commandLineHelp();
    return corvanta::app::CommandMisused;
}
