#include "Repricing.h"

#include "calc/FeeRules.h"
#include "calc/MarketKind.h"
#include "calc/StatutoryFees.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

qint64 fen(double yuan)
{
    return std::llround(yuan * 100);
}

} // namespace

TradeFeeParts chargedFees(const ledger::FeeRuleSetting& rule, const FeeRates& rates,
                          const QString& date, const QString& code, Direction direction,
                          qint64 shares, double price)
{
    const bool sell = direction == Direction::Sell;
    const double stampRate = sell ? rates.sellStampRate : rates.buyStampRate;
    const double commissionRate = sell ? rates.sellCommissionRate : rates.buyCommissionRate;
    const MarketKind market = inferMarket(code);
    const int stampFlag = market == MarketKind::WarrantOrFund ? 0 : stampDutyFlagForCode(code);
    // The amount as the trade's field showed it, to the fen.
    const double amount = double(fen(double(shares) * price)) / 100;
    TradeFeeParts parts;
    if (rule.choice == FeeRuleChoice::ByTradeDate) {
        const StatutoryFees fees =
            statutoryFees(QDate::fromString(date, u"yyyy-MM-dd"_s), direction, market, stampFlag,
                          amount, double(shares));
        parts.stampDuty = fen(fees.stampDuty);
        parts.commission =
            fen(commissionWithMinimum(amount, commissionRate, rule.commissionMinimum));
        parts.transferFee = fen(fees.transferFee);
    } else {
        const int transferFlag = flagsFor(market).transferFee;
        parts.stampDuty = fen(amount * stampRate / 1000 * stampFlag);
        parts.commission = fen(commission(amount, commissionRate));
        parts.transferFee = fen(transferPart(double(shares), 0, transferFlag));
    }
    return parts;
}

QList<RepricedTrade> repricedTrades(sql::Database& db, const ledger::FeeRuleSetting& rule,
                                    const FeeRates& rates)
{
    auto query = db.prepare("SELECT id,日期,股票代码,股票名,交易状态,数量,价格,ifnull(印花税,0),"
                            "ifnull(佣金,0),ifnull(过户费等,0),ifnull(其它费用,0) FROM gpjl "
                            "WHERE 虚拟卖出='假' AND 交易状态 IN ('买入','卖出') ORDER BY id");
    QList<RepricedTrade> out;
    while (query.step()) {
        RepricedTrade trade;
        trade.id = query.int64(0);
        trade.date = query.text(1);
        trade.code = query.text(2);
        trade.name = query.text(3);
        trade.direction = query.text(4) == u"卖出"_s ? Direction::Sell : Direction::Buy;
        trade.shares = query.int64(5);
        trade.price = query.real(6);
        trade.stored = {fen(query.real(7)), fen(query.real(8)),
                        fen(query.real(9)) - fen(query.real(10))};
        trade.chosen = chargedFees(rule, rates, trade.date, trade.code, trade.direction,
                                   trade.shares, trade.price);
        if (trade.chosen != trade.stored)
            out.append(trade);
    }
    return out;
}

} // namespace corvanta::report
