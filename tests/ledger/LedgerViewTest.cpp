#include "ledger/LedgerView.h"
#include "LedgerTestSupport.h"
#include "ledger/EventLedger.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::ledger::testing {
namespace {

class LedgerViewTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        // Seeded: row 1 唐钢股份 buy (monitored), row 2 its open position.
        TradeEntry early = sell(u"唐钢股份"_s, u"000709"_s, u"200"_s);
        early.date = QDate(2007, 1, 5);
        early.price = u"22.45"_s;
        early.totalFees = u"66.64"_s;
        early.total = u"4423.36"_s;
        recorded(early); // row 3
        TradeEntry other = buy(u"乙股份"_s, u"580001"_s, u"100"_s);
        other.date = QDate(2006, 6, 1);
        recorded(other); // rows 4, 5
    }

    QList<qint64> ids(const QList<LedgerRow>& rows)
    {
        QList<qint64> out;
        for (const LedgerRow& row : rows)
            out << row.id;
        return out;
    }
};

TEST_F(LedgerViewTest, ListsRealTradesByDateOrByName)
{
    EXPECT_EQ(ids(ledgerRows(db, LedgerSortOrder::ByDate)), (QList<qint64>{4, 3, 1}));
    // Names in pinyin order: 唐 (tang) before 乙 (yi), though 乙 comes first by code point.
    EXPECT_EQ(ids(ledgerRows(db, LedgerSortOrder::ByName)), (QList<qint64>{1, 3, 4}));
}

// The grid holds the IDs and reads the rows it shows by them: both in the order
// and with the texts of the whole list; a trade gone since keeps its ID only.
TEST_F(LedgerViewTest, RowsReadByIdMatchTheWholeList)
{
    for (const LedgerSortOrder order : {LedgerSortOrder::ByDate, LedgerSortOrder::ByName}) {
        const QList<LedgerRow> whole = ledgerRows(db, order);
        const QList<qint64> orderIds = ledgerRowIds(db, order);
        EXPECT_EQ(orderIds, ids(whole));
        const QList<LedgerRow> read = ledgerRowsOf(db, orderIds);
        ASSERT_EQ(read.size(), whole.size());
        for (qsizetype i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i].cells, whole[i].cells);
            EXPECT_EQ(read[i].code, whole[i].code);
            EXPECT_EQ(read[i].monitor, whole[i].monitor);
            EXPECT_EQ(read[i].colour, whole[i].colour);
        }
    }
    const QList<qint64> gone{3, 99};
    const QList<LedgerRow> read = ledgerRowsOf(db, gone);
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read[0].cells[NameColumn], u"唐钢股份"_s);
    EXPECT_EQ(read[1].id, 99);
    EXPECT_TRUE(read[1].cells[NameColumn].isEmpty());
}

TEST_F(LedgerViewTest, RowCarriesTheGridTextsCodeMarkAndColour)
{
    const QList<LedgerRow> rows = ledgerRows(db, LedgerSortOrder::ByDate);
    ASSERT_EQ(rows.size(), 3);
    const std::array<QString, LedgerColumnCount> sample = {
        u"2007-05-21"_s, u"唐钢股份"_s, u"买入"_s,  u"1200"_s, u"14.46"_s, u"74.41"_s,
        u"17426.41"_s,   u"17.35"_s,    u"52.06"_s, u"5"_s,    u"5"_s};
    EXPECT_EQ(rows[2].cells, sample);
    EXPECT_EQ(rows[2].code, u"000709"_s);
    EXPECT_EQ(rows[2].monitor, u"是"_s);
    EXPECT_EQ(rows[2].colour, RowColour::MonitoredBuy);
    EXPECT_EQ(rows[1].colour, RowColour::Sell); // monitored too, but a sell
    EXPECT_EQ(rows[0].colour, RowColour::Buy);
    EXPECT_EQ(rows[0].monitor, u"否"_s);
    EXPECT_EQ(ledgerColumnTitles()[TransferFeeColumn], u"过户费等"_s);
}

TEST_F(LedgerViewTest, NullValuesShowEmpty)
{
    db.exec("UPDATE gpjl SET 印花税=NULL,数量=NULL,日期=NULL WHERE ID=4");
    const QList<LedgerRow> rows = ledgerRows(db, LedgerSortOrder::ByName);
    const auto row =
        std::find_if(rows.begin(), rows.end(), [](const LedgerRow& r) { return r.id == 4; });
    ASSERT_NE(row, rows.end());
    EXPECT_EQ(row->cells[StampDutyColumn], QString());
    EXPECT_EQ(row->cells[QuantityColumn], QString());
    EXPECT_EQ(row->cells[DateColumn], QString());
}

