#include "LedgerTestSupport.h"
#include "ledger/LedgerMessages.h"

#include <functional>

using namespace Qt::StringLiterals;

namespace corvanta::ledger::testing {
namespace {

struct EntryCase {
    const char* label;
    std::function<void(TradeEntry&)> change;
    QString refusal; // empty: accepted
    friend void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.label; }
};

class TradeEntryRefusalTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(TradeEntryRefusalTest, RefusesTextsThatAreNoTradeBeforeWriting)
{
    TradeEntry entry = buy(u"甲股份"_s, u"000001"_s, u"100"_s);
    GetParam().change(entry);
    const auto read = readTradeEntry(entry);
    if (GetParam().refusal.isEmpty())
        EXPECT_TRUE(std::holds_alternative<TradeValues>(read));
    else
        EXPECT_EQ(std::get_if<QString>(&read) ? *std::get_if<QString>(&read) : QString(),
                  GetParam().refusal);
}

const QString noName = messages::noName.toString();

INSTANTIATE_TEST_SUITE_P(
    Cases, TradeEntryRefusalTest,
    ::testing::Values(
        EntryCase{"placeholder_stock", [](TradeEntry& e) { e.name = u"无名股票"_s; }, noName},
        EntryCase{"empty_name", [](TradeEntry& e) { e.name.clear(); }, noName},
        EntryCase{"full_width_blank_name", [](TradeEntry& e) { e.name = u"　"_s; }, noName},
        EntryCase{"empty_code", [](TradeEntry& e) { e.code.clear(); }, noName},
        EntryCase{"no_date", [](TradeEntry& e) { e.date = QDate(); },
                  messages::dateInvalid.toString()},
        EntryCase{"quantity_letters", [](TradeEntry& e) { e.quantity = u"1O0"_s; },
                  messages::quantityNotWhole.toString()},
        EntryCase{"quantity_decimal", [](TradeEntry& e) { e.quantity = u"100.5"_s; },
                  messages::quantityNotWhole.toString()},
        EntryCase{"quantity_empty", [](TradeEntry& e) { e.quantity.clear(); },
                  messages::quantityNotWhole.toString()},
        EntryCase{"quantity_zero", [](TradeEntry& e) { e.quantity = u"0"_s; },
                  messages::quantityBelowOne.toString()},
        EntryCase{"quantity_negative", [](TradeEntry& e) { e.quantity = u"-100"_s; },
                  messages::quantityBelowOne.toString()},
        EntryCase{"quantity_one_share", [](TradeEntry& e) { e.quantity = u"1"_s; }, QString()},
        EntryCase{"lots_overflowing",
                  [](TradeEntry& e) {
                      e.quantity = u"92233720368547758"_s;
                      e.unitMultiplier = 100;
                  },
                  messages::quantityTooLarge.toString()},
        EntryCase{"price_letters", [](TradeEntry& e) { e.price = u"14.4a"_s; },
                  u"价格不是有效的数字,不能添加!"_s},
        EntryCase{"price_leading_point", [](TradeEntry& e) { e.price = u".50"_s; }, QString()},
        EntryCase{"fees_empty", [](TradeEntry& e) { e.totalFees.clear(); },
                  u"总费用不是有效的数字,不能添加!"_s},
        EntryCase{"total_letters", [](TradeEntry& e) { e.total = u"x"_s; },
                  u"总金额不是有效的数字,不能添加!"_s},
        EntryCase{"stamp_duty", [](TradeEntry& e) { e.stampDuty = u"-"_s; },
                  u"印花税不是有效的数字,不能添加!"_s},
        EntryCase{"commission_minimum_text", [](TradeEntry& e) { e.commission = u"5"_s; }, QString()},
        EntryCase{"commission", [](TradeEntry& e) { e.commission = u"五"_s; },
                  u"手续费不是有效的数字,不能添加!"_s},
        EntryCase{"transfer_fee", [](TradeEntry& e) { e.transferAndOther = u"1,00"_s; },
                  u"过户费不是有效的数字,不能添加!"_s},
        EntryCase{"other_fee", [](TradeEntry& e) { e.otherFee.clear(); },
                  u"其它费用不是有效的数字,不能添加!"_s},
        // Fees below zero and rates beyond reason price nothing real.
        EntryCase{"other_fee_negative", [](TradeEntry& e) { e.otherFee = u"-100"_s; },
                  u"其它费用不能为负数,不能添加!"_s},
        EntryCase{"total_fees_negative", [](TradeEntry& e) { e.totalFees = u"-91.00"_s; },
                  u"总费用不能为负数,不能添加!"_s},
        EntryCase{"stamp_duty_negative", [](TradeEntry& e) { e.stampDuty = u"-.01"_s; },
                  u"印花税不能为负数,不能添加!"_s},
        EntryCase{"commission_negative", [](TradeEntry& e) { e.commission = u"-5"_s; },
                  u"手续费不能为负数,不能添加!"_s},
        EntryCase{"transfer_fee_negative", [](TradeEntry& e) { e.transferAndOther = u"-1"_s; },
                  u"过户费不能为负数,不能添加!"_s},
        EntryCase{"fees_zero",
                  [](TradeEntry& e) {
                      e.otherFee = e.totalFees = e.stampDuty = e.commission = e.transferAndOther = u"0"_s;
                      e.stampRate = e.commissionRate = u"0"_s;
                  },
                  QString()},
        EntryCase{"stamp_rate_absurd", [](TradeEntry& e) { e.stampRate = u"99999"_s; },
                  u"印花税率超过100‰,不能添加!"_s},
        EntryCase{"stamp_rate_negative", [](TradeEntry& e) { e.stampRate = u"-1"_s; },
                  u"印花税率不能为负数,不能添加!"_s},
        EntryCase{"stamp_rate_letters", [](TradeEntry& e) { e.stampRate = u"3‰"_s; },
                  u"印花税率不是有效的数字,不能添加!"_s},
        EntryCase{"commission_rate_just_too_high",
                  [](TradeEntry& e) { e.commissionRate = u"100.01"_s; },
                  u"佣金费率超过100‰,不能添加!"_s},
        EntryCase{"commission_rate_highest", [](TradeEntry& e) { e.commissionRate = u"100"_s; },
                  QString()},
        EntryCase{"rates_not_given",
                  [](TradeEntry& e) {
                      e.stampRate.clear();
                      e.commissionRate.clear();
                  },
                  QString()},
        EntryCase{"break_even_of_buy", [](TradeEntry& e) { e.breakEven = u"inf"_s; },
                  u"保本价格不是有效的数字,不能添加!"_s},
        EntryCase{"break_even_unused_by_sell",
                  [](TradeEntry& e) {
                      e.direction = Direction::Sell;
                      e.breakEven = u"inf"_s;
                  },
                  QString()}),
    [](const auto& param) { return std::string(param.param.label); });

TEST(TradeEntryValues, AreTheNumbersTheTextsShow)
{
    TradeEntry entry = trade(Direction::Buy, u"甲股份"_s, u"000001"_s, u" 5 "_s, 100);
    entry.price = u".500"_s;
    const TradeValues values = std::get<TradeValues>(readTradeEntry(entry));
    EXPECT_EQ(values.date, u"2008-03-14"_s);
    EXPECT_EQ(values.shares, 500);
    EXPECT_DOUBLE_EQ(values.price, 0.5);
    EXPECT_DOUBLE_EQ(values.fees, 74.41);
    EXPECT_DOUBLE_EQ(values.total, 17426.41);
    EXPECT_DOUBLE_EQ(values.stampDuty, 17.35);
    EXPECT_DOUBLE_EQ(values.commission, 52.06);
    EXPECT_DOUBLE_EQ(values.transferFee, 5.0);
    EXPECT_DOUBLE_EQ(values.breakEven, 14.612);
    EXPECT_DOUBLE_EQ(values.otherFee, 5.0);
}

} // namespace
} // namespace corvanta::ledger::testing
