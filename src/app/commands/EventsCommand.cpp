#include "Command.h"

#include "app/CommandLine.h"
#include "report/StockEventList.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

int listEvents(CommandRun& run)
{
    const QString code = run.argument(0);
    try {
        const std::optional<QString> name = report::stockNameOfCode(run.db, code);
        if (!name)
            return run.fail(u"没有代码为 "_s + code + u" 的股票。"_s);
        const QList<report::EventListRow> rows = report::eventList(run.db, *name);
        if (rows.isEmpty()) {
            run.out << *name << u"（"_s << code << u"）没有分红送配记录。"_s << '\n';
            return CommandDone;
        }
        run.out << *name << u"（"_s << code << u"）的分红送配："_s << '\n';
        run.out << report::eventListTitles().join(u"  "_s) << '\n';
        for (const report::EventListRow& row : rows)
            run.out << row.cells.join(u"  "_s) << '\n';
    } catch (const sql::Error& error) {
        return run.fail(u"无法读取账本："_s + inWords(error) + u"。"_s);
    }
    return CommandDone;
}

} // namespace

CommandEntry eventsCommand()
{
    return {
        .name = u"events"_s,
        .synopsis = u"events CODE"_s,
        .help = {u"列出股票的分红送配：登记日持股、派现、送转股数和之后卖出时扣的红利税"_s},
        .options = {},
        .arguments = {u"CODE"_s},
        .writesFirstArgument = false,
        .run = listEvents,
    };
}

} // namespace corvanta::app::commands
