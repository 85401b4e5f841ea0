#include "model/TradeForm.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::model;

namespace {

// One write to the form and how many announcements it should make on a form that
// holds a priced buy of 1000 shares at 10.00, shown in 元.
struct WriteCase {
    std::string name;
    std::function<void(TradeForm&)> write;
    int changes;
};

void PrintTo(const WriteCase& c, std::ostream* os)
{
    *os << c.name;
}

void fillPricedBuy(TradeForm& form)
{
    form.setText(TradeText::StockCode, QStringLiteral("000001"));
    form.setQuantity(QStringLiteral("1000"));
    form.setPrice(QStringLiteral("10.00"));
    form.setText(TradeText::TradeAmount, QStringLiteral("10000.00"));
    form.setText(TradeText::TotalFees, QStringLiteral("35.00"));
    form.setText(TradeText::Total, QStringLiteral("10035.00"));
    form.setTradeDate(QDate(2026, 12, 8));
    form.setSavedRates({5, 1, 3, 5, 1, 3});
}

class FormWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(FormWrite, AnnouncesOnlyARealChange)
{
    TradeForm form;
    fillPricedBuy(form);
    int changes = 0;
    QObject::connect(&form, &TradeForm::changed, [&changes] { ++changes; });
    GetParam().write(form);
    EXPECT_EQ(changes, GetParam().changes);
}

INSTANTIATE_TEST_SUITE_P(
    TradeForm, FormWrite,
    ::testing::Values(
        WriteCase{"SameQuantity", [](TradeForm& f) { f.setQuantity(QStringLiteral("1000")); }, 0},
        WriteCase{"NewQuantity", [](TradeForm& f) { f.setQuantity(QStringLiteral("1200")); }, 1},
        WriteCase{"SamePrice", [](TradeForm& f) { f.setPrice(QStringLiteral("10.00")); }, 0},
        // "10" is another text of the same price: the form keeps texts as typed.
        WriteCase{"PriceRetyped", [](TradeForm& f) { f.setPrice(QStringLiteral("10")); }, 1},
        WriteCase{"SameDirection", [](TradeForm& f) { f.setDirection(Direction::Buy); }, 0},
        WriteCase{"NewDirection", [](TradeForm& f) { f.setDirection(Direction::Sell); }, 1},
        WriteCase{"SameMarket", [](TradeForm& f) { f.setMarket(MarketKind::ShenzhenA); }, 0},
        WriteCase{"NewMarket", [](TradeForm& f) { f.setMarket(MarketKind::ShanghaiA); }, 1},
        WriteCase{"SameUnit", [](TradeForm& f) { f.setQuantityUnit(QuantityUnit::Shares); }, 0},
        WriteCase{"Lots", [](TradeForm& f) { f.setQuantityUnit(QuantityUnit::Lots); }, 1},
        WriteCase{"SameDate", [](TradeForm& f) { f.setTradeDate(QDate(2026, 12, 8)); }, 0},
        WriteCase{"NewDate", [](TradeForm& f) { f.setTradeDate(QDate(2026, 12, 9)); }, 1},
        WriteCase{"SameRates",
                  [](TradeForm& f) {
                      f.setSavedRates({5, 1, 3, 5, 1, 3});
                  },
                  0},
        WriteCase{"NewRates",
                  [](TradeForm& f) {
                      f.setSavedRates({5, 1, 3, 5, 1, 2.5});
                  },
                  1},
        WriteCase{"SameFlag", [](TradeForm& f) { f.setStampDutyFlag(1); }, 0},
        WriteCase{"NewFlag", [](TradeForm& f) { f.setStampDutyFlag(0); }, 1},
        WriteCase{"RulesByDate", [](TradeForm& f) { f.setFeesByTradeDate(5.0); }, 1},
        WriteCase{"SameTargets", [](TradeForm& f) { f.setSellTargetInputs(true, true); }, 0},
        WriteCase{"TargetsClosed", [](TradeForm& f) { f.setSellTargetInputs(true, false); }, 1},
        // Switching to 万元 changes how amounts show, never the 元 kept.
        WriteCase{"TenThousands",
                  [](TradeForm& f) { f.setAmountUnit(AmountUnit::TenThousandYuan); }, 1},
        // The 万元 text the form shows stands for its exact 元 amount.
        WriteCase{"ShownTotalUntouched",
                  [](TradeForm& f) {
                      f.setAmountUnit(AmountUnit::TenThousandYuan);
                      f.setShownText(TradeText::Total, QStringLiteral("1.0035"));
                  },
                  1},
        WriteCase{"ShownTotalRetyped",
                  [](TradeForm& f) {
                      f.setAmountUnit(AmountUnit::TenThousandYuan);
                      f.setShownText(TradeText::Total, QStringLiteral("1.0036"));
                  },
                  2},
        // Requests are signals of their own, never a change of the trade.
        WriteCase{"StockChosen", [](TradeForm& f) { f.chooseStock(QStringLiteral("600000")); }, 0},
        WriteCase{"QuoteWanted", [](TradeForm& f) { f.askForQuote(); }, 0}));

// How the amounts show and what the form keeps after a text is shown in a unit.
struct UnitCase {
    std::string name;
    const char* yuan;  // the 元 text the pricing wrote
    AmountUnit unit;   // the unit then chosen
    const char* shown; // what that unit shows
    const char* typed; // then typed over it in that unit (nullptr: left alone)
    const char* kept;  // the 元 the form keeps
};

void PrintTo(const UnitCase& c, std::ostream* os)
{
    *os << c.name;
}

class FormUnits : public ::testing::TestWithParam<UnitCase> {};

TEST_P(FormUnits, KeepYuan)
{
    const UnitCase& c = GetParam();
    TradeForm form;
    form.setText(TradeText::Total, QString::fromUtf8(c.yuan));
    form.setAmountUnit(c.unit);
    EXPECT_EQ(form.shownText(TradeText::Total).toStdString(), c.shown);
    if (c.typed)
        form.setShownText(TradeText::Total, QString::fromUtf8(c.typed));
    EXPECT_EQ(form.total().toStdString(), c.kept);
    // Back in 元 the form shows what it keeps.
    form.setAmountUnit(AmountUnit::Yuan);
    EXPECT_EQ(form.shownText(TradeText::Total).toStdString(), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    TradeForm, FormUnits,
    ::testing::Values(
        UnitCase{"Yuan", "10035.00", AmountUnit::Yuan, "10035.00", nullptr, "10035.00"},
        UnitCase{"TenThousands", "10035.00", AmountUnit::TenThousandYuan, "1.0035", nullptr,
                 "10035.00"},
        // Four decimals of 万元 drop the fen; the form keeps them.
        UnitCase{"FenKept", "17426.41", AmountUnit::TenThousandYuan, "1.7426", nullptr, "17426.41"},
        UnitCase{"RetypedInTenThousands", "17426.41", AmountUnit::TenThousandYuan, "1.7426", "2.5",
                 "25000.00"},
        UnitCase{"RetypedInYuan", "17426.41", AmountUnit::Yuan, "17426.41", "17426.4", "17426.4"},
        UnitCase{"NotANumber", "-", AmountUnit::TenThousandYuan, "-", nullptr, "-"},
        UnitCase{"EmptyTyped", "17426.41", AmountUnit::TenThousandYuan, "1.7426", "", ""}));

TEST(TradeForm, SnapshotHoldsTheFeeTerms)
{
    TradeForm form;
    fillPricedBuy(form);
    form.setText(TradeText::StampRate, QStringLiteral("1"));
    form.setText(TradeText::CommissionRate, QStringLiteral("3"));
    form.setText(TradeText::OtherFee, QStringLiteral("5"));
    form.setQuantityUnit(QuantityUnit::Lots);
    form.setMarket(MarketKind::ShanghaiA);
    form.setTransferFeeFlag(1);
    FeeSnapshot s = form.feeSnapshot();
    EXPECT_EQ(s.quantity, QStringLiteral("1000"));
    EXPECT_EQ(s.price, QStringLiteral("10.00"));
    EXPECT_EQ(s.stampRate, QStringLiteral("1"));
    EXPECT_EQ(s.commissionRate, QStringLiteral("3"));
    EXPECT_EQ(s.otherFee, QStringLiteral("5"));
    EXPECT_EQ(s.unitMultiplier, sharesPerLot);
    EXPECT_EQ(s.transferFeeFlag, 1);
    EXPECT_EQ(s.stampDutyFlag, 1);
    EXPECT_EQ(s.saved.sellCommissionRate, 3);
    EXPECT_FALSE(s.byDate.has_value());

    form.setFeesByTradeDate(0.1);
    s = form.feeSnapshot();
    ASSERT_TRUE(s.byDate.has_value());
    EXPECT_EQ(s.byDate->tradeDate, QDate(2026, 12, 8));
    EXPECT_EQ(s.byDate->market, MarketKind::ShanghaiA);
    EXPECT_EQ(s.byDate->commissionMinimum, 0.1);
}

TEST(TradeForm, SellTargetBoxesFollowTheirKind)
{
    TradeForm form;
    form.setSellTargetInputs(true, false);
    EXPECT_TRUE(form.sellTargetEnabled(SellTargetBox::ProfitPrice));
    EXPECT_TRUE(form.sellTargetEnabled(SellTargetBox::LossPrice));
    for (SellTargetBox box : {SellTargetBox::ProfitAmount, SellTargetBox::ProfitPercent,
                              SellTargetBox::LossAmount, SellTargetBox::LossPercent})
        EXPECT_FALSE(form.sellTargetEnabled(box));
}

} // namespace
