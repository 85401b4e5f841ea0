#include "LedgerRestore.h"

#include "BackupRowCheck.h"
#include "ErrorWords.h"
#include "LedgerBackup.h"
#include "Schema.h"
#include "sql/Database.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

QList<QStringList> readRows(sql::Database& backup, const char* sql)
{
    QList<QStringList> rows;
    auto query = backup.prepare(sql);
    while (query.step()) {
        QStringList row;
        row.reserve(query.columnCount());
        for (int column = 0; column < query.columnCount(); ++column)
            row << (query.isNull(column) ? QString() : query.text(column));
        rows << row;
    }
    return rows;
}

// Values go in as the backup held them; the columns' types turn numbers back
// into numbers.
void bindRow(sql::Statement& insert, const QStringList& row)
{
    for (int column = 0; column < row.size(); ++column) {
        if (row[column].isNull())
            insert.bindNull(column + 1);
        else
            insert.bind(column + 1, row[column]);
    }
}

} // namespace

LedgerRestore::LedgerRestore(sql::Database& ledger, const QString& backupPath,
                             const QByteArray& backupKey)
    : m_ledger(ledger)
{
    sql::Database backup = openBackup(backupPath, backupKey.isEmpty() ? ledger.key() : backupKey);
    std::optional<QString> fault;
    try {
        fault = backupRowFault(backup);
        m_trades = readRows(backup, "SELECT 日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,"
                                    "盈亏金额,虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用 "
                                    "FROM gpjl ORDER BY 日期,id");
        m_stocks = readRows(backup, "SELECT gpid,gpmc,gppy FROM gpmc ORDER BY gpid");
        if (hasEventTable(backup))
            m_events = readRows(backup, "SELECT 股票代码,股票名,登记日,除权日,派现,送股,转增,配股,"
                                        "配股价,备注 FROM fhsp ORDER BY ID");
    } catch (const sql::Error& error) {
        throw BackupError(u"无法读取备份文件“"_s + QDir::toNativeSeparators(backupPath) + u"”："_s +
                          errorInWords(error) + u"。账本没有任何改动。"_s);
    }
    if (fault) {
        throw BackupError(u"备份文件“"_s + QDir::toNativeSeparators(backupPath) +
                          u"”中的交易记录有误，不能恢复："_s + *fault + u"。账本没有任何改动。"_s);
    }
    m_progress.maximum = int(m_trades.size());
    m_progress.status = u"数据备份恢复"_s;
}

bool LedgerRestore::atEnd() const
{
    return m_finished ||
           (m_transaction && m_nextTrade >= m_trades.size() && m_nextStock >= m_stocks.size());
}

void LedgerRestore::begin()
{
    m_transaction.emplace(m_ledger);
    m_ledger.exec("DELETE FROM gpjl");
    m_ledger.exec("DELETE FROM gpmc");
    // The open positions copied hold the backup's new shares: its events come along.
    if (hasEventTable(m_ledger))
        m_ledger.exec("DELETE FROM fhsp");
    if (m_events.isEmpty())
        return;
    ensureEventTable(m_ledger);
    auto insert =
        m_ledger.prepare("INSERT INTO fhsp (股票代码,股票名,登记日,除权日,派现,送股,"
                         "转增,配股,配股价,备注) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10)");
    for (const QStringList& row : m_events) {
        bindRow(insert, row);
        insert.run();
        insert.reset();
    }
}

void LedgerRestore::copyNext(qsizetype count)
{
    if (m_finished)
        return;
    try {
        if (!m_transaction)
            begin();
        if (m_nextTrade < m_trades.size()) {
            auto insert = m_ledger.prepare(
                "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
                "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用) "
                "VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15)");
            for (; count > 0 && m_nextTrade < m_trades.size(); --count) {
                bindRow(insert, m_trades[m_nextTrade]);
                insert.run();
                insert.reset();
                ++m_nextTrade;
            }
            m_progress.value = int(m_nextTrade);
            m_progress.status = u"股票交易记录导入中 "_s + QString::number(m_nextTrade);
            if (m_nextTrade < m_trades.size())
                return;
            m_progress = {int(m_stocks.size()), 0, u"股票代码导入中"_s};
        }
        if (count <= 0)
            return;
        auto insert = m_ledger.prepare("INSERT INTO gpmc (gpid,gpmc,gppy) VALUES (?1,?2,?3)");
        for (; count > 0 && m_nextStock < m_stocks.size(); --count) {
            bindRow(insert, m_stocks[m_nextStock]);
            insert.run();
            insert.reset();
            ++m_nextStock;
        }
        m_progress = {int(m_stocks.size()), int(m_nextStock),
                      u"股票代码导入中 "_s + QString::number(m_nextStock)};
    } catch (...) {
        m_transaction.reset();
        m_finished = true;
        throw;
    }
}

void LedgerRestore::finish()
{
    if (m_finished)
        return;
    while (!atEnd())
        copyNext(qsizetype(1) << 30);
    try {
        m_transaction->commit();
    } catch (...) {
        m_transaction.reset();
        m_finished = true;
        throw;
    }
    m_transaction.reset();
    m_finished = true;
    m_progress.status = restoreDoneStatus();
}

QString restoreDoneStatus()
{
    return u"数据导入成功"_s;
}

} // namespace corvanta::ledger
