#include "calc/MoneyAmount.h"
#include "calc/FeeCalculator.h"

#include <string>

#include <gtest/gtest.h>

using namespace corvanta;

namespace {

// A 元 text, what it shows in 万元, and what that 万元 text stands for when it is
// read back as typed.
struct RoundTrip {
    std::string name;
    const char* yuan;
    const char* tenThousands;
    const char* readBack;
};

void PrintTo(const RoundTrip& c, std::ostream* os)
{
    *os << c.name;
}

class MoneyAmountUnits : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(MoneyAmountUnits, RoundTripsExactly)
{
    const RoundTrip& c = GetParam();
    const MoneyAmount amount = MoneyAmount::fromYuan(QString::fromUtf8(c.yuan));
    EXPECT_EQ(amount.shown(AmountUnit::Yuan).toStdString(), c.yuan);
    const QString shown = amount.shown(AmountUnit::TenThousandYuan);
    EXPECT_EQ(shown.toStdString(), c.tenThousands);
    // The amount itself never passes through its 万元 text.
    EXPECT_EQ(amount.yuan().toStdString(), c.yuan);
    const MoneyAmount typed = MoneyAmount::fromShown(shown, AmountUnit::TenThousandYuan);
    EXPECT_EQ(typed.yuan().toStdString(), c.readBack);
    // The unit switch of the trade box converts the same way.
    const AmountTexts there = convertAmountUnit(
        QString::fromUtf8(c.yuan), QString::fromUtf8(c.yuan), QString::fromUtf8(c.yuan), true);
    EXPECT_EQ(there.total.value_or(QStringLiteral("none")).toStdString(), c.tenThousands);
}

INSTANTIATE_TEST_SUITE_P(
    MoneyAmount, MoneyAmountUnits,
    ::testing::Values(RoundTrip{"WholeTenThousands", "10000.00", "1.0000", "10000.00"},
                      RoundTrip{"FourDecimalsSuffice", "10035.00", "1.0035", "10035.00"},
                      // The fen are dropped by 万元's four decimals; only the 元 text keeps them.
                      RoundTrip{"FenLost", "17426.41", "1.7426", "17426.00"},
                      RoundTrip{"HalfRoundsUp", "17426.50", "1.7427", "17427.00"},
                      RoundTrip{"JustBelowHalf", "17426.49", "1.7426", "17426.00"},
                      RoundTrip{"BelowOneTenThousand", "35.00", ".0035", "35.00"},
                      RoundTrip{"BelowOneYuan", ".40", ".0000", ".00"},
                      RoundTrip{"Negative", "-9964.80", "-.9965", "-9965.00"},
                      RoundTrip{"Zero", "0", ".0000", ".00"}));

TEST(MoneyAmount, TextsThatAreNoNumberStayAsTheyAre)
{
    for (const char* text : {"", "-", "abc"}) {
        const QString t = QString::fromUtf8(text);
        EXPECT_EQ(MoneyAmount::fromYuan(t).shown(AmountUnit::TenThousandYuan), t) << text;
        EXPECT_EQ(MoneyAmount::fromShown(t, AmountUnit::TenThousandYuan).yuan(), t) << text;
    }
}

TEST(MoneyAmount, ATypedTenThousandsTextIsReadInFen)
{
    EXPECT_EQ(MoneyAmount::fromShown(QStringLiteral("1.23456"), AmountUnit::TenThousandYuan).yuan(),
              QStringLiteral("12345.60"));
    EXPECT_EQ(MoneyAmount::fromShown(QStringLiteral("12"), AmountUnit::Yuan).yuan(),
              QStringLiteral("12"));
}

} // namespace
