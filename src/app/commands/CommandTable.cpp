#include "Command.h"

namespace corvanta::app::commands {

// A new command is one row here and one file with its function.
const QList<CommandEntry>& commandTable()
{
    static const QList<CommandEntry> table = {
        backupCommand(),        restoreCommand(),  importCommand(),  exportLedgerCommand(),
        exportSummaryCommand(), yearlyCommand(),   repriceCommand(), passwordCommand(),
        eventsCommand(),        addEventCommand(),
    };
    return table;
}

} // namespace corvanta::app::commands
