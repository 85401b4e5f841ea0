#include "Command.h"

#include "app/CommandLine.h"
#include "app/CsvExport.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

int exportSummary(CommandRun& run)
{
    const QString target = run.argument(0);
    try {
        writeCsv(target, summaryTable(run.db));
    } catch (const CsvExportError& error) {
        return run.fail(error.message());
    } catch (const sql::Error& error) {
        return run.fail(u"无法汇总账本："_s + inWords(error) + u"。"_s);
    }
    run.out << u"汇总已导出到 "_s << shown(target) << '\n';
    return CommandDone;
}

} // namespace

CommandEntry exportSummaryCommand()
{
    return {
        .name = u"export-summary"_s,
        .synopsis = u"export-summary FILE.csv"_s,
        .help = {u"把汇总（不取行情）导出为 CSV（UTF-8）"_s},
        .options = {},
        .arguments = {u"FILE.csv"_s},
        .writesFirstArgument = true,
        .run = exportSummary,
    };
}

} // namespace corvanta::app::commands
