#pragma once

#include "TextPrinting.h"
#include "report/SummaryRow.h"

#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <ostream>
#include <string>

namespace corvanta::report::testing {

// One ledger row as stored.
struct Trade {
    const char* date;
    const char* code;
    const char16_t* name;
    const char16_t* state; // 买入 or 卖出
    qint64 quantity;
    double price;
    double fees;
    double total;
    bool open = false; // the stock's open-position row
};

inline Trade buy(const char* date, const char* code, const char16_t* name, qint64 quantity,
                 double price, double fees, double total)
{
    return {date, code, name, u"买入", quantity, price, fees, total};
}

inline Trade sell(const char* date, const char* code, const char16_t* name, qint64 quantity,
                  double price, double fees, double total)
{
    return {date, code, name, u"卖出", quantity, price, fees, total};
}

// Open positions carry made-up money figures: the summary must not count them.
inline Trade open(const char* date, const char* code, const char16_t* name, qint64 quantity)
{
    return {date, code, name, u"卖出", quantity, 99.99, 123.45, 98765.43, true};
}

// Codes and names of the stock table; 600123 was renamed from 旧名称, and 戊缺
// (600999) is not in the table at all.
inline QList<ledger::SeedStock> reportSeedList()
{
    return {{QStringLiteral("000000"), QStringLiteral("无名股票"), QStringLiteral("WMGP")},
            {QStringLiteral("600000"), QStringLiteral("甲沪"), QStringLiteral("JH")},
            {QStringLiteral("000001"), QStringLiteral("乙深"), QStringLiteral("YS")},
            {QStringLiteral("300001"), QStringLiteral("丙创"), QStringLiteral("BC")},
            {QStringLiteral("580001"), QStringLiteral("丁权"), QStringLiteral("DQ")},
            {QStringLiteral("600123"), QStringLiteral("新名称"), QStringLiteral("XMC")}};
}

// A row as one text: its cells joined by "|", then its colour.
inline QString rowText(const SummaryRow& row)
{
    QStringList parts(row.cells.begin(), row.cells.end());
    switch (row.tone) {
    case RowTone::Profit:
        parts << QStringLiteral("red");
        break;
    case RowTone::Loss:
        parts << QStringLiteral("blue");
        break;
    case RowTone::Plain:
        parts << QStringLiteral("plain");
        break;
    }
    return parts.join(u'|');
}

// An in-memory ledger with the stock table above and no trade.
class ReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ledger::ensureSchema(db, reportSeedList());
        db.exec("DELETE FROM gpjl");
    }

    void add(const Trade& t)
    {
        auto insert = db.prepare(
            "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
            "虚拟卖出,监控状态) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,-?8,?9,'否')");
        insert.bind(1, QString::fromLatin1(t.date)).bind(2, QString::fromLatin1(t.code));
        insert.bind(3, t.name).bind(4, t.state).bind(5, t.quantity).bind(6, t.price);
        insert.bind(7, t.fees).bind(8, t.total).bind(9, t.open ? u"真" : u"假");
        insert.run();
    }

    void add(const std::vector<Trade>& trades)
    {
        for (const Trade& t : trades)
            add(t);
    }

    // Every row of a table with its storage types: equal dumps, equal tables.
    QStringList dump(const char* sql)
    {
        auto query = db.prepare(sql);
        QStringList rows;
        while (query.step()) {
            QStringList cells;
            for (int column = 0; column < query.columnCount(); ++column)
                cells << (query.isNull(column) ? QStringLiteral("<null>") : query.text(column));
            rows << cells.join(u'|');
        }
        return rows;
    }

    // The names of a table's columns in their order, joined by ",".
    QString columnsOf(const char* table)
    {
        auto query = db.prepare((std::string("PRAGMA table_info(") + table + ")").c_str());
        QStringList names;
        while (query.step())
            names << query.text(1);
        return names.join(u',');
    }

    sql::Database db = sql::Database::openInMemory();
};

} // namespace corvanta::report::testing
