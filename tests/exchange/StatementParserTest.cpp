#include "exchange/StatementParser.h"
#include "StatementFixtures.h"
#include "TextPrinting.h"
#include "exchange/StatementMessages.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {
namespace {

using namespace fixtures;

const StatementLayout& layout(QStringView key)
{
    const StatementLayout* found = findStatementLayout(key);
    if (!found)
        throw std::logic_error("unknown layout");
    return *found;
}

ParsedStatement parseLine(QStringView key, const QString& line)
{
    return parseStatement(statementFile({line}), layout(key));
}

// What one data line becomes.
struct Expected {
    QString date;
    QString operation;
    bool buy = false;
    qint64 shares = 0;
    double price = 0;
    double fees = 0;
    double total = 0;
    bool addsStock = true;
};

struct LineCase {
    const char* label;
    QString layout;
    QString line;
    std::optional<Expected> trade; // none: the line gives no trade
    QStringView reason = {};
    bool silent = false;
    friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.label; }
};

Sczq sczqWith(void (*change)(Sczq&))
{
    Sczq line;
    change(line);
    return line;
}

Cdzq cdzqWith(void (*change)(Cdzq&))
{
    Cdzq line;
    change(line);
    return line;
}

class StatementLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(StatementLineTest, ReadsAsTheLayoutSays)
{
    const LineCase& c = GetParam();
    const ParsedStatement statement = parseLine(c.layout, c.line);
    ASSERT_EQ(statement.dataLines.size(), 1);
    if (!c.trade) {
        EXPECT_TRUE(statement.trades.isEmpty());
        const QList<LineIssue>& issues = c.silent ? statement.skipped : statement.refused;
        ASSERT_EQ(issues.size(), 1);
        EXPECT_EQ(issues.front().line, 1);
        EXPECT_EQ(issues.front().reason, c.reason.toString());
        EXPECT_EQ((c.silent ? statement.refused : statement.skipped).size(), 0);
        return;
    }
    ASSERT_EQ(statement.trades.size(), 1)
        << (statement.refused.isEmpty() ? std::string()
                                        : statement.refused[0].reason.toStdString());
    const ledger::StatementTrade& trade = statement.trades.front();
    const Expected& e = *c.trade;
    EXPECT_EQ(trade.line, 1);
    EXPECT_EQ(trade.date, e.date);
    EXPECT_EQ(trade.operation, e.operation);
    EXPECT_EQ(trade.buy, e.buy);
    EXPECT_EQ(trade.shares, e.shares);
    EXPECT_DOUBLE_EQ(trade.price, e.price);
    EXPECT_EQ(trade.fees, e.fees); // computed amounts are exact to 15 digits
    EXPECT_EQ(trade.total, e.total);
    EXPECT_EQ(trade.addsStock, e.addsStock);
    EXPECT_EQ(statement.stocks.size(), e.addsStock ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, StatementLineTest,
    ::testing::Values(
        // Fees 10 + 5 + 10 + 1 = 26 taken off a sell's amount, added to a buy's.
        LineCase{"sczq_sell", u"sczq"_s, sczqWith([](Sczq& l) { l.operation = u"卖出"_s; }).line(),
                 Expected{u"2007-05-21"_s, u"卖出"_s, false, 1000, 10, 26, 9974}},
        LineCase{"sczq_buy", u"sczq"_s, Sczq().line(),
                 Expected{u"2007-05-21"_s, u"买入"_s, true, 1000, 10, 26, 10026}},
        LineCase{"sczq_negative_quantity_and_amount", u"sczq"_s, sczqWith([](Sczq& l) {
                                                                     l.operation = u"卖出"_s;
                                                                     l.quantity = u"-500"_s;
                                                                     l.amount = u" -10000 "_s;
                                                                 }).line(),
                 Expected{u"2007-05-21"_s, u"卖出"_s, false, 500, 10, 26, 9974}},
        LineCase{"sczq_slash_date", u"sczq"_s,
                 sczqWith([](Sczq& l) { l.date = u"2008/12/01"_s; }).line(),
                 Expected{u"2008-12-01"_s, u"买入"_s, true, 1000, 10, 26, 10026}},
        // 10 + 5 + 3.35 + 0 must be 18.35, not its binary neighbour.
        LineCase{"sczq_fees_exact", u"sczq"_s, sczqWith([](Sczq& l) {
                                                   l.stampDuty = u"3.35"_s;
                                                   l.transferFee = u"0"_s;
                                                   l.amount = u"0.1"_s;
                                               }).line(),
                 Expected{u"2007-05-21"_s, u"买入"_s, true, 1000, 10, 18.35, 18.45}},
        LineCase{"sczq_other_operation", u"sczq"_s,
                 sczqWith([](Sczq& l) { l.operation = u"红利入账"_s; }).line(), std::nullopt,
                 messages::otherOperation, true},
        LineCase{"quantity_zero", u"sczq"_s, sczqWith([](Sczq& l) { l.quantity = u"0"_s; }).line(),
                 std::nullopt, messages::quantityBelowOne, true},
        // Only a leading minus is a sign.
        LineCase{"trailing_minus", u"sczq"_s,
                 sczqWith([](Sczq& l) { l.quantity = u"10-"_s; }).line(), std::nullopt,
                 messages::quantityNotWhole, false},
        LineCase{"quantity_fraction", u"sczq"_s,
                 sczqWith([](Sczq& l) { l.quantity = u"100.5"_s; }).line(), std::nullopt,
                 messages::quantityNotWhole, false},
        LineCase{"amount_trailing_minus", u"sczq"_s,
                 sczqWith([](Sczq& l) { l.amount = u"10000-"_s; }).line(), std::nullopt,
                 messages::amountNotANumber, false},
        LineCase{"price_not_a_number", u"sczq"_s,
                 sczqWith([](Sczq& l) { l.price = u"十元"_s; }).line(), std::nullopt,
                 messages::priceNotANumber, false},
        LineCase{"fee_not_a_number", u"sczq"_s, sczqWith([](Sczq& l) { l.further = u""_s; }).line(),
                 std::nullopt, messages::feeNotANumber, false},
        LineCase{"month_13", u"sczq"_s, sczqWith([](Sczq& l) { l.date = u"2007-13-01"_s; }).line(),
                 std::nullopt, messages::dateInvalid, false},
        LineCase{"date_too_short", u"sczq"_s,
                 sczqWith([](Sczq& l) { l.date = u"2007-5-21"_s; }).line(), std::nullopt,
                 messages::dateInvalid, false},
        LineCase{"no_name", u"sczq"_s, sczqWith([](Sczq& l) { l.name = u"  "_s; }).line(),
                 std::nullopt, messages::noCodeOrName, false},
        LineCase{"too_few_tabs", u"sczq"_s, u"2007-05-21\t000709\t唐钢股份"_s, std::nullopt,
                 messages::tooFewTabs, true},
        LineCase{"empty_line", u"cdzq"_s, u""_s, std::nullopt, messages::tooFewTabs, true},
        // The transfer fee is not followed by a tab, so it is not there.
        LineCase{"last_field_without_tab", u"sczq"_s, Sczq().line().section(u'\t', 0, 13),
                 std::nullopt, messages::tooFewFields, false},
        LineCase{"cdzq_buy", u"cdzq"_s, Cdzq().line(),
                 Expected{u"2007-05-21"_s, u"买入"_s, true, 500, 20, 41, 10041}},
        LineCase{"cdzq_sell_negative_total", u"cdzq"_s, cdzqWith([](Cdzq& l) {
                                                            l.operation = u"卖出"_s;
                                                            l.quantity = u"-500"_s;
                                                            l.total = u"-9959"_s;
                                                        }).line(),
                 Expected{u"2007-05-21"_s, u"卖出"_s, false, 500, 20, 41, 9959}},
        // A transfer sells in the ledger but adds no stock.
        LineCase{"cdzq_transfer", u"cdzq"_s, cdzqWith([](Cdzq& l) {
                                                 l.operation = u"转托管"_s;
                                                 l.quantity = u"200"_s;
                                                 l.commission = u"0"_s;
                                                 l.stampDuty = u"0"_s;
                                                 l.transferFee = u"0"_s;
                                                 l.total = u"0"_s;
                                             }).line(),
                 Expected{u"2007-05-21"_s, u"转托管"_s, false, 200, 20, 0, 0, false}},
        LineCase{"cdzq_bonus_shares_without_quantity", u"cdzq"_s, cdzqWith([](Cdzq& l) {
                                                                      l.operation = u"红股入账"_s;
                                                                      l.quantity = u"0"_s;
                                                                  }).line(),
                 std::nullopt, messages::quantityBelowOne, true},
        LineCase{"cdzq_date_with_dashes", u"cdzq"_s,
                 cdzqWith([](Cdzq& l) { l.date = u"2007-05-21"_s; }).line(), std::nullopt,
                 messages::dateInvalid, false},
        LineCase{"cdzq_february_30", u"cdzq"_s,
                 cdzqWith([](Cdzq& l) { l.date = u"20070230"_s; }).line(), std::nullopt,
                 messages::dateInvalid, false}),
    [](const auto& param) { return std::string(param.param.label); });

TEST(StatementParser, PinyinCodeIsCutToTheTableWidth)
{
    Sczq line;
    line.code = u"510050"_s;
    line.name = u"上证五十交易型开放式指数"_s;
    const ParsedStatement statement = parseLine(u"sczq", line.line());
    ASSERT_EQ(statement.stocks.size(), 1);
    EXPECT_EQ(statement.stocks.front().name, line.name);
    EXPECT_EQ(statement.stocks.front().pinyin, u"SZWSJYXK"_s);
}

TEST(StatementParser, StocksAreListedOncePerCodeAndName)
{
    Sczq renamed;
    renamed.name = u"河北钢铁"_s;
    const ParsedStatement statement = parseStatement(
        statementFile({Sczq().line(), Sczq().line(), renamed.line()}), layout(u"sczq"));
    ASSERT_EQ(statement.stocks.size(), 2);
    EXPECT_EQ(statement.stocks[0].name, u"唐钢股份"_s);
    EXPECT_EQ(statement.stocks[0].pinyin, u"TGGF"_s);
    EXPECT_EQ(statement.stocks[1].name, u"河北钢铁"_s);
}

struct HeaderCase {
    const char* label;
    QStringList lines;
    int headerLine;
    QList<int> dataLines;
    friend void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.label; }
};

class StatementHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(StatementHeaderTest, DataLinesFollowTheLastHeader)
{
    const ParsedStatement statement =
        parseStatement(statementFile(GetParam().lines), layout(u"sczq"));
    EXPECT_EQ(statement.headerLine, GetParam().headerLine);
    QList<int> numbers;
    for (const StatementLine& line : statement.dataLines)
        numbers.append(line.number);
    EXPECT_EQ(numbers, GetParam().dataLines);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, StatementHeaderTest,
    ::testing::Values(
        HeaderCase{"without_header", {Sczq().line(), Sczq().line()}, 0, {1, 2}},
        HeaderCase{"title_lines_before_header",
                   {u"历史成交查询"_s, u""_s, sczqHeader(), Sczq().line()},
                   3,
                   {4}},
        HeaderCase{
            "two_headers", {sczqHeader(), Sczq().line(), sczqHeader(), Sczq().line()}, 3, {4}},
        // A header that closes the file leaves nothing to import, the header included.
        HeaderCase{"header_last", {Sczq().line(), sczqHeader()}, 2, {}},
        HeaderCase{"header_only", {sczqHeader()}, 1, {}}),
    [](const auto& param) { return std::string(param.param.label); });

class StatementLineEndTest : public ::testing::TestWithParam<const char16_t*> {};

