#include "ledger/Settings.h"
#include "StorePrinting.h"
#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {
namespace {

class SettingsTest : public testing::Test {
protected:
    SettingsTest() { ensureSchema(db, {{u"000001"_s, u"平安银行"_s, u"PAYX"_s}}); }

    void addRow(const QString& key, const QString& value, const QString& second = {})
    {
        auto insert = db.prepare("INSERT INTO gpmc (gpid, gpmc, gppy) VALUES (?1, ?2, ?3)");
        insert.bind(1, key).bind(2, value).bind(3, second);
        insert.run();
    }
    qint64 rowsOf(const QString& key)
    {
        auto query = db.prepare("SELECT count(*) FROM gpmc WHERE gpid = ?1");
        query.bind(1, key);
        return query.step() ? query.int64(0) : -1;
    }
    QString valueOf(const QString& key, int column = 0)
    {
        auto query = db.prepare("SELECT gpmc, gppy FROM gpmc WHERE gpid = ?1");
        query.bind(1, key);
        return query.step() ? query.text(column) : u"<missing>"_s;
    }

    sql::Database db = sql::Database::openInMemory();
};

SettingsToSave sample(Direction side)
{
    SettingsToSave s;
    s.side = side;
    s.otherFee = u"1"_s;
    s.stampRate = u"2.5"_s;
    s.commissionRate = u"0.3"_s;
    s.proxyHost = u"proxy.local"_s;
    s.proxyPort = 8080;
    s.font = {3, true};
    return s;
}

TEST_F(SettingsTest, FreshLedgerGivesTheDefaults)
{
    const LoadedSettings loaded = loadSettings(db);
    EXPECT_FALSE(loaded.buyOtherFeeText);
    EXPECT_FALSE(loaded.buyStampRateText);
    EXPECT_FALSE(loaded.buyCommissionRateText);
    // The rates are those the fee inputs show, "5", "3" and "3", on both sides:
    // a first trade is never priced without fees.
    EXPECT_EQ(loaded.rates.buyOtherFee, 5);
    EXPECT_EQ(loaded.rates.buyStampRate, 3);
    EXPECT_EQ(loaded.rates.buyCommissionRate, 3);
    EXPECT_EQ(loaded.rates.sellOtherFee, 5);
    EXPECT_EQ(loaded.rates.sellStampRate, 3);
    EXPECT_EQ(loaded.rates.sellCommissionRate, 3);
    EXPECT_EQ(loaded.proxyHost, QString());
    EXPECT_EQ(loaded.proxyPort, 0);
    EXPECT_EQ(loaded.font.sizeIndex, 0);
    EXPECT_FALSE(loaded.font.bold);
}

TEST_F(SettingsTest, SavingTheSellSideLeavesTheBuyRowsAlone)
{
    addRow(u"zfsd"_s, u"7"_s);
    const FeeRates current{7, 8, 9, 0, 0, 0};
    const FeeRates rates = saveSettings(db, sample(Direction::Sell), current);

    EXPECT_EQ(valueOf(u"mczfsd"_s), u"1"_s);
    EXPECT_EQ(valueOf(u"mcyhs"_s), u"2.5"_s);
    EXPECT_EQ(valueOf(u"mcsxf"_s), u"0.3"_s);
    EXPECT_EQ(valueOf(u"proxsd"_s, 0), u"proxy.local"_s);
    EXPECT_EQ(valueOf(u"proxsd"_s, 1), u"8080"_s);
    EXPECT_EQ(valueOf(u"ztsd"_s), u"3"_s);
    EXPECT_EQ(valueOf(u"zxsd"_s), u"B"_s);
    EXPECT_EQ(valueOf(u"zfsd"_s), u"7"_s);
    EXPECT_EQ(rowsOf(u"yhssd"_s), 0);
    EXPECT_EQ(rowsOf(u"sxfsd"_s), 0);

    EXPECT_EQ(rates.buyOtherFee, 7);
    EXPECT_EQ(rates.buyStampRate, 8);
    EXPECT_EQ(rates.buyCommissionRate, 9);
    EXPECT_EQ(rates.sellOtherFee, 1);
    EXPECT_EQ(rates.sellStampRate, 2.5);
    EXPECT_EQ(rates.sellCommissionRate, 0.3);
}

TEST_F(SettingsTest, SavingAgainUpdatesTheRowsInPlace)
{
    saveSettings(db, sample(Direction::Buy), {});
    SettingsToSave second = sample(Direction::Buy);
    second.otherFee = u"6"_s;
    second.proxyHost.clear();
    second.proxyPort = 0;
    second.font = {1, false};
    saveSettings(db, second, {});

    for (const QString& key :
         {u"zfsd"_s, u"yhssd"_s, u"sxfsd"_s, u"proxsd"_s, u"ztsd"_s, u"zxsd"_s})
        EXPECT_EQ(rowsOf(key), 1) << key.toStdString();
    EXPECT_EQ(valueOf(u"zfsd"_s), u"6"_s);
    EXPECT_EQ(valueOf(u"proxsd"_s, 0), QString());
    EXPECT_EQ(valueOf(u"proxsd"_s, 1), u"0"_s);
    EXPECT_EQ(valueOf(u"zxsd"_s), u"N"_s);
}

TEST_F(SettingsTest, ARestartGivesBackTheTextsAsTyped)
{
    saveSettings(db, sample(Direction::Buy), {});
    SettingsToSave sell = sample(Direction::Sell);
    sell.otherFee = u"0"_s;
    sell.stampRate = u"1"_s;
    sell.commissionRate = u"1.5"_s;
    saveSettings(db, sell, {});

    const LoadedSettings loaded = loadSettings(db);
    EXPECT_EQ(loaded.buyOtherFeeText, u"1"_s);
    EXPECT_EQ(loaded.buyStampRateText, u"2.5"_s);
    EXPECT_EQ(loaded.buyCommissionRateText, u"0.3"_s);
    EXPECT_EQ(loaded.rates.buyStampRate, 2.5);
    EXPECT_EQ(loaded.rates.sellCommissionRate, 1.5);
    EXPECT_EQ(loaded.proxyHost, u"proxy.local"_s);
    EXPECT_EQ(loaded.proxyPort, 8080);
    EXPECT_EQ(loaded.font.sizeIndex, 3);
    EXPECT_TRUE(loaded.font.bold);
}

// Only what is missing takes a default; a stored 0 stays 0.
TEST_F(SettingsTest, RowsThatExistKeepTheirValues)
{
    addRow(u"zfsd"_s, u"0"_s);
    addRow(u"mcyhs"_s, u"1"_s);
    addRow(u"mcsxf"_s, u"0"_s);
    const LoadedSettings loaded = loadSettings(db);
    EXPECT_EQ(loaded.rates.buyOtherFee, 0);
    EXPECT_EQ(loaded.rates.buyStampRate, 3);
    EXPECT_EQ(loaded.rates.buyCommissionRate, 3);
    EXPECT_EQ(loaded.rates.sellOtherFee, 5);
    EXPECT_EQ(loaded.rates.sellStampRate, 1);
    EXPECT_EQ(loaded.rates.sellCommissionRate, 0);
}

TEST_F(SettingsTest, LoadingTakesTheFirstRowOfAnExactKey)
{
    addRow(u"ZFSD"_s, u"9"_s);
    addRow(u"zfsd"_s, u"4"_s);
    addRow(u"zfsd"_s, u"5"_s);
    const LoadedSettings loaded = loadSettings(db);
    EXPECT_EQ(loaded.buyOtherFeeText, u"4"_s);
    EXPECT_EQ(loaded.rates.buyOtherFee, 4);
}

TEST_F(SettingsTest, ABadRowKeepsItsDefaultAndTheOthersStillLoad)
{
    addRow(u"zfsd"_s, QString()); // an empty input saved as it was
    addRow(u"yhssd"_s, u"2"_s);
    addRow(u"sxfsd"_s, u"abc"_s);
    addRow(u"mczfsd"_s, u"5"_s);
    addRow(u"mcyhs"_s, u"x"_s);
    addRow(u"mcsxf"_s, u"0.25"_s);
    addRow(u"proxsd"_s, u"10.1.1.1"_s, u"80a"_s);
    addRow(u"ztsd"_s, u"9"_s); // no such size
    addRow(u"zxsd"_s, u"B"_s);

    const LoadedSettings loaded = loadSettings(db);
    EXPECT_FALSE(loaded.buyOtherFeeText);
    EXPECT_EQ(loaded.rates.buyOtherFee, 5);
    EXPECT_EQ(loaded.buyStampRateText, u"2"_s);
    EXPECT_EQ(loaded.rates.buyStampRate, 2);
    EXPECT_FALSE(loaded.buyCommissionRateText);
    EXPECT_EQ(loaded.rates.buyCommissionRate, 3);
    EXPECT_EQ(loaded.rates.sellOtherFee, 5);
    EXPECT_EQ(loaded.rates.sellStampRate, 3);
    EXPECT_EQ(loaded.rates.sellCommissionRate, 0.25);
    EXPECT_EQ(loaded.proxyHost, u"10.1.1.1"_s);
    EXPECT_EQ(loaded.proxyPort, 0);
    EXPECT_EQ(loaded.font.sizeIndex, 0);
    EXPECT_TRUE(loaded.font.bold);
}

// The saved texts become rates in order; the first one that is no number stops
// the rest, though every row is written as typed.
struct RateTexts {
    const char16_t* otherFee;
    const char16_t* stampRate;
    const char16_t* commissionRate;
    FeeRates expected; // from a start of {10, 20, 30, 40, 50, 60}
};

class SavedRates : public SettingsTest, public testing::WithParamInterface<RateTexts> {};

TEST_P(SavedRates, StopAtTheFirstTextThatIsNoNumber)
{
    SettingsToSave settings = sample(Direction::Buy);
    settings.otherFee = QString::fromUtf16(GetParam().otherFee);
    settings.stampRate = QString::fromUtf16(GetParam().stampRate);
    settings.commissionRate = QString::fromUtf16(GetParam().commissionRate);

    const FeeRates rates = saveSettings(db, settings, {10, 20, 30, 40, 50, 60});
    const FeeRates& expected = GetParam().expected;
    EXPECT_EQ(rates.buyOtherFee, expected.buyOtherFee);
    EXPECT_EQ(rates.buyStampRate, expected.buyStampRate);
    EXPECT_EQ(rates.buyCommissionRate, expected.buyCommissionRate);
    EXPECT_EQ(rates.sellOtherFee, 40);
    EXPECT_EQ(valueOf(u"sxfsd"_s), settings.commissionRate);
}

INSTANTIATE_TEST_SUITE_P(Texts, SavedRates,
                         testing::Values(RateTexts{u"5", u"1", u"2.5", {5, 1, 2.5, 40, 50, 60}},
                                         RateTexts{u"5", u"x", u"2.5", {5, 20, 30, 40, 50, 60}},
                                         RateTexts{u"", u"1", u"2.5", {10, 20, 30, 40, 50, 60}},
                                         RateTexts{u"5", u"1", u"", {5, 1, 30, 40, 50, 60}}));

TEST(SettingsMessage, NamesTheSavedSide)
{
    EXPECT_EQ(savedMessage(Direction::Sell),
              u"卖出费率设置、代理服务器地址、字体等保存成功按确定返回 "_s);
    EXPECT_EQ(savedMessage(Direction::Buy),
              u"买入费率设置、代理服务器地址、字体等保存成功按确定返回 "_s);
}

} // namespace
} // namespace corvanta::ledger
