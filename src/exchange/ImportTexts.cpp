#include "ImportTexts.h"

#include "StatementMessages.h"

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

// "第 3、5、9 行"
QString lineList(const QList<int>& lines)
{
    QStringList numbers;
    for (int line : lines)
        numbers << QString::number(line);
    return u"第 "_s + numbers.join(u'、') + u" 行"_s;
}

} // namespace

QList<int> listedLines(const ParsedStatement& statement, const QList<int>& lines)
{
    QList<int> listed;
    listed.reserve(lines.size());
    for (int line : lines) {
        int shown = line;
        for (qsizetype i = 0; i < statement.dataLines.size(); ++i)
            if (statement.dataLines[i].number == line)
                shown = int(i) + 1;
        listed << shown;
    }
    return listed;
}

QString importListCaption(const StatementLayout& layout)
{
    return layout.broker + messages::importListSuffix;
}

QStringList importFileFilters(std::optional<ImportFileKind> kind)
{
    const QStringList text = {u"文本文件 (*.txt)"_s, u"交易记录 (交易记录.txt)"_s};
    const QStringList csv = {u"csv文件 (*.csv)"_s, u"交易记录 (交易记录.csv)"_s};
    if (!kind)
        return text + csv;
    return *kind == ImportFileKind::Text ? text : csv;
}

std::optional<QString> duplicatesQuestion(const QList<int>& lines)
{
    if (lines.isEmpty())
        return std::nullopt;
    return QString::number(lines.size()) +
           u" 行与账中已有的交易相同（日期、代码、买卖、数量、价格都相同）："_s + lineList(lines) +
           u"。是否跳过这些行？"_s;
}

std::optional<QString> nothingToImport(const ParsedStatement& statement,
                                       const StatementLayout& layout)
{
    if (!statement.trades.isEmpty())
        return std::nullopt;
    QString text = u"没有导入：按“"_s + layout.broker + u"”的格式，文件中没有读到任何交易记录"_s;
    if (!statement.refused.isEmpty())
        text += u"（"_s + QString::number(statement.refused.size()) + u" 行无法识别，第 "_s +
                QString::number(statement.refused.first().line) + u" 行："_s +
                statement.refused.first().reason + u"）"_s;
    return text + u"。请确认文件是这家券商的对账单。账本没有任何改动。"_s;
}

QString importReport(const ParsedStatement& statement,
                     const ledger::StatementImportOutcome& outcome)
{
    if (!outcome.committed) {
        const QString where =
            outcome.stoppedAtLine > 0
                ? u"第 "_s +
                      QString::number(listedLines(statement, {outcome.stoppedAtLine}).first()) +
                      u" 行"_s
                : QString();
        return u"导入失败，没有导入任何记录。"_s + where + u"出错："_s + outcome.error;
    }
    const qsizetype skipped = statement.refused.size() + outcome.duplicatesSkipped.size();
    QString report = messages::importDone.toString() + u"：导入 "_s +
                     QString::number(outcome.tradesWritten) + u" 笔交易，跳过 "_s +
                     QString::number(skipped) + u" 行。"_s;
    if (!statement.refused.isEmpty()) {
        report += u"\n"_s + QString::number(statement.refused.size()) + u" 行无法识别，已跳过："_s;
        for (const LineIssue& issue : statement.refused)
            report += u"\n第 "_s + QString::number(listedLines(statement, {issue.line}).first()) +
                      u" 行："_s + issue.reason;
    }
    if (!outcome.duplicatesSkipped.isEmpty())
        report += u"\n"_s + QString::number(outcome.duplicatesSkipped.size()) +
                  u" 行与已有的交易相同，已跳过："_s +
                  lineList(listedLines(statement, outcome.duplicatesSkipped));
    return report;
}

} // namespace corvanta::exchange
