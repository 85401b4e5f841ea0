#include "GenericImportCommand.h"

#include "CommandLine.h"
#include "calc/Numbers.h"
#include "exchange/GenericStatement.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

constexpr qsizetype previewRows = 10;

QString tradeText(const ledger::StatementTrade& trade)
{
    return u"第 %1 行：%2 %3 %4 %5 %6 股，价格 %7，费用 %8，总金额 %9"_s.arg(trade.line)
        .arg(trade.date, trade.code, trade.name, trade.operation)
        .arg(trade.shares)
        .arg(num::general(trade.price), num::general(trade.fees), num::general(trade.total));
}

void listIssues(QTextStream& out, const QList<exchange::LineIssue>& issues, const QString& what)
{
    for (const exchange::LineIssue& issue : issues)
        out << u"第 "_s << issue.line << u" 行"_s << what << issue.reason << '\n';
}

} // namespace

GenericImportReading readGenericImport(const QString& path, const QStringList& maps,
                                       const FeeRates& rates, bool confirmed, QTextStream& out,
                                       QTextStream& err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << u"无法读取对账单“"_s << QDir::toNativeSeparators(path) << u"”："_s
            << file.errorString() << '\n';
        return {std::nullopt, CommandFailed};
    }
    const exchange::StatementTable table = exchange::readStatementTable(file.readAll());
    exchange::GenericStatement statement = exchange::readGenericStatement(table, rates);
    if (!maps.isEmpty() && statement.headerRow >= 0) {
        const exchange::MappingChange change =
            exchange::changeMapping(statement.mapping, statement.header(), maps);
        if (!change.error.isEmpty()) {
            err << u"import: "_s << change.error << '\n';
            return {std::nullopt, CommandMisused};
        }
        statement = exchange::readGenericStatement(table, rates, change.mapping);
    }

    for (const QString& line : exchange::describeStatement(statement))
        out << line << '\n';
    listIssues(out, statement.titleLines, u"（表头之前）："_s);
    listIssues(out, statement.parsed.skipped, u"跳过："_s);
    listIssues(out, statement.parsed.refused, u"未导入："_s);
    listIssues(out, statement.warnings, u"警告："_s);
    exchange::StatementToImport toImport = exchange::toImport(statement);
    if (!confirmed && !toImport.refusal) {
        out << u"前 "_s << qMin(previewRows, statement.parsed.trades.size())
            << u" 笔交易将这样记入账本："_s << '\n';
        for (qsizetype i = 0; i < statement.parsed.trades.size() && i < previewRows; ++i)
            out << u"  "_s << tradeText(statement.parsed.trades.at(i)) << '\n';
    }
    return {std::move(toImport), CommandDone};
}

} // namespace corvanta::app
