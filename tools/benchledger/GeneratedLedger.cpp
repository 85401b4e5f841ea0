#include "GeneratedLedger.h"

#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <string_view>

using namespace Qt::StringLiterals;

namespace corvanta::tools {

double benchPrice(int stock, int day)
{
    // Prices of real ledgers hardly ever repeat.
    return 3.0 + double((stock * 7919 + day * 104729) % 4000) / 100;
}

QString benchStockName(int stock)
{
    return u"股票"_s + QString::number(stock);
}

QString benchStockCode(int stock)
{
    static const QString prefixes[] = {u"600"_s, u"000"_s, u"300"_s};
    return prefixes[stock % 3] + QString::number(stock).rightJustified(3, u'0');
}

QList<ledger::SeedStock> benchStocks(int stocks)
{
    QList<ledger::SeedStock> seeds;
    for (int stock = 0; stock < stocks; ++stock)
        seeds.append({benchStockCode(stock), benchStockName(stock), u"GP"_s});
    return seeds;
}

void fillBenchLedger(sql::Database& db, int trades, int stocks)
{
    sql::Transaction transaction(db);
    db.exec("DELETE FROM gpjl");
    auto insert = db.prepare(
        "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
        "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用) VALUES (?1,?2,?3,?4,?5,?7,?8,?9,-?9,"
        "?6,'否',0,0,0,5)");
    auto add = [&](int stock, const char16_t* state, qint64 shares, const char16_t* open, int day) {
        insert.bind(1, QDate(2007, 1, 1).addDays(day).toString(u"yyyy-MM-dd"_s));
        insert.bind(2, benchStockCode(stock)).bind(3, benchStockName(stock)).bind(4, state);
        insert.bind(5, shares).bind(6, open);
        const double amount = double(shares) * benchPrice(stock, day);
        const double fees = std::max(5.0, std::round(amount * 4) / 1000) + 5;
        const bool buy = state == std::u16string_view(u"买入");
        insert.bind(7, benchPrice(stock, day)).bind(8, fees);
        insert.bind(9, buy ? amount + fees : amount - fees);
        insert.run();
        insert.reset();
    };
    const int perStock = trades / stocks;
    for (int stock = 0; stock < stocks; ++stock) {
        for (int i = 0; i < perStock; ++i)
            add(stock, i % 2 == 0 ? u"买入" : u"卖出", i % 2 == 0 ? 1000 : 500, u"假", i);
        add(stock, u"卖出", qint64((perStock + 1) / 2) * 1000 - qint64(perStock / 2) * 500, u"真",
            0);
    }
    transaction.commit();
}

} // namespace corvanta::tools
