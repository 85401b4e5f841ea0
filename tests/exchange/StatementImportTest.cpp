#include "ledger/StatementImport.h"
#include "../ledger/LedgerTestSupport.h"
#include "StatementFixtures.h"
#include "exchange/StatementParser.h"
#include "ledger/EventLedger.h"
#include "ledger/StatementDuplicates.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {
namespace {

using namespace fixtures;
using ledger::testing::dumpLedger;
using ledger::testing::invariantHolds;

// Every stock-table row, in id order.
QStringList dumpStocks(sql::Database& db)
{
    auto query = db.prepare("SELECT gpid,gpmc,gppy FROM gpmc ORDER BY id");
    QStringList rows;
    while (query.step())
        rows << query.text(0) + u'|' + query.text(1) + u'|' + query.text(2);
    return rows;
}

Sczq sczq(const QString& name, const QString& code, const QString& operation,
          const QString& quantity)
{
    Sczq line;
    line.name = name;
    line.code = code;
    line.operation = operation;
    line.quantity = quantity;
    return line;
}

class StatementImportTest : public ledger::testing::LedgerTest {
protected:
    ParsedStatement parse(const QStringList& lines, QStringView layout = u"sczq")
    {
        return parseStatement(statementFile(lines), *findStatementLayout(layout));
    }

    ledger::StatementImportOutcome import(const QStringList& lines,
                                          ledger::StatementImportOptions options = {},
                                          QStringView layout = u"sczq")
    {
        const ledger::StatementImportOutcome outcome =
            ledger::applyStatement(db, parse(lines, layout).trades, options);
        EXPECT_FALSE(db.inTransaction());
        return outcome;
    }

    void imported(const QStringList& lines, ledger::StatementImportOptions options = {},
                  QStringView layout = u"sczq")
    {
        const auto outcome = import(lines, options, layout);
        EXPECT_TRUE(outcome.committed) << outcome.error.toStdString();
    }

    QStringList rowsOf(const QString& name)
    {
        auto query = db.prepare("SELECT 日期,股票代码,交易状态,数量,价格,费用,总金额,盈亏金额,"
                                "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用 FROM gpjl "
                                "WHERE 股票名=?1 ORDER BY ID");
        query.bind(1, name);
        QStringList rows;
        while (query.step()) {
            QStringList cells;
            for (int column = 0; column < query.columnCount(); ++column)
                cells << query.text(column);
            rows << cells.join(u'|');
        }
        return rows;
    }
};

TEST_F(StatementImportTest, BuyOpensAPositionCarryingTheWholeLine)
{
    ledger::StatementImportOptions options;
    options.otherFee = 5;
    imported({sczqHeader(), sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"1000"_s).line()}, options);
    EXPECT_EQ(rowsOf(u"甲股份"_s),
              (QStringList{u"2007-05-21|000001|买入|1000|10.0|26.0|10026.0|-10026.0|假|否|10.0|"
                           u"5.0|1.0|5.0"_s,
                           u"2007-05-21|000001|卖出|1000|10.0|26.0|10026.0|-10026.0|真|否|10.0|"
                           u"5.0|1.0|5.0"_s}));
}

TEST_F(StatementImportTest, LineWithoutFeesStoresNoOtherFee)
{
    Sczq line = sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"100"_s);
    line.commission = line.stampDuty = line.transferFee = u"0"_s;
    ledger::StatementImportOptions options;
    options.otherFee = 5;
    imported({line.line()}, options);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='甲股份' AND 其它费用=0"), 2);
}

// The open position grows with buys, shrinks with sells, goes at zero or below,
// and a sell without one is written all the same.
TEST_F(StatementImportTest, OpenPositionFollowsTheLines)
{
    imported({sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"1000"_s).line(),
              sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"300"_s).line(),
              sczq(u"甲股份"_s, u"000001"_s, u"卖出"_s, u"-400"_s).line(),
              sczq(u"乙股份"_s, u"000002"_s, u"买入"_s, u"100"_s).line(),
              sczq(u"乙股份"_s, u"000002"_s, u"卖出"_s, u"100"_s).line(),
              sczq(u"丙股份"_s, u"000003"_s, u"买入"_s, u"100"_s).line(),
              sczq(u"丙股份"_s, u"000003"_s, u"卖出"_s, u"500"_s).line(),
              sczq(u"丁股份"_s, u"000004"_s, u"卖出"_s, u"200"_s).line()});
    EXPECT_EQ(openShares(u"甲股份"_s), 900);
    EXPECT_EQ(openRows(u"甲股份"_s), 1);
    EXPECT_EQ(openRows(u"乙股份"_s), 0);
    EXPECT_EQ(openRows(u"丙股份"_s), 0);
    EXPECT_EQ(openRows(u"丁股份"_s), 0);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 虚拟卖出='假'"), 8 + 1);
}

