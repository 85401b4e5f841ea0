#include "ReportTestSupport.h"

#include "ledger/sql/FaultInjection.h"
#include "report/PositionSummary.h"
#include "report/SummaryQuotedValues.h"

#include "../calc/CaseTables.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace corvanta::report::testing {

namespace {

struct Flow {
    double invested;
    double cash;
    double proceeds;
    int held;
    const char16_t* stocks;
    const char16_t* buyTotal;
    const char16_t* buyFees;
    const char16_t* sellTotal;
    const char16_t* sellFees;
};

struct SummaryCase {
    std::string name;
    std::vector<Trade> trades;
    bool quoted;
    std::vector<const char16_t*> rows; // cells joined by "|", then the colour
    const char16_t* totals;
    Flow flow;
};

// Sell-side inputs of the quoted cases: stamp duty 1 ‰, commission 3 ‰, other fee 5.
FeeSnapshot sellingFees()
{
    FeeSnapshot fees;
    fees.quantity = u"1"_s;
    fees.price = u"1"_s;
    fees.stampRate = u"1"_s;
    fees.commissionRate = u"3"_s;
    fees.otherFee = u"5"_s;
    fees.direction = Direction::Sell;
    return fees;
}

QStringList fetchedLines()
{
    const QString tail = u",5,0.1,1.0,9.9,100,1000,1,1,9.9,9.9,10.1,9.8"_s;
    return {
        u"600000,2026-12-10,10:15:00,10.00"_s + tail, u"000001,2026-12-10,10:15:00,10.00"_s + tail,
        u"300001,2026-12-10,10:15:01,10.00"_s + tail, u"580001,2026-12-10,10:15:02,1.00"_s + tail,
        u"600123,2026-12-10,10:15:03,8.00"_s + tail};
}

const std::vector<SummaryCase> summaryCases = {
    // Each buy is paid from earlier sells first: invested 10000, 12000 after the last.
    {"CapitalFlowExample",
     {buy("2008-01-02", "600000", u"甲沪", 1000, 9.95, 50, 10000),
      sell("2008-01-03", "600000", u"甲沪", 1000, 12.05, 50, 12000),
      buy("2008-01-04", "600000", u"甲沪", 500, 9.9, 50, 5000),
      buy("2008-01-05", "600000", u"甲沪", 900, 9.95, 45, 9000),
      open("2008-01-02", "600000", u"甲沪", 1400)},
     false,
     {u"甲沪|2400|9.94|1000|12.05|1400|0|0|-12000.00|-50.00%|12000.00|24000|195.00|50.00|145|"
      u"16.72%|blue"},
     u"合　　计||||||0.00||-12000.00|-100.00%|12000.00|24000.00|195.00|50.00|145.00|16.72%|blue",
     {12000, 0, 12000, 1, u"1", u"24000", u"145", u"12000", u"50"}},
    {"SoldOut",
     {buy("2008-01-02", "000001", u"乙深", 1000, 10, 15, 10015),
      sell("2008-01-03", "000001", u"乙深", 1000, 11, 26, 10974)},
     false,
     {u"乙深|1000|10.00|1000|11.00|0|0|0|959.00|9.58%|10974.00|10015|41.00|26.00|15|无法计算|red"},
     u"合　　计||||||0.00||959.00|9.58%|10974.00|10015.00|41.00|26.00|15.00|无法计算|red",
     {10015, 10974, 10974, 0, u"1", u"10015", u"15", u"10974", u"26"}},
    // Without an open position a bought stock is not summarised, nor is a stock
    // sold without buys; both still count in the capital flow.
    {"BuysOnlyAndSellsOnly",
     {buy("2008-01-02", "600000", u"甲沪", 100, 10, 5, 1005),
      sell("2008-01-03", "000001", u"乙深", 100, 10, 5, 995)},
     false,
     {},
     u"合　　计||||||0.00||0.00|0.00%|0.00|0.00|0.00|0.00|0.00|4745.26%|red",
     {1005, 995, 995, 0, u"1", u"1005", u"5", u"995", u"5"}},
    {"SeveralBuysAndSells",
     {buy("2008-01-02", "600000", u"甲沪", 1000, 10, 16, 10016),
      sell("2008-01-03", "600000", u"甲沪", 400, 12, 10, 4790),
      buy("2008-01-04", "600000", u"甲沪", 200, 11, 6, 2206),
      sell("2008-01-05", "600000", u"甲沪", 300, 13, 9.5, 3890.5),
      open("2008-01-02", "600000", u"甲沪", 500)},
     false,
     {u"甲沪|1200|10.17|700|12.43|500|0|0|-3541.50|-28.98%|8680.50|12222|41.50|19.50|22|44.35%|"
      u"blue"},
     u"合　　计||||||0.00||-3541.50|-35.36%|8680.50|12222.00|41.50|19.50|22.00|44.35%|blue",
     {10016, 6474.5, 8680.5, 1, u"1", u"12222", u"22", u"8680.5", u"19.5"}},
    // A profit of half a yuan shows .50 in a stock row and 0.50 in the totals row.
    {"NameWithQuotes",
     {buy("2008-01-02", "000002", u"他\"的'股", 100, 10, 5, 1005),
      sell("2008-01-03", "000002", u"他\"的'股", 100, 10.05, 5, 1005.5)},
     false,
     {u"他\"的'股|100|10.00|100|10.11|0|0|0|.50|0.05%|1005.50|1005|10.00|5.00|5|19.91%|red"},
     u"合　　计||||||0.00||0.50|0.05%|1005.50|1005.00|10.00|5.00|5.00|19.91%|red",
     {1005, 1005.5, 1005.5, 0, u"1", u"1005", u"5", u"1005.5", u"5"}},
    // Held stocks sold virtually at the fetched price, net of selling fees: stamp
    // duty on Shanghai, Shenzhen and ChiNext codes, transfer fee on Shanghai only,
    // neither on a warrant. 戊缺 has no quote: price 0, its minimum fees a loss.
    // 旧名称 is not in the stock table: priced under its own code 600123.
    {"QuotedMarkets",
     {buy("2008-01-02", "600000", u"甲沪", 1000, 9, 35, 9035),
      buy("2008-01-03", "000001", u"乙深", 1000, 9, 35, 9035),
      buy("2008-01-04", "300001", u"丙创", 1000, 9, 35, 9035),
      buy("2008-01-05", "580001", u"丁权", 1000, 0.9, 10, 910),
      buy("2008-01-06", "600999", u"戊缺", 1000, 5, 11, 5011),
      buy("2008-01-07", "600123", u"旧名称", 500, 7, 10, 3510),
      open("2008-01-02", "600000", u"甲沪", 1000), open("2008-01-03", "000001", u"乙深", 1000),
      open("2008-01-04", "300001", u"丙创", 1000), open("2008-01-05", "580001", u"丁权", 1000),
      open("2008-01-06", "600999", u"戊缺", 1000), open("2008-01-07", "600123", u"旧名称", 500)},
     true,
     {u"丁权|1000|.90|0|.00|1000|990.00|1|80.00|8.79%|990.00|910|20.00|10.00|10|8.84%|red",
      u"丙创|1000|9.00|0|.00|1000|9955.00|10|920.00|10.18%|9955.00|9035|80.00|45.00|35|10.21%|"
      u"red",
      u"乙深|1000|9.00|0|.00|1000|9955.00|10|920.00|10.18%|9955.00|9035|80.00|45.00|35|10.18%|"
      u"red",
      u"戊缺|1000|5.00|0|.00|1000|0|0|-5022.00|-100.22%|-11.00|5011|22.00|11.00|11|0.00%(按成本)|"
      u"blue",
      u"旧名称|500|7.00|0|.00|500|3978.00|8|468.00|13.33%|3978.00|3510|32.00|22.00|10|13.49%|red",
      u"甲沪|1000|9.00|0|.00|1000|9954.00|10|919.00|10.17%|9954.00|9035|81.00|46.00|35|10.14%|"
      u"red"},
     u"合　　计||||||34832.00||-1715.00|-4.69%|34821.00|36536.00|315.00|179.00|136.00|"
     u"9.07%(部分按成本)|blue",
     {36536, 0, 0, 6, u"6", u"36536", u"136", u"", u""}},
};

void PrintTo(const SummaryCase& c, std::ostream* os)
{
    *os << c.name;
}

class SummaryOfLedger : public ReportTest, public ::testing::WithParamInterface<SummaryCase> {};

TEST_P(SummaryOfLedger, ShowsHandComputedRowsAndTotals)
{
    const SummaryCase& c = GetParam();
    add(c.trades);
    SummaryRequest request;
    request.today = QDate(2009, 1, 2); // the day the shares still held are valued
    if (c.quoted)
        request.quotes = QuotedPricing{pricesFromLines(fetchedLines()), sellingFees()};

    const Summary summary = buildSummary(db, request);

    ASSERT_FALSE(summary.ledgerEmpty);
    QStringList rows, expected;
    for (const SummaryRow& row : summary.stocks)
        rows << rowText(row);
    for (const char16_t* row : c.rows)
        expected << QString::fromUtf16(row);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(rowText(summary.totalsRow), QString::fromUtf16(c.totals));

    const LedgerTotals& t = summary.totals;
    EXPECT_EQ(t.capitalInvested, c.flow.invested);
    EXPECT_EQ(t.cashBalance, c.flow.cash);
    EXPECT_EQ(t.sellProceeds, c.flow.proceeds);
    EXPECT_EQ(t.heldCount, c.flow.held);
    EXPECT_EQ(t.stocksTraded, QString::fromUtf16(c.flow.stocks));
    EXPECT_EQ(t.buyTotalText, QString::fromUtf16(c.flow.buyTotal));
    EXPECT_EQ(t.buyFeesText, QString::fromUtf16(c.flow.buyFees));
    EXPECT_EQ(t.sellTotalText, QString::fromUtf16(c.flow.sellTotal));
    EXPECT_EQ(t.sellFeesText, QString::fromUtf16(c.flow.sellFees));
    EXPECT_EQ(summary.caption,
              c.quoted ? u"交易汇总 未卖出股票的数据按当前价格进行卖出计算"_s : u"交易汇总"_s);
}

INSTANTIATE_TEST_SUITE_P(Ledgers, SummaryOfLedger, ::testing::ValuesIn(summaryCases),
                         test::CaseName());

using Summarising = ReportTest;

// The charts take each held stock with a price at its market value as the grid
// shows it; 戊缺 has no quote and stays out, and a plain summary gives nothing.
TEST_F(Summarising, ChartsTakeTheQuotedMarketValues)
{
    const auto quotedCase = std::find_if(summaryCases.begin(), summaryCases.end(),
                                         [](const SummaryCase& c) { return c.quoted; });
    ASSERT_NE(quotedCase, summaryCases.end());
    add(quotedCase->trades);
    SummaryRequest request;
    request.quotes = QuotedPricing{pricesFromLines(fetchedLines()), sellingFees()};

    QStringList values;
    const QuotedValues quoted = quotedValues(buildSummary(db, request));
    for (auto it = quoted.cbegin(); it != quoted.cend(); ++it)
        values << u"%1|%2|%3"_s.arg(it.key()).arg(it->shares).arg(it->value);
    values.sort();
    EXPECT_EQ(values,
              (QStringList{u"丁权|1000|99000"_s, u"丙创|1000|995500"_s, u"乙深|1000|995500"_s,
                           u"旧名称|500|397800"_s, u"甲沪|1000|995400"_s}));
    EXPECT_TRUE(quotedValues(buildSummary(db)).isEmpty());
}

TEST_F(Summarising, EmptyLedgerGivesNothingAndLeavesScratchTablesAlone)
{
    db.exec("CREATE TABLE tmpdb3 (x); INSERT INTO tmpdb3 VALUES (7)");
    const Summary summary = buildSummary(db);
    EXPECT_TRUE(summary.ledgerEmpty);
    EXPECT_EQ(summary.totals.capitalInvested, 0);
    EXPECT_TRUE(summary.totals.stocksTraded.isEmpty());
    EXPECT_EQ(dump("SELECT * FROM tmpdb3"), QStringList{u"7"_s});
}

TEST_F(Summarising, QuotedHintWordsTheAccount)
{
    add({buy("2008-01-02", "600000", u"甲沪", 1000, 9, 35, 9035),
         sell("2008-01-03", "600000", u"甲沪", 500, 10, 20, 4980.5),
         open("2008-01-02", "600000", u"甲沪", 500)});
    SummaryRequest request;
    request.quotes = QuotedPricing{pricesFromLines(fetchedLines()), sellingFees()};
    EXPECT_EQ(
        buildSummary(db, request).hint,
        u"买卖1只股票  总计投入:9035.00元\n现持有:1支股票\n经计算股东账户上余额有:4980.50元"_s);
    EXPECT_TRUE(buildSummary(db).hint.isEmpty());
}

// Columns 1 to 14 take 6 pixels per GBK byte of their widest text, plus 6.
TEST_F(Summarising, ColumnsFitTheirWidestText)
{
    add(summaryCases[0].trades);
    const auto widths = buildSummary(db).columnWidths;
    EXPECT_EQ(widths[NameColumn], 60);
    EXPECT_EQ(widths[BoughtColumn], 6 * 4 + 6);      // 买入, 2400
    EXPECT_EQ(widths[ProfitColumn], 6 * 9 + 6);      // -12000.00
    EXPECT_EQ(widths[ProfitRatioColumn], 6 * 8 + 6); // 盈亏比例, -100.00%
    EXPECT_EQ(widths[MarketValueColumn], 6 * 8 + 6); // 未卖市值
}

// tmpdb3 keeps the column names of the aggregation and afterwards holds each
// stock's finished figures.
TEST_F(Summarising, Tmpdb3HoldsTheFinishedFigures)
{
    add(summaryCases[3].trades);
    buildSummary(db);

    EXPECT_EQ(columnsOf("tmpdb3"),
              u"股票名称,买入,买入均价,已卖,卖出均价,未卖,时价,卖出收入,买入支付,"
              u"盈亏金额,费用合计,卖出费用,买入费用"_s);
    EXPECT_EQ(columnsOf("tmpdb1"), u"股票名,数量,买入价,费用,总金额,盈亏金额"_s);
    EXPECT_EQ(columnsOf("tmpdb2"), u"股票名,数量,卖价,费用,总金额,盈亏金额"_s);
    EXPECT_EQ(
        dump("SELECT 股票名称,买入,round(买入均价,4),已卖,round(卖出均价,4),未卖,时价,卖出收入,"
             "买入支付,盈亏金额,费用合计,卖出费用,买入费用,typeof(已卖),typeof(卖出收入) "
             "FROM tmpdb3"),
        QStringList{u"甲沪|1200|10.1667|700|12.4286|500|0.0|8680.5|12222.0|-3541.5|41.5|19.5|"
                    u"22.0|integer|real"_s});
}

TEST_F(Summarising, MonitoredScopeAggregatesOnlyMonitoredStocks)
{
    add(summaryCases[2].trades);
    add({buy("2008-01-02", "000001", u"乙深", 100, 10, 5, 1005)});
    db.exec("UPDATE gpjl SET 监控状态='是' WHERE 股票名='乙深'");
    sql::Transaction transaction(db);
    buildScratchTables(db, SummaryScope::MonitoredStocks);
    transaction.commit();
    EXPECT_EQ(dump("SELECT 股票名,数量,总金额 FROM tmpdb1"), QStringList{u"乙深|100|1005.0"_s});
    EXPECT_EQ(dump("SELECT 股票名,数量,总金额 FROM tmpdb2"), QStringList{u"乙深|100|995.0"_s});
}

// The return column's title says how the shares still held are valued: at
// market after a quoted summary, at cost in a plain one, and not at all when
// nothing is held.
TEST_F(Summarising, ReturnTitleSaysHowTheHoldingsAreValued)
{
    const struct {
        std::size_t ledger;
        bool quoted;
        const char16_t* title;
    } titles[] = {
        {0, false, u"年化收益率(持仓按成本)"},
        {1, false, u"年化收益率"},
        {5, false, u"年化收益率(持仓按成本)"},
        {5, true, u"年化收益率(持仓按市值)"},
    };
    for (const auto& row : titles) {
        SCOPED_TRACE(summaryCases[row.ledger].name + (row.quoted ? " quoted" : " plain"));
        db.exec("DELETE FROM gpjl");
        add(summaryCases[row.ledger].trades);
        SummaryRequest request;
        if (row.quoted)
            request.quotes = QuotedPricing{pricesFromLines(fetchedLines()), sellingFees()};
        const Summary summary = buildSummary(db, request);
        EXPECT_EQ(summary.titles[ReturnColumn], QString::fromUtf16(row.title));
        EXPECT_EQ(summary.titles[ProfitRatioColumn], u"盈亏比例"_s);
    }
}

// A plain summary given the market values of a quoted one (the trades have not
// changed since) weighs the holdings as that one did; without them, at cost.
TEST_F(Summarising, PlainSummaryKeepsTheLastQuotedValues)
{
    add(summaryCases[5].trades);
    SummaryRequest quotedRequest;
    quotedRequest.today = QDate(2009, 1, 2);
    quotedRequest.quotes = QuotedPricing{pricesFromLines(fetchedLines()), sellingFees()};
    const Summary quoted = buildSummary(db, quotedRequest);

    SummaryRequest plainRequest;
    plainRequest.today = quotedRequest.today;
    const Summary atCost = buildSummary(db, plainRequest);
    plainRequest.heldAtMarket = quotedValues(quoted);
    const Summary atMarket = buildSummary(db, plainRequest);

    ASSERT_EQ(atMarket.stocks.size(), quoted.stocks.size());
    for (qsizetype i = 0; i < quoted.stocks.size(); ++i)
        EXPECT_EQ(atMarket.stocks[i].cells[ReturnColumn], quoted.stocks[i].cells[ReturnColumn]);
    EXPECT_EQ(atMarket.totalsRow.cells[ReturnColumn], u"9.07%(部分按成本)"_s);
    EXPECT_EQ(atMarket.titles[ReturnColumn], u"年化收益率(持仓按市值)"_s);
    EXPECT_EQ(atCost.totalsRow.cells[ReturnColumn], u"0.00%"_s);
    EXPECT_EQ(atCost.titles[ReturnColumn], u"年化收益率(持仓按成本)"_s);
}

// A value the ledger holds no number for loses only its own cells: the other
// stock is summarised in full and alone makes the totals.
TEST_F(Summarising, BadValueLosesOnlyItsOwnCells)
{
    add(summaryCases[1].trades);
    add({buy("2008-01-02", "600000", u"甲沪", 100, 10, 5, 0),
         open("2008-01-02", "600000", u"甲沪", 100)});
    db.exec("UPDATE gpjl SET 总金额=NULL WHERE 股票名='甲沪'");

    const Summary summary = buildSummary(db);

    ASSERT_EQ(summary.stocks.size(), 2);
    EXPECT_EQ(rowText(summary.stocks[0]), u"乙深|1000|10.00|1000|11.00|0|0|0|959.00|9.58%|10974.00|"
                                          u"10015|41.00|26.00|15|无法计算|red"_s);
    // Its trades weigh nothing, so it has no return either.
    EXPECT_EQ(rowText(summary.stocks[1]), u"甲沪|100||0|.00|100|0|||||||||无法计算|plain"_s);
    EXPECT_EQ(rowText(summary.totalsRow), u"合　　计||||||0.00||959.00|9.58%|10974.00|10015.00|"
                                          u"41.00|26.00|15.00|无法计算|red"_s);
}

// Selling fees that cannot be worked out (an other fee that is no number) lose
// the virtual sale's cells; the stock's bought figures stay.
TEST_F(Summarising, UnpricedVirtualSaleLosesItsCells)
{
    add(summaryCases[5].trades);
    FeeSnapshot fees = sellingFees();
    fees.otherFee = u"5.5"_s;
    SummaryRequest request;
    request.quotes = QuotedPricing{pricesFromLines(fetchedLines()), fees};

    const Summary summary = buildSummary(db, request);

    ASSERT_EQ(summary.stocks.size(), 6);
    // Its return values the shares at cost, as the column's title says.
    EXPECT_EQ(rowText(summary.stocks.last()),
              u"甲沪|1000|9.00|0|.00|1000||10||||||||0.00%|plain"_s);
    EXPECT_EQ(summary.totals.heldCount, 6);
}

// The connection refuses the chosen statement, as a full disk or a lock would.
struct Refusal {
    sql::RefusalGuard::Action action;
    QString table;
};

struct FailureCase {
    std::string name;
    Refusal refusal;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class FailedSummary : public ReportTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailedSummary, LeavesTheScratchTablesAsTheyWere)
{
    add(summaryCases[3].trades);
    buildSummary(db);
    const QStringList before =
        dump("SELECT * FROM tmpdb1") + dump("SELECT * FROM tmpdb2") + dump("SELECT * FROM tmpdb3");
    add({buy("2008-02-01", "000001", u"乙深", 100, 10, 5, 1005),
         open("2008-02-01", "000001", u"乙深", 100)});

    {
        const Refusal refusal = GetParam().refusal;
        sql::RefusalGuard guard(db, refusal.action, refusal.table);
        EXPECT_THROW(buildSummary(db), sql::Error);
    }

    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(dump("SELECT * FROM tmpdb1") + dump("SELECT * FROM tmpdb2") +
                  dump("SELECT * FROM tmpdb3"),
              before);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailedSummary,
    ::testing::Values(
        FailureCase{"CreatingTmpdb3", {sql::RefusalGuard::Action::CreateTable, u"tmpdb3"_s}},
        FailureCase{"StoringFigures", {sql::RefusalGuard::Action::Update, u"tmpdb3"_s}}),
    test::CaseName());

TEST_F(Summarising, FailedFirstSummaryLeavesNoScratchTable)
{
    add(summaryCases[3].trades);
    {
        sql::RefusalGuard guard(db, sql::RefusalGuard::Action::CreateTable, u"tmpdb3"_s);
        EXPECT_THROW(buildSummary(db), sql::Error);
    }
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM sqlite_master WHERE name LIKE 'tmpdb%'"), 0);
}

TEST_F(Summarising, ScratchTablesAreNeverBuiltOutsideATransaction)
{
    add(summaryCases[3].trades);
    EXPECT_THROW(buildScratchTables(db, SummaryScope::WholeLedger), std::logic_error);
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM sqlite_master WHERE name LIKE 'tmpdb%'"), 0);
}

TEST_F(Summarising, QuoteCodesOnceEachByStockName)
{
    add(summaryCases[5].trades);
    EXPECT_EQ(ledgerQuoteCodes(db), (QStringList{u"580001"_s, u"300001"_s, u"000001"_s, u"600999"_s,
                                                 u"600123"_s, u"600000"_s}));
}

} // namespace

} // namespace corvanta::report::testing
