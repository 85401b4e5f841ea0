#include "LedgerTestSupport.h"

#include "ledger/EventLedger.h"
#include "ledger/LedgerMessages.h"
#include "ledger/LedgerView.h"
#include "ledger/LedgerWriter.h"
#include "ledger/RightsSubscription.h"
#include "ledger/Settings.h"
#include "ledger/StockTable.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace corvanta::ledger::testing {
namespace {

// A trade of 甲股份 on a day, at a price, with no fees: the amount is shares × price.
TradeEntry dated(Direction direction, const char* date, qint64 shares, double price,
                 const QString& name = u"甲股份"_s, const QString& code = u"000001"_s)
{
    TradeEntry entry = trade(direction, name, code, QString::number(shares));
    entry.date = QDate::fromString(QString::fromLatin1(date), Qt::ISODate);
    entry.price = QString::number(price, 'f', 2);
    entry.totalFees = u"0"_s;
    entry.total = QString::number(double(shares) * price, 'f', 2);
    entry.stampDuty = entry.commission = entry.transferAndOther = u"0"_s;
    entry.breakEven = entry.price;
    return entry;
}

EventEntry event(const char* record, const char* ex, const QString& cash, const QString& bonus = {},
                 const QString& transfer = {}, const QString& name = u"甲股份"_s,
                 const QString& code = u"000001"_s)
{
    EventEntry entry;
    entry.code = code;
    entry.name = name;
    entry.record = QDate::fromString(QString::fromLatin1(record), Qt::ISODate);
    entry.ex = QDate::fromString(QString::fromLatin1(ex), Qt::ISODate);
    entry.cash = cash;
    entry.bonus = bonus;
    entry.transfer = transfer;
    return entry;
}

// 10派3元送2股转3股, record 2024-06-20, ex 2024-06-21.
EventEntry example()
{
    return event("2024-06-20", "2024-06-21", u"3"_s, u"2"_s, u"3"_s);
}

QStringList dumpEvents(sql::Database& db)
{
    if (!hasEventTable(db))
        return {u"<no table>"_s};
    auto query = db.prepare("SELECT * FROM fhsp ORDER BY ID");
    QStringList rows;
    while (query.step()) {
        QStringList cells;
        for (int column = 0; column < query.columnCount(); ++column)
            cells << query.text(column);
        rows << cells.join(u'|');
    }
    return rows;
}

class StockEventLedgerTest : public LedgerTest {
protected:
    qint64 saved(const EventEntry& entry, bool confirmed = false)
    {
        const EventSaveOutcome outcome = writer.addEvent(entry, confirmed);
        EXPECT_TRUE(outcome.saved()) << outcome.message.toStdString();
        return outcome.id;
    }
    calc::StockHistory history() { return stockHistory(db, u"甲股份"_s); }