// Imported trades before a stock's record date add to what its 送转 brought.
TEST_F(StatementImportTest, OpenPositionCountsTheNewSharesOfEvents)
{
    ledger::TradeEntry bought = ledger::testing::buy(u"甲股份"_s, u"000001"_s, u"1000"_s);
    bought.date = QDate(2024, 3, 1);
    recorded(bought);
    ledger::EventEntry event;
    event.code = u"000001"_s;
    event.name = u"甲股份"_s;
    event.record = QDate(2024, 6, 20);
    event.ex = QDate(2024, 6, 21);
    event.transfer = u"10"_s;
    ASSERT_TRUE(ledger::EventLedger(db).add(event, false).saved());
    EXPECT_EQ(openShares(u"甲股份"_s), 2000);

    Sczq early = sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"500"_s);
    early.date = u"2024-05-06"_s;
    Sczq late = sczq(u"甲股份"_s, u"000001"_s, u"卖出"_s, u"-800"_s);
    late.date = u"2024-07-10"_s;
    imported({early.line(), late.line()});
    EXPECT_EQ(openShares(u"甲股份"_s), 2200);
    EXPECT_TRUE(invariantHolds(db));
}

TEST_F(StatementImportTest, TransferSellsWithoutAddingAStock)
{
    Cdzq buy;
    buy.code = u"600001"_s;
    buy.name = u"邯郸钢铁"_s;
    Cdzq transfer = buy;
    transfer.operation = u"转托管"_s;
    transfer.quantity = u"-200"_s;
    Cdzq other = transfer;
    other.code = u"600002"_s;
    other.name = u"齐鲁石化"_s;
    const QStringList stocksBefore = dumpStocks(db);
    imported({cdzqHeader(), buy.line(), transfer.line(), other.line()}, {}, u"cdzq");
    EXPECT_EQ(openShares(u"邯郸钢铁"_s), 300);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 交易状态='转托管' AND 虚拟卖出='假'"), 2);
    EXPECT_EQ(dumpStocks(db), stocksBefore + QStringList{u"600001|邯郸钢铁|HDGT"_s});
}

TEST_F(StatementImportTest, StockTableGainsOnlyUnknownCodeAndNamePairs)
{
    Sczq known = sczq(u"浦发银行"_s, u"600000"_s, u"买入"_s, u"100"_s);
    Sczq renamed = sczq(u"浦发银行股份"_s, u"600000"_s, u"买入"_s, u"100"_s);
    Sczq fund = sczq(u"上证五十交易型开放式指数"_s, u"510050"_s, u"买入"_s, u"100"_s);
    Sczq none = sczq(u"零股份"_s, u"000005"_s, u"买入"_s, u"0"_s);
    const QStringList before = dumpStocks(db);
    const auto outcome =
        import({known.line(), renamed.line(), renamed.line(), fund.line(), none.line()});
    ASSERT_TRUE(outcome.committed);
    EXPECT_EQ(outcome.stocksAdded, 2);
    EXPECT_EQ(outcome.tradesWritten, 4);
    const QStringList added = {u"600000|浦发银行股份|PFYXGF"_s,
                               u"510050|上证五十交易型开放式指数|SZWSJYXK"_s};
    EXPECT_EQ(dumpStocks(db), before + added);
}

TEST_F(StatementImportTest, ImportedRowsJoinTheMonitorListOfTheirStock)
{
    // The seeded 唐钢股份 rows are on the monitor list.
    imported({sczq(u"唐钢股份"_s, u"000709"_s, u"买入"_s, u"100"_s).line(),
              sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"100"_s).line()});
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='唐钢股份' AND 监控状态<>'是'"), 0);
    EXPECT_EQ(openShares(u"唐钢股份"_s), 1300);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='甲股份' AND 监控状态='是'"), 0);
}

TEST_F(StatementImportTest, ReplacingEmptiesTheLedgerFirst)
{
    ledger::StatementImportOptions replace;
    replace.replaceLedger = true;
    imported({sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"100"_s).line()}, replace);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl"), 2);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='唐钢股份'"), 0);

    // A statement whose lines are all skipped leaves an empty ledger.
    imported({sczqHeader(), sczq(u"甲股份"_s, u"000001"_s, u"红利"_s, u"100"_s).line()}, replace);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl"), 0);
}

