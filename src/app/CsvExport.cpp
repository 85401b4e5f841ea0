#include "CsvExport.h"

#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"
#include "report/PositionSummary.h"
#include "report/StockEventList.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>

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
    // One pass in id order reads each page once: the default 2 MB page cache serves
    // it, so the export takes the same memory whatever the ledger's size.
    db.exec("PRAGMA cache_size = -2048");
    auto query = std::make_shared<sql::Statement>(
        db.prepare("SELECT ID,日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
                   "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用,备注 "
                   "FROM gpjl ORDER BY id"));
    for (int column = 0; column < query->columnCount(); ++column)
        table.titles << query->columnName(column);
    table.moreRows = [query](QStringList& row) {
        if (!query->step())
            return false;
        row.clear();
        for (int column = 0; column < query->columnCount(); ++column)
            row << query->text(column);
        return true;
    };
    return table;
}

CsvTable summaryTable(sql::Database& db)
{
    const report::Summary summary = report::buildSummary(db);
    CsvTable table{QStringList(summary.titles.begin(), summary.titles.end()), {}, {}};
    if (summary.ledgerEmpty)
        return table;
    for (const report::SummaryRow& row : summary.stocks)
        table.rows << cellsOf(row);
    table.rows << cellsOf(summary.totalsRow);
    return table;
}

namespace {

// Hands the tables' CSV to `write` in pieces of about 64 KB: the mark, then each
// table's titles and rows, an empty line between tables.
template <typename Write> void forEachPiece(const QList<CsvTable>& tables, Write write)
{
    constexpr qsizetype pieceBytes = 64 * 1024;
    QByteArray piece = "\xEF\xBB\xBF";
    const auto add = [&](const QByteArray& text) {
        piece += text;
        if (piece.size() >= pieceBytes) {
            write(piece);
            piece.clear();
        }
    };
    bool first = true;
    for (const CsvTable& table : tables) {
        if (!first)
            add("\r\n");
        first = false;
        add(line(table.titles).toUtf8());
        for (const QStringList& row : table.rows)
            add(line(row).toUtf8());
        if (table.moreRows) {
            QStringList row;
            while (table.moreRows(row))
                add(line(row).toUtf8());
        }
    }
    write(piece);
}

} // namespace

QList<CsvTable> ledgerTables(sql::Database& db)
{
    QList<CsvTable> tables{ledgerTable(db)};
    if (QList<QStringList> events = report::eventExportRows(db); !events.isEmpty())
        tables.append({report::eventExportTitles(), std::move(events), {}});
    return tables;
}

QByteArray csvText(const CsvTable& table)
{
    return csvText(QList<CsvTable>{table});
}

QByteArray csvText(const QList<CsvTable>& tables)
{
    QByteArray text;
    forEachPiece(tables, [&text](const QByteArray& piece) { text += piece; });
    return text;
}

void writeCsv(const QString& path, const CsvTable& table)
{
    writeCsvTables(path, {table});
}

void writeCsvTables(const QString& path, const QList<CsvTable>& tables)
{
    const auto refuse = [&path](const QString& reason) {
        return CsvExportError(u"无法写入“"_s + QDir::toNativeSeparators(path) + u"”："_s + reason +
                              u"。"_s);
    };
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (info.isDir())
        throw refuse(u"这是一个文件夹"_s);
    if (!folder.isDir())
        throw refuse(u"文件夹不存在"_s);
    if (info.exists() && !info.isWritable())
        throw refuse(u"文件是只读的"_s);
    // The text goes to a file of its own beside the target, which takes the
    // target's name only when complete: a failed write leaves nothing behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw refuse((folder.isWritable() ? u"无法建立文件"_s : u"文件夹不允许写入"_s) + u"（"_s +
                     file.errorString() + u"）"_s);
    }
    bool written = true;
    forEachPiece(tables, [&](const QByteArray& piece) {
        written = written && file.write(piece) == piece.size();
    });
    // flush() before commit(): a write that fails while the buffer is flushed on
    // closing is not seen by commit(), which would then keep a cut-off file.
    if (!written || !file.flush() || !file.commit()) {
        const QString detail = file.errorString();
        file.cancelWriting();
        throw refuse(u"写入出错，磁盘可能已满（"_s + detail + u"）"_s);
    }
}

} // namespace corvanta::app