    LedgerNotifier notifier;
    LedgerWriter writer{db, notifier};
};

// The worked example: the sale of all 1500 shares is accepted and carries 50.00 of
// dividend tax; the open position held the new shares at the position's cost.
TEST_F(StockEventLedgerTest, BonusAndTransferSharesCanBeSoldAndCarryTheTax)
{
    recorded(dated(Direction::Buy, "2024-03-01", 1000, 20.00));
    EXPECT_EQ(writer.previewEvent(example()), u"登记日持有 1000 股：派现 300.00 元，送转 500 股"_s);
    saved(example());
    EXPECT_EQ(openShares(u"甲股份"_s), 1500);
    EXPECT_NEAR(history().costPerShare(), 20000.0 / 1500, 1e-9);
    EXPECT_EQ(history().dividendFen, 30000);
    EXPECT_TRUE(invariantHolds(db));

    recorded(dated(Direction::Sell, "2024-07-10", 1500, 16.00));
    EXPECT_EQ(openRows(u"甲股份"_s), 0);
    EXPECT_EQ(history().taxFen, 5000);
    EXPECT_NEAR(history().realisedProfit, 24000 - 20000 - 50, 0.005);
    EXPECT_EQ(history().events.first().taxOnSalesFen, 5000);
    EXPECT_TRUE(invariantHolds(db));
}

TEST_F(StockEventLedgerTest, SoldAfterAYearTheSaleCarriesNoTax)
{
    recorded(dated(Direction::Buy, "2024-03-01", 1000, 20.00));
    saved(example());
    recorded(dated(Direction::Sell, "2025-03-10", 1500, 16.00));
    EXPECT_EQ(history().taxFen, 0);
    EXPECT_NEAR(history().realisedProfit, 4000, 0.005);
}

// Without a 送转 on record the sale is refused, with the hint.
TEST_F(StockEventLedgerTest, OverSaleOfAStockWithEventsHasNoHint)
{
    recorded(dated(Direction::Buy, "2024-03-01", 1000, 20.00));
    RecordOutcome refused = ledger.record(dated(Direction::Sell, "2024-07-10", 1500, 16.00));
    EXPECT_EQ(refused.refusal, messages::overSell + messages::overSellEventHint);
    saved(example());
    refused = ledger.record(dated(Direction::Sell, "2024-07-10", 1501, 16.00));
    EXPECT_EQ(refused.refusal, messages::overSell.toString());
    // A sale before the record date would shrink the entitlement below what is sold.
    refused = ledger.record(dated(Direction::Sell, "2024-06-20", 1001, 16.00));
    EXPECT_FALSE(refused.recorded());
}

struct Refusal {
    const char* name;
    EventEntry entry;
    QString message;
};

TEST_F(StockEventLedgerTest, RefusedEventsWriteNothing)
{
    recorded(dated(Direction::Buy, "2024-03-01", 1000, 20.00));
    saved(example());
    EventEntry rights = event("2024-08-01", "2024-08-02", {});
    rights.rights = u"3"_s;
    EventEntry noName = example();
    noName.name.clear();
    const Refusal cases[] = {
        {"RecordAfterEx", event("2024-07-02", "2024-07-01", u"1"_s),
         u"股权登记日在除权除息日之后,不能保存!"_s},
        {"NegativeCash", event("2024-08-01", "2024-08-02", u"-1"_s), u"派现不能为负数,不能保存!"_s},
        {"NegativeTransfer", event("2024-08-01", "2024-08-02", {}, {}, u"-3"_s),
         u"转增不能为负数,不能保存!"_s},
        {"NotANumber", event("2024-08-01", "2024-08-02", u"三"_s),
         u"派现不是有效的数字,不能保存!"_s},
        {"BringsNothing", event("2024-08-01", "2024-08-02", u"0"_s),
         u"没有派现、送股、转增或配股,不能保存!"_s},
        {"RightsWithoutPrice", rights, u"配股没有配股价,不能保存!"_s},
        {"RecordDateUsed", event("2024-06-20", "2024-06-24", u"1"_s),
         u"该股票在 2024-06-20 登记的分红送配已有记录,不能保存!"_s},
        {"NoStock", noName, u"股票没有名称不添加"_s},
    };
    const QStringList trades = dumpLedger(db);
    const QStringList events = dumpEvents(db);
    QSignalSpy announced(&notifier, &LedgerNotifier::changed);
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        const EventSaveOutcome outcome = writer.addEvent(c.entry, true);
        EXPECT_EQ(outcome.status, EventSaveOutcome::Status::Refused);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(writer.previewEvent(c.entry), c.message);
    }
    EXPECT_EQ(dumpLedger(db), trades);
    EXPECT_EQ(dumpEvents(db), events);
    EXPECT_EQ(announced.count(), 0);
    EXPECT_FALSE(db.inTransaction());
}

// Nothing held on the record date: asked first, saved only when confirmed.
TEST_F(StockEventLedgerTest, AnEventNothingWasHeldForIsSavedOnlyWhenConfirmed)
{
    recorded(dated(Direction::Buy, "2024-07-01", 1000, 20.00));
    const EventSaveOutcome asked = writer.addEvent(example(), false);
    EXPECT_EQ(asked.status, EventSaveOutcome::Status::NeedsConfirmation);
    EXPECT_EQ(asked.message, u"股权登记日 2024-06-20 账本里没有持有该股票，仍然保存吗？"_s);
    EXPECT_EQ(dumpEvents(db), QStringList{u"<no table>"_s});
    EXPECT_EQ(writer.previewEvent(example()), u"登记日没有持股"_s);

    saved(example(), true);
    EXPECT_EQ(openShares(u"甲股份"_s), 1000);
    EXPECT_EQ(history().dividendFen, 0);
}

// An older ledger gets the table with its first event and not before; a table of
// that name lacking columns is refused at start.
TEST_F(StockEventLedgerTest, TheTableComesWithTheFirstEventAndIsCheckedAtStart)
{
    EXPECT_FALSE(hasEventTable(db));
    EXPECT_FALSE(ensureSchema(db, tinySeedList()));
    EXPECT_FALSE(hasEventTable(db));
    recorded(dated(Direction::Buy, "2024-03-01", 1000, 20.00));
    saved(example());
    EXPECT_TRUE(hasEventTable(db));
    EXPECT_FALSE(ensureSchema(db, tinySeedList()));

    sql::Database other = sql::Database::openInMemory();
    ensureSchema(other, tinySeedList());
    other.exec("CREATE TABLE fhsp (ID INTEGER PRIMARY KEY, 股票名 TEXT)");
    try {
        ensureSchema(other, tinySeedList());
        FAIL() << "a foreign fhsp was accepted";
    } catch (const ForeignTableError& error) {
        EXPECT_EQ(error.table(), u"fhsp"_s);
        EXPECT_TRUE(error.missingColumns().contains(u"除权日"_s));
    }
}

