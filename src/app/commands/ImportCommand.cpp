#include "Command.h"

#include "app/CommandLine.h"
#include "app/GenericImportCommand.h"
#include "exchange/StatementFile.h"
#include "exchange/StatementImportRun.h"
#include "ledger/LedgerBackup.h"
#include "ledger/Settings.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

// The import's questions answered by the command's flags: lines the ledger holds
// are always left out, the run goes ahead only with --yes, --replace empties
// the ledger first.
class ImportFlags : public exchange::ImportAnswers {
public:
    explicit ImportFlags(CommandRun& run) : m_run(run) {}
    bool skipDuplicates(const QString&) override { return true; }
    bool proceed(qsizetype trades, qsizetype duplicates) override
    {
        m_run.out << u"对账单中有 "_s << trades << u" 笔交易"_s;
        if (duplicates > 0 && !replaceLedger())
            m_run.out << u"，其中 "_s << duplicates << u" 笔与账本中已有的交易相同，将跳过"_s;
        m_run.out << u"。"_s << '\n';
        return m_run.words.isSet(u"yes"_s);
    }
    bool replaceLedger() override { return m_run.words.isSet(u"replace"_s); }

private:
    CommandRun& m_run;
};

int importStatement(CommandRun& run)
{
    const QString broker = run.words.value(u"broker"_s);
    const bool generic = broker == u"generic"_s;
    const exchange::StatementLayout* layout = exchange::findStatementLayout(broker);
    if (!layout && !generic)
        return run.misused(u"import: 请用 --broker 指明对账单格式（sczq、cdzq 或 generic）。"_s);
    std::optional<exchange::StatementToImport> statement;
    if (generic) {
        GenericImportReading reading = readGenericImport(
            run.argument(0), run.words.values(u"map"_s), ledger::loadSettings(run.db).rates,
            run.words.isSet(u"yes"_s), run.out, run.err);
        if (!reading.statement)
            return reading.exit;
        statement = std::move(reading.statement);
    } else {
        const exchange::StatementFileContents file = exchange::readStatementFile(run.argument(0));
        if (!file.bytes)
            return run.fail(file.error);
        statement = exchange::toImport(exchange::parseStatement(*file.bytes, *layout), *layout);
        for (const exchange::LineIssue& issue : statement->parsed.refused)
            run.out << u"第 "_s << issue.line << u" 行未导入："_s << issue.reason << '\n';
    }

    ledger::LedgerNotifier notifier; // nothing else has the ledger open
    exchange::StatementImportRun import(run.db, notifier);
    ImportFlags flags(run);
    try {
        const exchange::StatementImportRun::Started started = import.start(*statement, flags);
        if (started.start == exchange::StatementImportRun::Start::Refused)
            return run.fail(started.refusal);
        if (started.start == exchange::StatementImportRun::Start::Declined)
            return run.misused(u"没有导入：确认导入请加 --yes。"_s);
    } catch (const ledger::BackupError& error) {
        return run.fail(u"无法建立安全备份，没有改动账本："_s + error.message());
    } catch (const sql::Error& error) {
        return run.fail(u"导入失败，账本没有任何改动："_s + inWords(error) + u"。"_s);
    }
    run.out << u"安全备份："_s << shown(import.safetyCopy()) << '\n';
    const ledger::StatementImportOutcome outcome = import.finish();
    if (!outcome.committed) {
        run.out << u"账本没有改动，安全备份已删除。"_s << '\n';
        const QString where = outcome.stoppedAtLine > 0
                                  ? u"第 "_s + QString::number(outcome.stoppedAtLine) + u" 行，"_s
                                  : QString();
        return run.fail(u"导入失败，账本没有任何改动："_s + where + outcome.error + u"。"_s);
    }
    run.out << u"导入成功：交易 "_s << outcome.tradesWritten << u" 笔，新增股票 "_s
            << outcome.stocksAdded << u" 个。"_s << '\n';
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
