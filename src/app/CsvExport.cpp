#include "CsvExport.h"

#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"
#include "report/PositionSummary.h"

#include <QDir>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

QString field(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u"\""_s, u"\"\""_s);
    return u'"' + quoted + u'"';
}

QString line(const QStringList& cells)
{
    QStringList fields;
    fields.reserve(cells.size());
    for (const QString& cell : cells)
        fields << field(cell);
    return fields.join(u',') + u"\r\n"_s;
}

QStringList cellsOf(const report::SummaryRow& row)
{
    return QStringList(row.cells.begin(), row.cells.end());
}

} // namespace

CsvTable ledgerTable(sql::Database& db)
{
    CsvTable table;
    auto query =
        db.prepare("SELECT ID,日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
                   "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用,备注 "
                   "FROM gpjl ORDER BY id");
    for (int column = 0; column < query.columnCount(); ++column)
        table.titles << query.columnName(column);
    while (query.step()) {
        QStringList row;
        for (int column = 0; column < query.columnCount(); ++column)
            row << query.text(column);
        table.rows << row;
    }
    return table;
}

CsvTable summaryTable(sql::Database& db)
{
    const report::Summary summary = report::buildSummary(db);
    const auto titles = report::summaryColumnTitles();
    CsvTable table{QStringList(titles.begin(), titles.end()), {}};
    if (summary.ledgerEmpty)
        return table;
    for (const report::SummaryRow& row : summary.stocks)
        table.rows << cellsOf(row);
    table.rows << cellsOf(summary.totalsRow);
    return table;
}

QByteArray csvText(const CsvTable& table)
{
    QString text = line(table.titles);
    for (const QStringList& row : table.rows)
        text += line(row);
    return "\xEF\xBB\xBF" + text.toUtf8();
}

void writeCsv(const QString& path, const CsvTable& table)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csvText(table)) < 0 || !file.commit()) {
        throw CsvExportError(u"无法写入“"_s + QDir::toNativeSeparators(path) + u"”："_s +
                             file.errorString());
    }
}

} // namespace corvanta::app
