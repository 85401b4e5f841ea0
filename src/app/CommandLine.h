#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace corvanta::app {

// Exit codes of the subcommands.
enum CommandExit {
    CommandDone = 0,
    CommandFailed = 1, // the ledger or a file refused; the message says why
    CommandMisused = 2 // unknown subcommand, missing file or option
};

// True when the arguments (without the program's name) are for the command line:
// any argument at all. Only a start without arguments opens the window, so a
// misspelt command never needs a display.
bool wantsCommandLine(const QStringList& arguments);

// Runs one subcommand (a row of commands::commandTable()) on the ledger at
// `ledgerPath`, through the same ledger code the window uses, without any widget.
// Refuses while a window or another command holds the ledger. Results go to
// `out`, failures to `err`; returns a CommandExit.
int runCommandLine(const QStringList& arguments, const QString& ledgerPath, QTextStream& out,
                   QTextStream& err);

// The text of `--help`.
QString commandLineHelp();

// The ledger file the program uses: beside the program when its folder is
// writable, else in the user's application-data folder.
QString programLedgerPath();

// The program as a command: makes a core application (no display) and runs the
// subcommand its arguments name on the program's ledger. Returns a CommandExit.
int runCommandLineProgram(int argc, char* argv[]);

} // namespace corvanta::app