TEST_F(LedgerViewTest, SelectingABuyLoadsItsTextsBack)
{
    const auto trade = selectTrade(db, 1);
    ASSERT_TRUE(trade);
    EXPECT_EQ(trade->recordLabel, u"唐钢股份:000709"_s);
    EXPECT_EQ(trade->name, u"唐钢股份"_s);
    EXPECT_EQ(trade->code, u"000709"_s);
    EXPECT_EQ(trade->quantity, u"1200"_s);
    EXPECT_EQ(trade->price, u"14.46"_s);
    EXPECT_EQ(trade->tradeAmount, u"17352"_s); // 17426.41 - 74.41
    EXPECT_EQ(trade->total, u"17426.41"_s);
    EXPECT_EQ(trade->totalFees, u"74.41"_s);
    EXPECT_EQ(trade->stampDuty, u"17.35"_s);
    EXPECT_EQ(trade->commission, u"52.06"_s);
    EXPECT_EQ(trade->transferAndOther, u"5"_s);
    EXPECT_EQ(trade->otherFee, u"5"_s);
    EXPECT_EQ(trade->date, QDate(2007, 5, 21));
    EXPECT_EQ(trade->direction, Direction::Buy);
    EXPECT_EQ(trade->market, MarketKind::ShenzhenA);
    EXPECT_EQ(trade->infoLinkCaption, u"打开唐钢股份相关资讯网页"_s);
    EXPECT_EQ(trade->infoLinkPath, u"/q/bc.php?code=000709"_s);
}

TEST_F(LedgerViewTest, SellingAddsTheFeesBackToTheAmount)
{
    const auto trade = selectTrade(db, 3);
    ASSERT_TRUE(trade);
    EXPECT_EQ(trade->direction, Direction::Sell);
    EXPECT_EQ(trade->tradeAmount, u"4490"_s); // 4423.36 + 66.64
}

struct MarketCase {
    const char* code;
    std::optional<MarketKind> market;
    friend void PrintTo(const MarketCase& c, std::ostream* os) { *os << c.code; }
};

class SelectedMarketTest : public LedgerViewTest,
                           public ::testing::WithParamInterface<MarketCase> {};

TEST_P(SelectedMarketTest, FollowsTheStoredCode)
{
    auto update = db.prepare("UPDATE gpjl SET 股票代码=?1 WHERE ID=4");
    update.bind(1, QString::fromLatin1(GetParam().code));
    update.run();
    EXPECT_EQ(selectTrade(db, 4)->market, GetParam().market);
}

INSTANTIATE_TEST_SUITE_P(Codes, SelectedMarketTest,
                         ::testing::Values(MarketCase{"600000", MarketKind::ShanghaiA},
                                           MarketCase{"000001", MarketKind::ShenzhenA},
                                           MarketCase{"580001", MarketKind::WarrantOrFund},
                                           MarketCase{"510050", std::nullopt},
                                           MarketCase{"", std::nullopt}));

TEST_F(LedgerViewTest, SelectionOfOddRows)
{
    db.exec("UPDATE gpjl SET 日期='someday',印花税=NULL WHERE ID=4");
    const auto odd = selectTrade(db, 4);
    ASSERT_TRUE(odd);
    EXPECT_FALSE(odd->date.isValid()); // the picker keeps its date
    EXPECT_EQ(odd->stampDuty, QString());

    EXPECT_FALSE(selectTrade(db, 2)); // an open-position row
    EXPECT_FALSE(selectTrade(db, 99));
    db.exec("UPDATE gpjl SET 股票名=NULL WHERE ID=4");
    EXPECT_FALSE(selectTrade(db, 4));
}

// Corporate actions are rows of their own (negated fhsp IDs): by date before the
// trades of their ex-date, by name inside their stock's group, and those of a stock
// without trades last. Read by ID they are rows of their kind, not trades.
TEST_F(LedgerViewTest, EventsAreRowsOfTheirOwnInEitherOrder)
{
    EventLedger events(db);
    const auto add = [&](const QString& name, const QString& code, QDate ex) {
        EventEntry entry;
        entry.code = code;
        entry.name = name;
        entry.record = ex.addDays(-1);
        entry.ex = ex;
        entry.cash = u"1"_s;
        entry.transfer = name == u"唐钢股份"_s ? u"5"_s : QString();
        const EventSaveOutcome outcome = events.add(entry, true);
        EXPECT_TRUE(outcome.saved()) << outcome.message.toStdString();
        return -outcome.id;
    };
    const qint64 tang = add(u"唐钢股份"_s, u"000709"_s, QDate(2007, 5, 21));
    const qint64 yi = add(u"乙股份"_s, u"580001"_s, QDate(2006, 7, 1));
    const qint64 bing = add(u"丙股份"_s, u"600001"_s, QDate(2006, 1, 1));

    EXPECT_EQ(ledgerRowIds(db, LedgerSortOrder::ByDate), (QList<qint64>{bing, 4, yi, 3, tang, 1}));
    EXPECT_EQ(ledgerRowIds(db, LedgerSortOrder::ByName), (QList<qint64>{tang, 1, 3, 4, yi, bing}));

    const QList<LedgerRow> rows = ledgerRowsOf(db, QList<qint64>{yi, 4, tang});
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].colour, RowColour::Event);
    EXPECT_EQ(rows[0].cells[DateColumn], u"2006-07-01"_s);
    EXPECT_EQ(rows[0].cells[StateColumn], u"分红"_s);
    EXPECT_EQ(rows[0].cells[TotalColumn], u"10"_s); // 100 shares × 1 元 / 10
    EXPECT_EQ(rows[1].id, 4);
    EXPECT_EQ(rows[2].cells[StateColumn], u"送转"_s);
    EXPECT_FALSE(selectTrade(db, yi));
}

TEST(LedgerCaption, NamesTheSelectedRecord)
{
    EXPECT_EQ(selectedRecordCaption(3), u"交易记录    当前记录号:3"_s);
}

} // namespace
} // namespace corvanta::ledger::testing