TEST_P(StatementLineEndTest, EveryLineEndGivesTheSameStatement)
{
    Sczq sell;
    sell.operation = u"卖出"_s;
    sell.quantity = u"400"_s;
    const QByteArray bytes =
        statementFile({u"查询"_s, sczqHeader(), Sczq().line(), u""_s, sell.line()}, GetParam());
    const ParsedStatement statement = parseStatement(bytes, layout(u"sczq"));
    EXPECT_EQ(statement.headerLine, 2);
    ASSERT_EQ(statement.dataLines.size(), 3);
    EXPECT_EQ(statement.dataLines[0].text, Sczq().line());
    ASSERT_EQ(statement.trades.size(), 2);
    EXPECT_EQ(statement.trades[0].line, 3);
    EXPECT_EQ(statement.trades[0].name, u"唐钢股份"_s);
    EXPECT_EQ(statement.trades[1].line, 5);
    EXPECT_EQ(statement.trades[1].shares, 400);
    ASSERT_EQ(statement.skipped.size(), 1); // the empty line
    EXPECT_EQ(statement.skipped[0].line, 4);
}

INSTANTIATE_TEST_SUITE_P(LineEnds, StatementLineEndTest, ::testing::Values(u"\r\n", u"\n", u"\r"),
                         [](const auto& param) {
                             return std::string(param.index == 0   ? "crlf"
                                                : param.index == 1 ? "lf"
                                                                   : "cr");
                         });