TEST_F(StatementImportTest, RepeatedImportIsCountedAndCanBeSkipped)
{
    const QStringList lines = {sczqHeader(),
                               sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"1000"_s).line(),
                               sczq(u"甲股份"_s, u"000001"_s, u"卖出"_s, u"400"_s).line(),
                               sczq(u"乙股份"_s, u"000002"_s, u"买入"_s, u"100"_s).line()};
    imported(lines);
    const QStringList ledgerBefore = dumpLedger(db);
    const QStringList stocksBefore = dumpStocks(db);

    const ParsedStatement again = parse(lines);
    EXPECT_EQ(ledger::duplicateLines(db, again.trades), (QList<int>{2, 3, 4}));

    ledger::StatementImportOptions skip;
    skip.skipDuplicates = true;
    const auto outcome = import(lines, skip);
    EXPECT_TRUE(outcome.committed);
    EXPECT_EQ(outcome.tradesWritten, 0);
    EXPECT_EQ(outcome.duplicatesSkipped, (QList<int>{2, 3, 4}));
    EXPECT_EQ(dumpLedger(db), ledgerBefore);
    EXPECT_EQ(dumpStocks(db), stocksBefore);

    // Without skipping, the lines are written a second time.
    imported(lines);
    EXPECT_EQ(openShares(u"甲股份"_s), 1200);
}

// Each ledger trade stands for one line: two equal fills against one recorded trade
// are one duplicate and one new trade.
TEST_F(StatementImportTest, EqualLinesAreMatchedOneToOne)
{
    const QString fill = sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"100"_s).line();
    imported({fill});
    EXPECT_EQ(ledger::duplicateLines(db, parse({fill, fill}).trades), QList<int>{1});
    Sczq otherPrice = sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"100"_s);
    otherPrice.price = u"10.01"_s;
    Sczq otherDay = sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"100"_s);
    otherDay.date = u"2007-05-22"_s;
    EXPECT_TRUE(
        ledger::duplicateLines(db, parse({otherPrice.line(), otherDay.line()}).trades).isEmpty());
}

TEST_F(StatementImportTest, SlicesWriteTheSameAsOneGo)
{
    QStringList lines;
    for (int i = 0; i < 7; ++i)
        lines
            << sczq(u"甲股份"_s, u"000001"_s, i % 3 == 2 ? u"卖出"_s : u"买入"_s, u"100"_s).line();
    ledger::StatementImport import(db, parse(lines).trades, {});
    EXPECT_EQ(import.total(), 7);
    while (!import.atEnd()) {
        EXPECT_TRUE(import.applyNext(3));
        EXPECT_TRUE(db.inTransaction());
    }
    EXPECT_EQ(import.done(), 7);
    EXPECT_TRUE(import.finish().committed);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(openShares(u"甲股份"_s), 300);

    // A finished import writes nothing more.
    EXPECT_FALSE(import.applyNext(1));
    EXPECT_TRUE(import.finish().committed);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(openShares(u"甲股份"_s), 300);
    EXPECT_TRUE(invariantHolds(db));
}

TEST_F(StatementImportTest, AbandonedImportLeavesNothing)
{
    const QStringList before = dumpLedger(db);
    {
        ledger::StatementImport import(
            db, parse({sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"100"_s).line()}).trades, {});
        EXPECT_TRUE(import.applyNext(1));
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(dumpLedger(db), before);
}

// A trigger makes one step of line 4 fail after lines 1 to 3 and part of line 4
// were written; nothing of the statement may stay.
struct FailureCase {
    const char* label;
    const char* trigger;
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }
};

