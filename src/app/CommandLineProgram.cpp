#include "CommandLine.h"

#include "ledger/LedgerFile.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace corvanta::app {

QString programLedgerPath()
{
    QCoreApplication::setApplicationName(u"Corvanta"_s);
    QCoreApplication::setOrganizationName(u"Corvanta"_s);
    const QString folder =
        ledger::ledgerFolder(QCoreApplication::applicationDirPath(),
                             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return ledger::ledgerPath(folder);
}

int runCommandLineProgram(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    return runCommandLine(arguments, programLedgerPath(), out, err);
}

} // namespace corvanta::app