// Changing or deleting an event re-derives the position; deleting one whose new
// shares were sold is refused.
TEST_F(StockEventLedgerTest, ChangeAndDeleteRederiveThePosition)
{
    recorded(dated(Direction::Buy, "2024-01-02", 1000, 10.00));
    const qint64 id = saved(event("2024-06-20", "2024-06-21", {}, {}, u"10"_s));
    EXPECT_EQ(openShares(u"甲股份"_s), 2000);

    QSignalSpy announced(&notifier, &LedgerNotifier::changed);
    EXPECT_TRUE(
        writer.changeEvent(id, event("2024-06-20", "2024-06-21", {}, {}, u"5"_s), false).saved());
    EXPECT_EQ(openShares(u"甲股份"_s), 1500);
    ASSERT_EQ(announced.count(), 1);
    EXPECT_EQ(announced.first().first().value<LedgerChanges>(),
              LedgerChange::Trades | LedgerChange::Events);

    recorded(dated(Direction::Sell, "2024-07-10", 1200, 12.00));
    EXPECT_EQ(openShares(u"甲股份"_s), 300);
    const QStringList trades = dumpLedger(db);
    EXPECT_EQ(writer.deleteEvent(id).message, messages::events::deleteOversells.toString());
    EXPECT_EQ(
        writer.changeEvent(id, event("2024-06-20", "2024-06-21", {}, {}, u"1"_s), false).message,
        messages::events::changeOversells.toString());
    EXPECT_EQ(dumpLedger(db), trades);
    EXPECT_TRUE(invariantHolds(db));
}

// An event deleted after later sales takes its dividend and the sales' tax with it.
TEST_F(StockEventLedgerTest, AnEventDeletedAfterLaterSalesTakesItsTaxAlong)
{
    recorded(dated(Direction::Buy, "2024-01-02", 1000, 10.00));
    const qint64 id = saved(event("2024-06-20", "2024-06-21", u"2"_s));
    recorded(dated(Direction::Sell, "2024-07-10", 600, 11.00));
    EXPECT_EQ(history().taxFen, 1200);
    EXPECT_EQ(history().dividendFen, 20000);

    ASSERT_TRUE(writer.deleteEvent(id).saved());
    EXPECT_EQ(history().taxFen, 0);
    EXPECT_EQ(history().dividendFen, 0);
    EXPECT_EQ(openShares(u"甲股份"_s), 400);
    EXPECT_TRUE(invariantHolds(db));
}

// A trade dated before a record date, recorded or deleted later, changes what the
// event brought.
TEST_F(StockEventLedgerTest, EarlierTradesChangeTheEntitlement)
{
    recorded(dated(Direction::Buy, "2024-01-02", 1000, 10.00));
    saved(event("2024-06-20", "2024-06-21", {}, {}, u"10"_s));
    const qint64 early = recorded(dated(Direction::Buy, "2024-02-01", 500, 10.00));
    EXPECT_EQ(openShares(u"甲股份"_s), 3000);
    recorded(dated(Direction::Buy, "2024-07-01", 100, 10.00));
    EXPECT_EQ(openShares(u"甲股份"_s), 3100);
    EXPECT_TRUE(invariantHolds(db));

    ASSERT_EQ(ledger.deleteTrade(early).status, DeleteOutcome::Status::Deleted);
    EXPECT_EQ(openShares(u"甲股份"_s), 2100);
    EXPECT_TRUE(invariantHolds(db));
}

// A rename takes the stock's events along.
TEST_F(StockEventLedgerTest, ARenameMovesTheEvents)
{
    StockTable stocks(db);
    stocks.addStock(u"000001"_s, u"甲股份"_s, u"JGF"_s);
    recorded(dated(Direction::Buy, "2024-01-02", 1000, 10.00));
    saved(event("2024-06-20", "2024-06-21", {}, {}, u"10"_s));
    recorded(dated(Direction::Sell, "2024-07-10", 1500, 12.00));

    stocks.renameStock(u"000001"_s, u"乙股份"_s, u"YGF"_s);
    EXPECT_EQ(openShares(u"乙股份"_s), 500);
    EXPECT_EQ(stockEvents(db, u"乙股份"_s).size(), 1);
    EXPECT_TRUE(invariantHolds(db));
}

TEST_F(StockEventLedgerTest, ClearingTheLedgerClearsTheEvents)
{
    recorded(dated(Direction::Buy, "2024-01-02", 1000, 10.00));
    saved(example());
    writer.clearLedger();
    EXPECT_TRUE(dumpEvents(db).isEmpty());
}

