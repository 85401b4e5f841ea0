#include "RightsSubscription.h"

#include "EventLedger.h"
#include "FeeRuleSetting.h"
#include "Settings.h"
#include "StockHoldings.h"
#include "calc/FeeCalculator.h"
#include "calc/MarketKind.h"
#include "calc/Numbers.h"
#include "sql/Database.h"
#include "sql/Statement.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

bool paidAlready(sql::Database& db, const RightsOffer& offer)
{
    auto query = db.prepare("SELECT 1 FROM gpjl WHERE 股票名=?1 AND 日期=?2 AND 交易状态='买入' "
                            "AND 虚拟卖出='假' AND 数量=?3 AND abs(价格-?4)<0.0005 LIMIT 1");
    query.bind(1, offer.name).bind(2, offer.ex.toString(Qt::ISODate));
    query.bind(3, offer.shares).bind(4, offer.price);
    return query.step();
}

} // namespace

std::optional<RightsOffer> rightsOffer(sql::Database& db, qint64 eventId)
{
    const std::optional<StoredEvent> event = EventLedger(db).find(eventId);
    if (!event || event->terms.rights <= 0 || event->terms.rightsPrice <= 0)
        return std::nullopt;
    for (const calc::EventOutcome& outcome : stockHistory(db, event->name).events) {
        if (outcome.id != eventId)
            continue;
        if (outcome.rightsOffered <= 0)
            return std::nullopt;
        RightsOffer offer{eventId,         event->code,           event->name,
                          event->terms.ex, outcome.rightsOffered, event->terms.rightsPrice};
        offer.paid = paidAlready(db, offer);
        return offer;
    }
    return std::nullopt;
}

QString rightsQuestion(const RightsOffer& offer)
{
    return u"配股缴款：以配股价 "_s + num::fixed(offer.price, 2, true) + u" 元买入 "_s +
           QString::number(offer.shares) + u" 股 "_s + offer.name + u"，记为 "_s +
           offer.ex.toString(Qt::ISODate) + u" 的买入，费用按买入费率计算。\n确定缴款吗？"_s;
}

std::variant<TradeEntry, QString> rightsPurchase(sql::Database& db, const RightsOffer& offer)
{
    const FeeRates rates = loadSettings(db).rates;
    const FeeRuleSetting rule = loadFeeRuleSetting(db);
    const MarketKind market = marketOfStoredCode(offer.code).value_or(inferMarket(offer.code));

    FeeInputs in;
    in.quantity = QString::number(offer.shares);
    in.price = num::general(offer.price);
    in.stampRate = num::general(rates.buyStampRate);
    in.commissionRate = num::general(rates.buyCommissionRate);
    in.otherFee = num::general(rates.buyOtherFee);
    in.direction = Direction::Buy;
    in.transferFeeFlag = flagsFor(market).transferFee;
    in.stampDutyFlag = stampDutyFlagForCode(offer.code);
    if (rule.choice == FeeRuleChoice::ByTradeDate)
        in.byDate = ByDateTerms{offer.ex, market, rule.commissionMinimum};
    const FeeQuote quote = computeFees(in);
    if (!quote.total || !quote.breakEven)
        return u"配股缴款无法计算费用：请检查保存的买入费率。"_s;

    TradeEntry entry;
    entry.date = offer.ex;
    entry.code = offer.code;
    entry.name = offer.name;
    entry.direction = Direction::Buy;
    entry.quantity = in.quantity;
    entry.price = in.price;
    entry.totalFees = *quote.totalFees;
    entry.total = *quote.total;
    entry.stampDuty = *quote.stampDuty;
    entry.commission = *quote.commission;
    entry.transferAndOther = *quote.transferAndOther;
    entry.breakEven = *quote.breakEven;
    entry.otherFee = in.otherFee;
    entry.stampRate = in.stampRate;
    entry.commissionRate = in.commissionRate;
    return entry;
}

} // namespace corvanta::ledger