TEST(StatementParser, ReadsGbkAndMarkedUtf8Files)
{
    const QString text = cdzqHeader() + u"\r\n"_s + Cdzq().line() + u"\r\n"_s;
    QStringEncoder gbk("GBK");
    const QList<QByteArray> files = {gbk.encode(text), QByteArray("\xEF\xBB\xBF") + text.toUtf8()};
    for (const QByteArray& bytes : files) {
        const ParsedStatement statement = parseStatement(bytes, layout(u"cdzq"));
        EXPECT_EQ(statement.headerLine, 1);
        ASSERT_EQ(statement.trades.size(), 1);
        EXPECT_EQ(statement.trades[0].name, u"浦发银行"_s);
    }
}

// A name or code with bytes that are no GBK (a file saved in another encoding, a
// damaged file) is refused rather than stored garbled; the other lines still read.
TEST(StatementParser, UndecodableCodesAndNamesAreRefused)
{
    QStringEncoder gbk("GBK");
    const auto lineWith = [&](const QByteArray& code, const QByteArray& name) {
        QByteArray line("2007-05-21\t09:31:02\t");
        line += code;
        line += '\t';
        line += name;
        line += QByteArray(
            gbk.encode(u"\t买入\t1000\t1234\t10.00\t10000.00\t10\tA1\t5\t10\t1\t\r\n"_s));
        return line;
    };
    const QByteArray name = gbk.encode(u"唐钢股份"_s);
    QByteArray file = gbk.encode(sczqHeader() + u"\r\n"_s);
    file += lineWith("000709", "\x81\x20\xff"); // a lead byte without its trail, then 0xFF
    file += lineWith("0007\x81\x7f", name);
    file += lineWith("000709", name);
    const ParsedStatement statement = parseStatement(file, layout(u"sczq"));
    ASSERT_EQ(statement.refused.size(), 2);
    EXPECT_EQ(statement.refused[0].line, 2);
    EXPECT_EQ(statement.refused[0].reason, messages::unreadableCodeOrName.toString());
    EXPECT_EQ(statement.refused[1].line, 3);
    ASSERT_EQ(statement.trades.size(), 1);
    EXPECT_EQ(statement.trades[0].line, 4);
    EXPECT_EQ(statement.trades[0].name, u"唐钢股份"_s);
}

// A statement saved again as UTF-8 without the mark reads as the trading
// client's GBK file does: the same names, operations and trades.
struct EncodingCase {
    const char* label;
    QString layout;
    QStringList lines;
    friend void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.label; }
};

class StatementEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(StatementEncodingTest, Utf8WithoutTheMarkReadsAsTheGbkFile)
{
    const ParsedStatement gbk =
        parseStatement(statementFile(GetParam().lines), layout(GetParam().layout));
    const ParsedStatement utf8 =
        parseStatement(utf8StatementFile(GetParam().lines), layout(GetParam().layout));
    ASSERT_EQ(gbk.trades.size(), GetParam().lines.size() - 1);
    ASSERT_EQ(utf8.trades.size(), gbk.trades.size());
    EXPECT_TRUE(utf8.refused.isEmpty());
    EXPECT_EQ(utf8.headerLine, 1);
    for (qsizetype i = 0; i < gbk.trades.size(); ++i) {
        EXPECT_EQ(utf8.trades[i].name, gbk.trades[i].name);
        EXPECT_EQ(utf8.trades[i].operation, gbk.trades[i].operation);
        EXPECT_EQ(utf8.trades[i].buy, gbk.trades[i].buy);
        EXPECT_EQ(utf8.trades[i].shares, gbk.trades[i].shares);
        EXPECT_EQ(utf8.trades[i].total, gbk.trades[i].total);
    }
    ASSERT_EQ(utf8.stocks.size(), gbk.stocks.size());
    for (qsizetype i = 0; i < gbk.stocks.size(); ++i) {
        EXPECT_EQ(utf8.stocks[i].name, gbk.stocks[i].name);
        EXPECT_EQ(utf8.stocks[i].pinyin, gbk.stocks[i].pinyin);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, StatementEncodingTest,
    ::testing::Values(EncodingCase{"sczq",
                                   u"sczq"_s,
                                   {sczqHeader(), Sczq().line(),
                                    sczqWith([](Sczq& l) { l.operation = u"卖出"_s; }).line(),
                                    sczqWith([](Sczq& l) {
                                        l.code = u"600000"_s;
                                        l.name = u"浦发银行"_s;
                                    }).line()}},
                      EncodingCase{"cdzq",
                                   u"cdzq"_s,
                                   {cdzqHeader(), Cdzq().line(),
                                    cdzqWith([](Cdzq& l) { l.operation = u"卖出"_s; }).line(),
                                    cdzqWith([](Cdzq& l) { l.operation = u"转托管"_s; }).line(),
                                    cdzqWith([](Cdzq& l) {
                                        l.code = u"000709"_s;
                                        l.name = u"唐钢股份"_s;
                                    }).line()}}),
    [](const auto& param) { return std::string(param.param.label); });

// An operation whose bytes are no text of the file is neither a buy nor a sell:
// the line is refused, never booked as a sale.
TEST(StatementParser, UndecodableOperationsAreRefused)
{
    QStringEncoder gbk("GBK");
    const auto withOperation = [&](const QString& line, const QString& operation) -> QByteArray {
        const qsizetype at = line.indexOf(operation);
        return QByteArray(gbk.encode(line.left(at))) + "\xff\x81\x20" +
               QByteArray(gbk.encode(line.mid(at + operation.size()))) + "\r\n";
    };
    const QStringList keys{u"sczq"_s, u"cdzq"_s};
    for (const QString& key : keys) {
        const bool sczq = key == u"sczq"_s;
        QByteArray file = gbk.encode((sczq ? sczqHeader() : cdzqHeader()) + u"\r\n"_s);
        file += withOperation(sczq ? Sczq().line() : Cdzq().line(), u"买入"_s);
        const ParsedStatement statement = parseStatement(file, layout(key));
        EXPECT_TRUE(statement.trades.isEmpty()) << key.toStdString();
        ASSERT_EQ(statement.refused.size(), 1) << key.toStdString();
        EXPECT_EQ(statement.refused[0].line, 2);
        EXPECT_EQ(statement.refused[0].reason, messages::unreadableOperation.toString());
    }
}

TEST(StatementParser, SplitLinesKeepsEmptyLinesButNoFinalOne)
{
    EXPECT_EQ(splitLines(u"a\r\n\r\nb\n"), (QList<QStringView>{u"a", u"", u"b"}));
    EXPECT_EQ(splitLines(u"a\r\rb"), (QList<QStringView>{u"a", u"", u"b"}));
    EXPECT_TRUE(splitLines(u"").isEmpty());
}

TEST(StatementParser, RefusedLinesCarryTheirNumbers)
{
    Sczq bad;
    bad.price = u"x"_s;
    Sczq zero;
    zero.quantity = u"0"_s;
    const ParsedStatement statement =
        parseStatement(statementFile({sczqHeader(), Sczq().line(), bad.line(), zero.line(),
                                      bad.line(), u"合计\t\t\t"_s}),
                       layout(u"sczq"));
    EXPECT_EQ(statement.trades.size(), 1);
    ASSERT_EQ(statement.refused.size(), 3);
    EXPECT_EQ(statement.refused[0].line, 3);
    EXPECT_EQ(statement.refused[1].line, 5);
    EXPECT_EQ(statement.refused[2].line, 6); // a total line with too few fields
    ASSERT_EQ(statement.skipped.size(), 1);
    EXPECT_EQ(statement.skipped[0].line, 4);
}

TEST(StatementLayouts, KnowsBothBrokersInWindowOrder)
{
    ASSERT_EQ(statementLayouts().size(), 2);
    EXPECT_EQ(statementLayouts()[0].broker, u"首创证券"_s);
    EXPECT_EQ(statementLayouts()[1].broker, u"财达证券"_s);
    EXPECT_EQ(statementLayouts()[0].lastField(), 14);
    EXPECT_EQ(statementLayouts()[1].lastField(), 12);
    EXPECT_EQ(findStatementLayout(u"nope"), nullptr);
}

} // namespace
} // namespace corvanta::exchange
