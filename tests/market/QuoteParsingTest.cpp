#include "market/QuoteParsing.h"
#include "TextPrinting.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <ostream>
#include <string>

using namespace Qt::StringLiterals;
using namespace corvanta::market;

namespace {

// A record of the page's layout; fields after `price` follow in order.
QString record(const QString& code, const QString& date, const QString& time, const QString& price,
               const QString& change = u"0.10"_s, const QString& ratio = u"1.00"_s)
{
    return QStringList{code,       date,       time,       price,      u"12"_s,  change,
                       ratio,      u"10.05"_s, u"1200"_s,  u"12060"_s, u"700"_s, u"500"_s,
                       u"10.00"_s, u"10.02"_s, u"10.20"_s, u"9.95"_s}
        .join(u',');
}

const QString day = u"2026-12-10"_s;

TEST(QuoteSnapshotTest, CutsEveryFieldToItsWidth)
{
    const QString wide = u"1234567890123456789"_s;
    const QString line = QStringList{u"6000001"_s,   u"2026-12-10X"_s,
                                     u"10:15:00X"_s, wide,
                                     wide,           wide,
                                     wide,           wide,
                                     wide,           wide,
                                     wide,           wide,
                                     wide,           wide,
                                     wide,           wide,
                                     u"extra"_s}
                             .join(u',');
    const QuoteSnapshot s = QuoteSnapshot::fromLine(line);
    EXPECT_EQ(s.code, u"600000"_s);
    EXPECT_EQ(s.date, u"2026-12-10"_s);
    EXPECT_EQ(s.time, u"10:15:00"_s);
    for (const QString* field : {&s.price, &s.lots, &s.turnover, &s.low})
        EXPECT_EQ(*field, u"123456789012345"_s);
}

TEST(QuoteSnapshotTest, MissingFieldsAreEmptyAndABlankPriceIsMissing)
{
    const QuoteSnapshot s = QuoteSnapshot::fromLine(u"600000,2026-12-10,10:15:00, "_s);
    EXPECT_EQ(s.price, u" "_s);
    EXPECT_EQ(s.priceOrMissing(), u"-"_s);
    EXPECT_TRUE(s.low.isEmpty());
}

// ---- ParseQuoteRecord ----

struct RecordCase {
    std::string name;
    QString code;
    QStringList lines;
    RecordMode mode;
    QString latestBefore;
    QString price;
    QString latestAfter;
    QString label; // empty: the time label does not move
};

void PrintTo(const RecordCase& c, std::ostream* os)
{
    *os << c.name;
}

class ParseQuoteRecordTest : public testing::TestWithParam<RecordCase> {};

TEST_P(ParseQuoteRecordTest, FindsThePriceAndTheLatestTime)
{
    const RecordCase& c = GetParam();
    const RecordParse parse = parseQuoteRecord(c.code, c.lines, c.mode, c.latestBefore);
    EXPECT_EQ(parse.price, c.price);
    EXPECT_EQ(parse.latestQuoteTime, c.latestAfter);
    EXPECT_EQ(parse.timeLabel.value_or(QString()), c.label);
}

const QString r1015 = record(u"600000"_s, day, u"10:15:00"_s, u"10.11"_s);
const QString r1014 = record(u"600000"_s, day, u"10:14:58"_s, u"10.09"_s);

INSTANTIATE_TEST_SUITE_P(
    Table, ParseQuoteRecordTest,
    testing::Values(RecordCase{"FirstRecordInPriceMode",
                               u"600000"_s,
                               {r1015, r1014},
                               RecordMode::PriceOnly,
                               u"not"_s,
                               u"10.11"_s,
                               day + u" 10:15:00"_s,
                               u"获取价格时间:"_s + day + u" 10:15:00"_s},
                    RecordCase{"LastRecordWhenShown",
                               u"600000"_s,
                               {r1015, r1014},
                               RecordMode::ShowInMonitor,
                               u"not"_s,
                               u"10.09"_s,
                               day + u" 10:15:00"_s,
                               u"获取价格时间:"_s + day + u" 10:15:00"_s},
                    RecordCase{"LaterTimeMovesTheLabel",
                               u"600000"_s,
                               {r1014, r1015},
                               RecordMode::ShowInMonitor,
                               u"not"_s,
                               u"10.11"_s,
                               day + u" 10:15:00"_s,
                               u"获取价格时间:"_s + day + u" 10:15:00"_s},
                    RecordCase{"OlderRecordLeavesTheLatestTime",
                               u"600000"_s,
                               {r1014},
                               RecordMode::PriceOnly,
                               day + u" 10:15:00"_s,
                               u"10.09"_s,
                               day + u" 10:15:00"_s,
                               QString()},
                    RecordCase{"PlaceholderCode",
                               u"000000"_s,
                               {record(u"000000"_s, day, u"10:00:00"_s, u"1.00"_s)},
                               RecordMode::PriceOnly,
                               u"not"_s,
                               u"-"_s,
                               u"not"_s,
                               QString()},
                    RecordCase{"LongFirstFieldMatchesOnItsFirstSix",
                               u"600000"_s,
                               {record(u"600000X"_s, day, u"10:00:00"_s, u"9.99"_s)},
                               RecordMode::PriceOnly,
                               u"not"_s,
                               u"9.99"_s,
                               day + u" 10:00:00"_s,
                               u"获取价格时间:"_s + day + u" 10:00:00"_s},
                    RecordCase{"OtherCodeOnly",
                               u"600000"_s,
                               {record(u"600001"_s, day, u"10:00:00"_s, u"9.99"_s)},
                               RecordMode::PriceOnly,
                               u"not"_s,
                               u"-"_s,
                               u"not"_s,
                               QString()},
                    RecordCase{"BlankPrice",
                               u"600000"_s,
                               {record(u"600000"_s, day, u"10:00:00"_s, u"  "_s)},
                               RecordMode::PriceOnly,
                               u"not"_s,
                               u"-"_s,
                               day + u" 10:00:00"_s,
                               u"获取价格时间:"_s + day + u" 10:00:00"_s},
                    RecordCase{"UnreadableStampNeverReplacesATime",
                               u"600000"_s,
                               {record(u"600000"_s, u"yesterday"_s, u"noon"_s, u"9.99"_s)},
                               RecordMode::PriceOnly,
                               day + u" 10:00:00"_s,
                               u"9.99"_s,
                               day + u" 10:00:00"_s,
                               QString()},
                    RecordCase{"ReadableStampReplacesAnUnreadableTime",
                               u"600000"_s,
                               {r1015},
                               RecordMode::PriceOnly,
                               u"yesterday noon"_s,
                               u"10.11"_s,
                               day + u" 10:15:00"_s,
                               u"获取价格时间:"_s + day + u" 10:15:00"_s},
                    RecordCase{"LineWithoutCommaMatchesNothing",
                               u"600000"_s,
                               {u"600000"_s},
                               RecordMode::PriceOnly,
                               u"not"_s,
                               u"-"_s,
                               u"not"_s,
                               QString()},
                    RecordCase{"BlankPriceDoesNotHideALaterPrice",
                               u"600000"_s,
                               {record(u"600000"_s, day, u"10:14:58"_s, u""_s), r1015},
                               RecordMode::PriceOnly,
                               u"not"_s,
                               u"10.11"_s,
                               day + u" 10:15:00"_s,
                               u"获取价格时间:"_s + day + u" 10:15:00"_s},
                    RecordCase{"BlankPriceKeepsTheShownPrice",
                               u"600000"_s,
                               {r1014, record(u"600000"_s, day, u"10:15:00"_s, u" "_s)},
                               RecordMode::ShowInMonitor,
                               u"not"_s,
                               u"10.09"_s,
                               day + u" 10:15:00"_s,
                               u"获取价格时间:"_s + day + u" 10:15:00"_s},
                    RecordCase{"EmptyCodeMatchesNoEmptyLine",
                               QString(),
                               {QString(), u","_s},
                               RecordMode::ShowInMonitor,
                               u"not"_s,
                               u"-"_s,
                               u"not"_s,
                               QString()}),
    [](const testing::TestParamInfo<RecordCase>& row) { return row.param.name; });

TEST(ParseQuoteRecordShownTest, ColoursFollowTheSignAndKeepForText)
{
    const QStringList lines{
        record(u"600000"_s, day, u"10:00:00"_s, u"9.99"_s, u"0.00"_s, u"-1.20"_s),
        record(u"600000"_s, day, u"10:00:01"_s, u"9.98"_s, u"-"_s, u""_s)};
    const RecordParse parse =
        parseQuoteRecord(u"600000"_s, lines, RecordMode::ShowInMonitor, u"not"_s);
    ASSERT_TRUE(parse.display);
    EXPECT_EQ(parse.display->snapshot.price, u"9.98"_s);
    EXPECT_EQ(parse.display->snapshot.change, u"-"_s);
    // 0.00 is red; the second record's "-" and "" keep the colours of the first.
    EXPECT_EQ(parse.display->changeColour, SignColour::Red);
    EXPECT_EQ(parse.display->ratioColour, SignColour::Blue);
}

// ---- ParseMainQuote ----

const MainQuoteFields shownBefore{u"1"_s, u"2"_s, u"20.00"_s, u"21.00"_s};

TEST(ParseMainQuoteTest, TakesTheFieldsAndLimitsOfTheCodesRecord)
{
    const MainQuote quote = parseMainQuote(
        u"600000"_s, u"浦发银行"_s, record(u"600000"_s, day, u"10:00"_s, u"10.11"_s), shownBefore);
    EXPECT_EQ(quote.price, u"10.11"_s);
    ASSERT_TRUE(quote.fields);
    EXPECT_EQ(quote.fields->activeBuy, u"700"_s);
    EXPECT_EQ(quote.fields->activeSell, u"500"_s);
    EXPECT_EQ(quote.fields->previousClose, u"10.00"_s);
    EXPECT_EQ(quote.fields->open, u"10.02"_s);
    ASSERT_TRUE(quote.captions);
    EXPECT_EQ(quote.captions->profit, u"盈利抛售计算  涨停:11.00"_s);
    EXPECT_EQ(quote.captions->loss, u"亏损抛售计算  跌停:9.00"_s);
}

struct MainCase {
    std::string name;
    QString code;
    QString line;
};

void PrintTo(const MainCase& c, std::ostream* os)
{
    *os << c.name;
}

class ParseMainQuoteOtherTest : public testing::TestWithParam<MainCase> {};

// No record of the code: price "-", the fields stay and the captions come from them.
TEST_P(ParseMainQuoteOtherTest, KeepsTheShownFields)
{
    const MainQuote quote =
        parseMainQuote(GetParam().code, u"浦发银行"_s, GetParam().line, shownBefore);
    EXPECT_EQ(quote.price, u"-"_s);
    EXPECT_FALSE(quote.fields);
    ASSERT_TRUE(quote.captions);
    EXPECT_EQ(quote.captions->profit, u"盈利抛售计算  涨停:22.00"_s);
}

INSTANTIATE_TEST_SUITE_P(Table, ParseMainQuoteOtherTest,
                         testing::Values(MainCase{"OtherCode", u"600000"_s,
                                                  record(u"600001"_s, day, u"10:00"_s, u"1.00"_s)},
                                         MainCase{"LongerFirstField", u"600000"_s,
                                                  record(u"6000001"_s, day, u"10:00"_s, u"1"_s)},
                                         MainCase{"CodeInputWithBlanks", u"600000 "_s,
                                                  record(u"600000"_s, day, u"10:00"_s, u"1.00"_s)},
                                         MainCase{"NoComma", u"600000"_s, u"600000"_s},
                                         MainCase{"EmptyLine", u"600000"_s, QString()},
                                         MainCase{"EmptyCodeAndLine", QString(), u",,,"_s}),
                         [](const testing::TestParamInfo<MainCase>& row) {
                             return row.param.name;
                         });

TEST(ParseMainQuoteTest, CaptionsStayWhenNeitherBaseIsAPrice)
{
    const MainQuote quote =
        parseMainQuote(u"600000"_s, u"浦发银行"_s, u"600000,d,t,1.00,,,,,,,,,-,abc"_s, shownBefore);
    EXPECT_EQ(quote.price, u"1.00"_s);
    EXPECT_FALSE(quote.captions);
}

// ---- PriceFromLines and the already-fetched test ----

TEST(PriceFromLinesTest, WholeFirstFieldAndTheLastRecordWins)
{
    const QStringList lines{record(u"600000"_s, day, u"10:00"_s, u"1.00"_s),
                            record(u"6000001"_s, day, u"10:00"_s, u"7.00"_s),
                            record(u"600000"_s, day, u"10:01"_s, u"2.00"_s)};
    EXPECT_EQ(priceFromLines(u"600000"_s, lines), u"2.00"_s);
    EXPECT_EQ(priceFromLines(u"600001"_s, lines), u"-"_s);
    EXPECT_EQ(priceFromLines(u"000000"_s, {record(u"000000"_s, day, u"1"_s, u"1"_s)}), u"-"_s);
    EXPECT_EQ(priceFromLines(u"600000"_s, {record(u"600000"_s, day, u"1"_s, u""_s)}), u"-"_s);
}

TEST(AlreadyFetchedTest, ComparesTheCodeFieldNotTheWholeLine)
{
    // 600519's digits sit inside the turnover of 000001's record.
    const QStringList lines{u"000001,2026-12-10,10:00:00,11.20,5,0.1,1.0,11.1,500,18600519,1,2"_s};
    EXPECT_FALSE(alreadyFetched(u"600519"_s, lines));
    EXPECT_TRUE(alreadyFetched(u"000001"_s, lines));
    EXPECT_FALSE(alreadyFetched(QString(), {u",1,2"_s}));
}

// ---- Garbage ----

TEST(GarbageTest, ParsersSurviveAnything)
{
    const QString huge = QString(200000, u'9');
    const QStringList garbage{
        QString(),
        u"no commas at all"_s,
        u",,,,,,,,,,,,,,,,,,,,,,,,,"_s,
        u"600000"_s + u","_s + huge + u","_s + huge,
        u"600000,"_s + huge,
        u"600000,2026-13-45,25:61:61,1.00"_s,
        u"600000,\uFFFD\uFFFD,\uFFFD,\uFFFD"_s,
        QString::fromUtf8("600000,\xe9\x94\x99,\x01\x02,-"),
        u"600000,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-"_s,
    };
    for (const QString& line : garbage) {
        const QStringList lines{line, line};
        for (const RecordMode mode : {RecordMode::PriceOnly, RecordMode::ShowInMonitor}) {
            const RecordParse parse = parseQuoteRecord(u"600000"_s, lines, mode, u"not"_s);
            EXPECT_LE(parse.price.size(), 15);
            const RecordParse again =
                parseQuoteRecord(u"600000"_s, lines, mode, parse.latestQuoteTime);
            EXPECT_LE(again.price.size(), 15);
        }
        const MainQuote main = parseMainQuote(u"600000"_s, u"x"_s, line, {});
        EXPECT_LE(main.price.size(), 15);
        EXPECT_LE(priceFromLines(u"600000"_s, lines).size(), 15);
        alreadyFetched(u"600000"_s, lines);
    }
}

} // namespace
