#include "Command.h"

#include "app/ReportCommands.h"

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

int yearly(CommandRun& run)
{
    return runYearlyCommand(run.db, run.argument(0), run.out, run.err);
}

int reprice(CommandRun& run)
{
    QStringList flags;
    if (run.words.isSet(u"dry-run"_s))
        flags << u"--dry-run"_s;
    return runRepriceCommand(run.db, flags, run.out, run.err);
}

} // namespace

CommandEntry yearlyCommand()
{
    return {
        .name = u"yearly"_s,
        .synopsis = u"yearly FILE.csv"_s,
        .help = {u"把年度对账（每年一行和合计行）导出为 CSV（UTF-8）"_s},
        .options = {},
        .arguments = {u"FILE.csv"_s},
        .writesFirstArgument = true,
        .run = yearly,
    };
}

CommandEntry repriceCommand()
{
    return {
        .name = u"reprice"_s,
        .synopsis = u"reprice --dry-run"_s,
        .help = {u"列出费用与所选费用规则不同的已记录交易（不改动账本）"_s},
        .options = {QCommandLineOption(u"dry-run"_s, u"只列出，不改动账本"_s)},
        .arguments = {},
        .writesFirstArgument = false,
        .run = reprice,
    };
}

} // namespace corvanta::app::commands
