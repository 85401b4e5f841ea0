#pragma once

#include "TextPrinting.h"
#include "ledger/Schema.h"
#include "ledger/StockHoldings.h"
#include "ledger/TradeEntry.h"
#include "ledger/TradeLedger.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <ostream>

namespace corvanta::ledger::testing {

inline QList<SeedStock> tinySeedList()
{
    return {{QStringLiteral("000000"), QStringLiteral("无名股票"), QStringLiteral("WMGP")},
            {QStringLiteral("000709"), QStringLiteral("唐钢股份"), QStringLiteral("TGGF")},
            {QStringLiteral("600000"), QStringLiteral("浦发银行"), QStringLiteral("PFYX")}};
}

// A priced trade of `quantity` units with plausible result texts.
inline TradeEntry trade(Direction direction, const QString& name, const QString& code,
                        const QString& quantity, int unitMultiplier = 1)
{
    TradeEntry entry;
    entry.date = QDate(2008, 3, 14);
    entry.code = code;
    entry.name = name;
    entry.direction = direction;
    entry.quantity = quantity;
    entry.unitMultiplier = unitMultiplier;
    entry.price = QStringLiteral("14.46");
    entry.totalFees = QStringLiteral("74.41");
    entry.total = QStringLiteral("17426.41");
    entry.stampDuty = QStringLiteral("17.35");
    entry.commission = QStringLiteral("52.06");
    entry.transferAndOther = QStringLiteral("5.00");
    entry.breakEven = QStringLiteral("14.612");
    entry.otherFee = QStringLiteral("5");
    entry.stampRate = QStringLiteral("1");
    entry.commissionRate = QStringLiteral("3");
    return entry;
}

inline TradeEntry buy(const QString& name, const QString& code, const QString& quantity)
{
    return trade(Direction::Buy, name, code, quantity);
}

inline TradeEntry sell(const QString& name, const QString& code, const QString& quantity)
{
    return trade(Direction::Sell, name, code, quantity);
}

// Every ledger row with every column and its storage type, in ID order: equal dumps
// mean an unchanged ledger.
inline QStringList dumpLedger(sql::Database& db)
{
    auto query = db.prepare("SELECT * FROM gpjl ORDER BY ID");
    QStringList rows;
    while (query.step()) {
        QStringList cells;
        for (int column = 0; column < query.columnCount(); ++column)
            cells << (query.isNull(column) ? QStringLiteral("<null>") : query.text(column));
        rows << cells.join(u'|');
    }
    return rows;
}

// For every stock name: the open-position row holds the shares held (bought + bonus
// and transfer shares − sold, as the ledger derives them) and exists exactly while
// that is positive; there is never more than one.
inline ::testing::AssertionResult invariantHolds(sql::Database& db)
{
    auto query =
        db.prepare("SELECT 股票名,"
                   "ifnull(sum(CASE WHEN 交易状态='买入' THEN 数量 END),0),"
                   "ifnull(sum(CASE WHEN 交易状态='卖出' AND 虚拟卖出='假' THEN 数量 END),0),"
                   "sum(虚拟卖出='真'),"
                   "ifnull(sum(CASE WHEN 虚拟卖出='真' THEN 数量 END),0) "
                   "FROM gpjl GROUP BY 股票名");
    while (query.step()) {
        const QString name = query.text(0);
        const qint64 held = sharesHeld(db, name);
        const qint64 openRows = query.int64(3);
        const qint64 openShares = query.int64(4);
        const bool holds = held > 0 ? openRows == 1 && openShares == held : openRows == 0;
        if (!holds)
            return ::testing::AssertionFailure()
                   << name.toStdString() << ": bought " << query.int64(1) << ", sold "
                   << query.int64(2) << ", open rows " << openRows << " with " << openShares;
    }
    return ::testing::AssertionSuccess();
}

// An in-memory ledger holding only the seeded sample trade (唐钢股份, 1200 shares,
// on the monitor list).
class LedgerTest : public ::testing::Test {
protected:
    void SetUp() override { ensureSchema(db, tinySeedList()); }

    qint64 count(const char* sql) { return db.scalarInt(sql); }
    qint64 openShares(const QString& name)
    {
        auto query =
            db.prepare("SELECT 数量 FROM gpjl WHERE 虚拟卖出='真' AND 股票名=?1 ORDER BY ID");
        query.bind(1, name);
        return query.step() ? query.int64(0) : 0;
    }
    qint64 openRows(const QString& name)
    {
        auto query = db.prepare("SELECT count(*) FROM gpjl WHERE 虚拟卖出='真' AND 股票名=?1");
        query.bind(1, name);
        return query.step() ? query.int64(0) : 0;
    }
    qint64 recorded(const TradeEntry& entry)
    {
        const RecordOutcome outcome = ledger.record(entry);
        EXPECT_TRUE(outcome.recorded()) << outcome.refusal.toStdString();
        return outcome.id;
    }

    sql::Database db = sql::Database::openInMemory();
    TradeLedger ledger{db};
};

} // namespace corvanta::ledger::testing
