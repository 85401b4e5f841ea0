#include "StatutoryFees.h"

#include "Numbers.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace corvanta {

namespace {

// The stamp duty on A shares and the exchanges' transfer fee since 2007. Before
// 2015-08-01 Shanghai charged 1 yuan per 1,000 shares (at least 1 yuan) and
// Shenzhen none; the first row stands for everything before the first change.
constexpr std::array rules{
    StatutoryRule{1990, 1, 1, 1, StampSides::BuyerAndSeller, TransferBasis::ShanghaiShares, 0.001},
    StatutoryRule{2007, 5, 30, 3, StampSides::BuyerAndSeller, TransferBasis::ShanghaiShares, 0.001},
    StatutoryRule{2008, 4, 24, 1, StampSides::BuyerAndSeller, TransferBasis::ShanghaiShares, 0.001},
    StatutoryRule{2008, 9, 19, 1, StampSides::SellerOnly, TransferBasis::ShanghaiShares, 0.001},
    StatutoryRule{2015, 8, 1, 1, StampSides::SellerOnly, TransferBasis::Amount, 0.02},
    StatutoryRule{2022, 4, 29, 1, StampSides::SellerOnly, TransferBasis::Amount, 0.01},
    StatutoryRule{2023, 8, 28, 0.5, StampSides::SellerOnly, TransferBasis::Amount, 0.01},
};

// The rule's start as a hint names it: "2023-08-28起", or "2007-05-30前" for the
// rules before the first change.
QString sinceText(std::size_t index)
{
    if (index == 0)
        return rules[1].from().toString(u"yyyy-MM-dd"_s) + u"前"_s;
    return rules[index].from().toString(u"yyyy-MM-dd"_s) + u"起"_s;
}

std::size_t ruleIndexOn(QDate date)
{
    std::size_t index = 0;
    for (std::size_t i = 1; i < rules.size(); ++i) {
        if (date.isValid() && date >= rules[i].from())
            index = i;
    }
    return index;
}

} // namespace

QString feeRuleChoiceText(FeeRuleChoice choice)
{
    return choice == FeeRuleChoice::ByTradeDate ? u"按交易日期的法定规则"_s : u"按设置的费率"_s;
}

std::optional<FeeRuleChoice> feeRuleChoiceOfText(QStringView text)
{
    for (FeeRuleChoice choice : {FeeRuleChoice::SavedRates, FeeRuleChoice::ByTradeDate}) {
        if (text == feeRuleChoiceText(choice))
            return choice;
    }
    return std::nullopt;
}

std::span<const StatutoryRule> statutoryRules()
{
    return rules;
}

const StatutoryRule& statutoryRuleOn(QDate date)
{
    return rules[ruleIndexOn(date)];
}

StatutoryFees statutoryFees(QDate date, Direction direction, MarketKind market, int stampDutyFlag,
                            double amount, double shares)
{
    const std::size_t index = ruleIndexOn(date);
    const StatutoryRule& rule = rules[index];
    const QString since = sinceText(index);
    StatutoryFees fees;

    const bool sell = direction == Direction::Sell;
    const bool sideCharged = sell || rule.stampSides == StampSides::BuyerAndSeller;
    const QString sides = rule.stampSides == StampSides::BuyerAndSeller ? u"买卖双方"_s : u"卖出"_s;
    if (stampDutyFlag == 0 || market == MarketKind::WarrantOrFund) {
        fees.stampHint = u"印花税 0（权证或基金不收）"_s;
    } else if (!sideCharged) {
        fees.stampDuty = 0;
        fees.stampHint = u"印花税 0（买入不收，"_s + since + u"）"_s;
    } else {
        fees.stampDuty = amount * rule.stampRate / 1000;
        fees.stampHint = u"印花税 "_s + num::general(rule.stampRate) + u"‰（"_s + sides + u"，"_s +
                         since + u"）"_s;
    }

    if (market == MarketKind::WarrantOrFund) {
        fees.transferHint = u"过户费 0（权证或基金不收）"_s;
    } else if (rule.transferBasis == TransferBasis::Amount) {
        fees.transferFee = amount * rule.transferRate / 1000;
        fees.transferHint = u"过户费 "_s + num::general(rule.transferRate) +
                            u"‰（沪深，按成交金额，"_s + since + u"）"_s;
    } else if (market == MarketKind::ShanghaiA) {
        fees.transferFee = std::max(shares * rule.transferRate, 1.0);
        fees.transferHint = u"过户费 每1000股"_s + num::general(rule.transferRate * 1000) +
                            u"元，最低1元（上海，"_s + since + u"）"_s;
    } else {
        fees.transferHint = u"过户费 0（深圳不收，"_s + since + u"）"_s;
    }
    return fees;
}

double commissionWithMinimum(double amount, double commissionRate, double minimum)
{
    return std::max(amount * commissionRate / 1000, minimum);
}

QString commissionHint(double commissionRate, double minimum)
{
    return u"佣金 "_s + num::general(commissionRate) + u"‰，最低"_s + num::general(minimum) +
           u"元"_s;
}

} // namespace corvanta
