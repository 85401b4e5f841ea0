#include "Command.h"

#include "app/CommandLine.h"
#include "app/CsvExport.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

int exportLedger(CommandRun& run)
{
    const QString target = run.argument(0);
    try {
        writeCsvTables(target, ledgerTables(run.db));
    } catch (const CsvExportError& error) {
        return run.fail(error.message());
    } catch (const sql::Error& error) {
        return run.fail(u"无法读取账本："_s + inWords(error) + u"。"_s);
    }
    run.out << u"账本已导出到 "_s << shown(target) << '\n';
    return CommandDone;
}

} // namespace

CommandEntry exportLedgerCommand()
{
    return {
        .name = u"export-ledger"_s,
        .synopsis = u"export-ledger FILE.csv"_s,
        .help = {u"把账本导出为 CSV（UTF-8）；有分红送配时，空一行后是它们的表"_s},
        .options = {},
        .arguments = {u"FILE.csv"_s},
        .writesFirstArgument = true,
        .run = exportLedger,
    };
}

} // namespace corvanta::app::commands