// A rights issue, 10配3股 at 8.00 with 10派2元 (record 2024-05-10, ex 2024-05-13),
// then 10派1元 (ex 2024-06-21), on 1000 bought at 10.00 on 2024-01-02; all sold at
// 12.00 on 2024-07-10. Buys are priced at 0.25‰ commission (5-yuan minimum), no
// stamp duty and no other fee: the 300 rights shares cost 2400 + 5 = 2405.00.
struct RightsCase {
    std::string name;
    bool paid = false;
    qint64 held = 0;         // before the sale
    double costPerShare = 0; // before the sale
    qint64 dividendFen = 0;
    qint64 taxFen = 0; // 10% of 200 (+ 10% of 100, + 10% of 30 on the rights shares)
    double realisedProfit = 0;
};

void PrintTo(const RightsCase& c, std::ostream* os)
{
    *os << c.name;
}

class RightsIssueTest : public StockEventLedgerTest,
                        public ::testing::WithParamInterface<RightsCase> {};

TEST_P(RightsIssueTest, PaidOrNotAsWorkedByHand)
{
    const RightsCase& c = GetParam();
    saveSettings(db, {Direction::Buy, u"0"_s, u"0"_s, u"0.25"_s, {}, 0, {}}, defaultFeeRates());
    recorded(dated(Direction::Buy, "2024-01-02", 1000, 10.00));
    EventEntry rights = event("2024-05-10", "2024-05-13", u"2"_s);
    rights.rights = u"3"_s;
    rights.rightsPrice = u"8"_s;
    const qint64 id = saved(rights);

    const std::optional<RightsOffer> offer = rightsOffer(db, id);
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->shares, 300);
    EXPECT_EQ(offer->ex, QDate(2024, 5, 13));
    EXPECT_FALSE(offer->paid);
    if (c.paid) {
        QSignalSpy announced(&notifier, &LedgerNotifier::changed);
        const RecordOutcome outcome = writer.subscribeRights(id);
        ASSERT_TRUE(outcome.recorded()) << outcome.refusal.toStdString();
        EXPECT_EQ(announced.count(), 1);
        const std::optional<TradeSelection> bought = selectTrade(db, outcome.id);
        ASSERT_TRUE(bought);
        EXPECT_EQ(bought->date, QDate(2024, 5, 13));
        EXPECT_EQ(bought->quantity, u"300"_s);
        EXPECT_EQ(bought->price, u"8"_s);
        EXPECT_EQ(bought->total, u"2405"_s);
        EXPECT_EQ(bought->commission, u"5"_s);
        // Paying twice is refused and writes nothing.
        const QStringList rows = dumpLedger(db);
        EXPECT_TRUE(rightsOffer(db, id)->paid);
        EXPECT_EQ(writer.subscribeRights(id).refusal, messages::events::rightsPaid.toString());
        EXPECT_EQ(dumpLedger(db), rows);
    }
    saved(event("2024-06-20", "2024-06-21", u"1"_s));
    EXPECT_EQ(openShares(u"甲股份"_s), c.held);
    EXPECT_NEAR(history().costPerShare(), c.costPerShare, 0.0005);

    recorded(dated(Direction::Sell, "2024-07-10", c.held, 12.00));
    EXPECT_EQ(history().held, 0);
    EXPECT_EQ(history().dividendFen, c.dividendFen);
    EXPECT_EQ(history().taxFen, c.taxFen);
    EXPECT_NEAR(history().realisedProfit, c.realisedProfit, 0.005);
    EXPECT_TRUE(invariantHolds(db));
}

INSTANTIATE_TEST_SUITE_P(
    HandWorked, RightsIssueTest,
    ::testing::Values(RightsCase{"Paid", true, 1300, 12405.0 / 1300, 33000, 3300,
                                 15600 - 12405 - 33},
                      RightsCase{"Declined", false, 1000, 10.0, 30000, 3000, 12000 - 10000 - 30}),
    [](const ::testing::TestParamInfo<RightsCase>& row) { return row.param.name; });

// An event without rights, or one offered to nothing held, has nothing to pay for.
TEST_F(StockEventLedgerTest, NothingToPayForIsRefused)
{
    recorded(dated(Direction::Buy, "2024-01-02", 1000, 10.00));
    const qint64 cashOnly = saved(example());
    EventEntry early = event("2023-05-10", "2023-05-13", {});
    early.rights = u"3"_s;
    early.rightsPrice = u"8"_s;
    const qint64 nothingHeld = saved(early, true);
    const QStringList rows = dumpLedger(db);
    for (const qint64 id : {cashOnly, nothingHeld, qint64(999)}) {
        EXPECT_FALSE(rightsOffer(db, id));
        EXPECT_EQ(writer.subscribeRights(id).refusal, messages::events::noRights.toString());
    }
    EXPECT_EQ(dumpLedger(db), rows);
}

} // namespace
} // namespace corvanta::ledger::testing
