#include "Command.h"

#include "app/CommandLine.h"
#include "app/GenericImportCommand.h"
#include "ledger/Settings.h"
#include "ledger/StatementDuplicates.h"
#include "ledger/StatementImport.h"

#include "exchange/ImportTexts.h"
#include "exchange/StatementFile.h"
#include "exchange/StatementParser.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

int importStatement(CommandRun& run)
{
    const QString broker = run.words.value(u"broker"_s);
    const bool generic = broker == u"generic"_s;
    const exchange::StatementLayout* layout = exchange::findStatementLayout(broker);
    if (!layout && !generic)
        return run.misused(u"import: 请用 --broker 指明对账单格式（sczq、cdzq 或 generic）。"_s);
    exchange::ParsedStatement parsed;
    if (generic) {
        GenericImportReading reading = readGenericImport(
            run.argument(0), run.words.values(u"map"_s), ledger::loadSettings(run.db).rates,
            run.words.isSet(u"yes"_s), run.out, run.err);
        if (!reading.parsed)
            return reading.exit;
        parsed = std::move(*reading.parsed);
    } else {
        const exchange::StatementFileContents file = exchange::readStatementFile(run.argument(0));
        if (!file.bytes)
            return run.fail(file.error);
        parsed = exchange::parseStatement(*file.bytes, *layout);
        for (const exchange::LineIssue& issue : parsed.refused)
            run.out << u"第 "_s << issue.line << u" 行未导入："_s << issue.reason << '\n';
        if (const auto refusal = exchange::nothingToImport(parsed, *layout))
            return run.fail(*refusal);
    }

    ledger::StatementImportOptions options;
    options.replaceLedger = run.words.isSet(u"replace"_s);
    std::optional<QString> copy;
    try {
        const QList<int> duplicates =
            options.replaceLedger ? QList<int>() : ledger::duplicateLines(run.db, parsed.trades);
        run.out << u"对账单中有 "_s << parsed.trades.size() << u" 笔交易"_s;
        if (!duplicates.isEmpty())
            run.out << u"，其中 "_s << duplicates.size() << u" 笔与账本中已有的交易相同，将跳过"_s;
        run.out << u"。"_s << '\n';
        if (!run.words.isSet(u"yes"_s))
            return run.misused(u"没有导入：确认导入请加 --yes。"_s);
        options.skipDuplicates = !duplicates.isEmpty();
        options.otherFee = ledger::loadSettings(run.db).rates.buyOtherFee;
        copy = run.safetyCopy();
        if (!copy)
            return CommandFailed;
        const ledger::StatementImportOutcome outcome =
            ledger::applyStatement(run.db, parsed.trades, options);
        if (!outcome.committed) {
            run.dropSafetyCopy(*copy);
            const QString where =
                outcome.stoppedAtLine > 0
                    ? u"第 "_s + QString::number(outcome.stoppedAtLine) + u" 行，"_s
                    : QString();
            return run.fail(u"导入失败，账本没有任何改动："_s + where + outcome.error + u"。"_s);
        }
        run.out << u"导入成功：交易 "_s << outcome.tradesWritten << u" 笔，新增股票 "_s
                << outcome.stocksAdded << u" 个。"_s << '\n';
    } catch (const sql::Error& error) {
        if (copy)
            run.dropSafetyCopy(*copy);
        return run.fail(u"导入失败，账本没有任何改动："_s + inWords(error) + u"。"_s);
    }
    return CommandDone;
}

} // namespace

CommandEntry importCommand()
{
    return {
        .name = u"import"_s,
        .synopsis =
            u"import FILE --broker sczq|cdzq|generic [--map 字段=列名 …] [--replace] [--yes]"_s,
        .help = {u"导入券商对账单；不加 --yes 只报告将导入什么；"_s,
                 u"generic 按列名识别任何交割单（文本、.xls、.xlsx），"_s,
                 u"--map 改变某个字段所取的列（如 --map commission=佣金）；"_s,
                 u"账本中已有的相同交易被跳过；--replace 先清空账本"_s},
        .options = {QCommandLineOption(u"broker"_s, u"对账单格式"_s, u"sczq|cdzq|generic"_s),
                    QCommandLineOption(u"map"_s, u"字段所取的列"_s, u"字段=列名"_s),
                    QCommandLineOption(u"replace"_s, u"先清空账本"_s),
                    QCommandLineOption(u"yes"_s, u"确认导入"_s)},
        .arguments = {u"FILE"_s},
        .writesFirstArgument = false,
        .run = importStatement,
    };
}

} // namespace corvanta::app::commands