class StatementFailureTest : public StatementImportTest,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StatementFailureTest, NothingLandsAndTheLineIsNamed)
{
    ledger::StatementImportOptions replace;
    replace.replaceLedger = true;
    const QStringList ledgerBefore = dumpLedger(db);
    const QStringList stocksBefore = dumpStocks(db);
    db.exec(GetParam().trigger);
    const auto outcome =
        import({sczqHeader(), sczq(u"甲股份"_s, u"000001"_s, u"买入"_s, u"1000"_s).line(),
                sczq(u"甲股份"_s, u"000001"_s, u"卖出"_s, u"200"_s).line(),
                sczq(u"乙股份"_s, u"000002"_s, u"买入"_s, u"100"_s).line(),
                sczq(u"戊股份"_s, u"000009"_s, u"买入"_s, u"100"_s).line(),
                sczq(u"乙股份"_s, u"000002"_s, u"卖出"_s, u"100"_s).line()},
               replace);
    EXPECT_FALSE(outcome.committed);
    EXPECT_EQ(outcome.stoppedAtLine, 5);
    EXPECT_EQ(outcome.error, u"数据库出错（refused）"_s);
    EXPECT_EQ(outcome.tradesWritten, 0);
    EXPECT_EQ(dumpLedger(db), ledgerBefore);
    EXPECT_EQ(dumpStocks(db), stocksBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StatementFailureTest,
    ::testing::Values(
        FailureCase{"stock_row", "CREATE TRIGGER fail BEFORE INSERT ON gpmc WHEN NEW.gpmc='戊股份' "
                                 "BEGIN SELECT RAISE(ABORT,'refused'); END"},
        FailureCase{"trade_row", "CREATE TRIGGER fail BEFORE INSERT ON gpjl WHEN "
                                 "NEW.股票名='戊股份' AND NEW.虚拟卖出='假' "
                                 "BEGIN SELECT RAISE(ABORT,'refused'); END"},
        FailureCase{"open_position", "CREATE TRIGGER fail BEFORE INSERT ON gpjl WHEN "
                                     "NEW.股票名='戊股份' AND NEW.虚拟卖出='真' "
                                     "BEGIN SELECT RAISE(ABORT,'refused'); END"}),
    [](const auto& param) { return std::string(param.param.label); });

TEST_F(StatementImportTest, MixedStatementKeepsTheOpenPositionInvariant)
{
    // Sells never exceed the holding here: the import does not refuse them.
    QStringList lines{sczqHeader()};
    const QString names[] = {u"甲股份"_s, u"乙股份"_s, u"丙股份"_s};
    for (int i = 0; i < 30; ++i) {
        const QString& name = names[i % 3];
        const bool sell = i % 4 == 3;
        lines << sczq(name, u"00000"_s + QString::number(i % 3), sell ? u"卖出"_s : u"买入"_s,
                      sell ? u"50"_s : u"100"_s)
                     .line();
    }
    imported(lines);
    EXPECT_TRUE(invariantHolds(db));
}

// A stock's bookkeeping over many lines, from ledgers the program may meet: the
// open position closed and opened again, a damaged ledger with two open-position
// rows, and monitor marks held by some rows only.
struct StockLinesCase {
    const char* label;
    std::vector<const char*> ledgerRows; // gpjl rows of 己股份 before the import
    std::vector<std::pair<const char16_t*, const char16_t*>> lines; // operation, quantity
    QList<qint64> openShares;                                       // by id, after
    qint64 monitoredRows;                                           // of all rows, after
    friend void PrintTo(const StockLinesCase& c, std::ostream* os) { *os << c.label; }
};

class StockLinesTest : public StatementImportTest,
                       public ::testing::WithParamInterface<StockLinesCase> {};

TEST_P(StockLinesTest, BookkeepingFollowsEveryLine)
{
    const StockLinesCase& c = GetParam();
    for (const char* row : c.ledgerRows)
        db.exec((std::string("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,虚拟卖出,"
                             "监控状态) VALUES ('2007-01-04','000011','己股份',") +
                 row + ")")
                    .c_str());
    QStringList lines;
    for (const auto& [operation, quantity] : c.lines)
        lines << sczq(u"己股份"_s, u"000011"_s, QString::fromUtf16(operation),
                      QString::fromUtf16(quantity))
                     .line();
    imported(lines);

    auto open = db.prepare("SELECT 数量 FROM gpjl WHERE 股票名='己股份' AND 虚拟卖出='真' "
                           "ORDER BY ID");
    QList<qint64> shares;
    while (open.step())
        shares << open.int64(0);
    EXPECT_EQ(shares, c.openShares);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='己股份' AND 监控状态='是'"),
              c.monitoredRows);
}

INSTANTIATE_TEST_SUITE_P(
    OneStock, StockLinesTest,
    ::testing::Values(
        StockLinesCase{"closed_and_opened_again",
                       {},
                       {{u"买入", u"100"}, {u"卖出", u"100"}, {u"买入", u"50"}, {u"卖出", u"20"}},
                       {30},
                       0},
        StockLinesCase{
            "second_open_row_takes_over",
            {"'买入',500,10,'假','否'", "'卖出',300,10,'真','否'", "'卖出',200,10,'真','否'"},
            {{u"卖出", u"300"}, {u"卖出", u"50"}, {u"买入", u"100"}},
            {250},
            0},
        StockLinesCase{"marked_rows_mark_the_new_ones",
                       {"'买入',500,10,'假','是'", "'卖出',500,10,'真','否'"},
                       {{u"买入", u"100"}, {u"卖出", u"600"}, {u"买入", u"40"}},
                       {40},
                       5},
        StockLinesCase{"mark_gone_with_the_first_line",
                       {"'卖出',300,10,'真','是'"},
                       {{u"卖出", u"300"}, {u"买入", u"40"}},
                       {40},
                       0}),
    [](const auto& param) { return std::string(param.param.label); });

} // namespace
} // namespace corvanta::exchange
