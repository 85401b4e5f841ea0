#include "TextPrinting.h"
#include "market/MarketPrefix.h"
#include "market/QuoteSourceChoice.h"
#include "market/SinaQuoteSource.h"
#include "market/SourceHosts.h"
#include "market/TencentQuoteSource.h"

#include <gtest/gtest.h>

#include <QStringEncoder>

#include <ostream>
#include <string>

using namespace Qt::StringLiterals;
using namespace corvanta::market;

namespace {

QByteArray gbk(const QString& text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

// Payloads as the sources send them (the text between the quotes).
const QString sinaFullDay =
    u"浦发银行,6.830,6.780,6.940,6.980,6.830,6.940,6.950,40237053,277525770.000,71208,6.940,"
    u"278600,6.930,136200,6.920,133700,6.910,261400,6.900,283009,6.950,781217,6.960,817835,"
    u"6.970,902872,6.980,1002106,6.990,2022-11-11,15:00:00,00,"_s;
const QString sinaPreOpen =
    u"恒生中小,0.000,1.074,0.000,0.000,0.000,1.053,1.110,0,0.000,42000,1.053,7500,1.050,0,"
    u"0.000,0,0.000,0,0.000,3100,1.110,100,1.130,2900,1.169,12000,1.170,0,0.000,2019-04-08,"
    u"09:41:45,00"_s;
const QString tencentMainBoard =
    u"1~兰花科创~600123~13.40~13.19~13.20~177065~95758~81308~13.40~588~13.39~886~13.38~302~"
    u"13.37~705~13.36~288~13.41~119~13.42~318~13.43~201~13.44~478~13.45~632~~20230217155938~"
    u"0.21~1.59~13.53~13.20~13.40/177065/237476740~177065~23748~1.55~4.13~~13.53~13.20~2.50~"
    u"153.08~153.08~1.01~14.51~11.87~1.11~1021~13.41~4.16~6.51~~~1.22~23747.6740~0.0000~0~ ~"
    u"GP-A~0.45~-1.62~5.60~24.44~12.08~18.63~9.37~-5.30~-8.03~-3.60~1142400000~1142400000~"
    u"22.60~-2.83~1142400000~~~27.50~-0.07~~CNY"_s;
const QString tencentStar =
    u"1~灿芯股份~688691~137.00~133.50~134.00~10931723~5600000~5331723~136.99~12~136.98~5~"
    u"136.97~3~136.96~8~136.95~2~137.00~4~137.01~6~137.02~1~137.03~9~137.04~3~~20240620150003~"
    u"3.50~2.62~139.88~132.10~137.00/10931723/1497646051~10931723~149765~14.98~~~139.88~132.10"_s;
const QString tencentPreOpen =
    u"51~国华网安~000004~0.00~15.00~0.00~0~0~0~14.98~10~0.00~0~0.00~0~0.00~0~0.00~0~15.02~12~"
    u"0.00~0~0.00~0~0.00~0~0.00~0~~20240102091500~0.00~0.00~0.00~0.00~0.00/0/0~0~0~0.00"_s;

// --- one payload to one record line ---------------------------------------------

struct PayloadCase {
    std::string name;
    bool sina;
    QString code;
    QString payload;
    std::optional<QString> line;
};

void PrintTo(const PayloadCase& c, std::ostream* os)
{
    *os << c.name;
}

class SourcePayloadTest : public testing::TestWithParam<PayloadCase> {};

TEST_P(SourcePayloadTest, BecomesTheSixteenFieldRecord)
{
    const PayloadCase& c = GetParam();
    const std::optional<QString> line =
        c.sina ? sinaRecord(c.code, c.payload) : tencentRecord(c.code, c.payload);
    ASSERT_EQ(line.has_value(), c.line.has_value()) << line.value_or(u"<none>"_s).toStdString();
    if (line) {
        EXPECT_EQ(*line, *c.line);
        EXPECT_EQ(line->count(u','), 15);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SourcePayloadTest,
    testing::Values(
        // Lots are whole hundreds of shares; change and ratio from the previous close;
        // the average is turnover over volume; Sina has no active buying or selling.
        // A share's price loses Sina's third decimal when it is 0; a fund's keeps it.
        PayloadCase{"SinaFullDayWithTrailingComma", true, u"600000"_s, sinaFullDay,
                    u"600000,2022-11-11,15:00:00,6.94,402370,0.16,2.36,6.897,40237053,"
                    u"277525770.000,-,-,6.78,6.83,6.98,6.83"_s},
        PayloadCase{"SinaWithoutTrailingComma", true, u"600000"_s, sinaFullDay.chopped(1),
                    u"600000,2022-11-11,15:00:00,6.94,402370,0.16,2.36,6.897,40237053,"
                    u"277525770.000,-,-,6.78,6.83,6.98,6.83"_s},
        // No trade yet: last, open, high and low are 0, which is no price.
        PayloadCase{"SinaPreOpen", true, u"160922"_s, sinaPreOpen,
                    u"160922,2019-04-08,09:41:45,-,0,-,-,-,0,0.000,-,-,1.074,-,-,-"_s},
        PayloadCase{"SinaLoss", true, u"600000"_s,
                    QString(sinaFullDay).replace(u",6.780,6.940,"_s, u",7.000,6.940,"_s),
                    u"600000,2022-11-11,15:00:00,6.94,402370,-0.06,-0.86,6.897,40237053,"
                    u"277525770.000,-,-,7.00,6.83,6.98,6.83"_s},
        PayloadCase{"SinaEmpty", true, u"160923"_s, QString(), std::nullopt},
        // A volume beyond any count has no lots.
        PayloadCase{
            "SinaHugeVolume", true, u"600000"_s,
            QString(sinaFullDay).replace(u",40237053,"_s, u",4026700000000000000000000000000,"_s),
            u"600000,2022-11-11,15:00:00,6.94,-,0.16,2.36,0.000,"
            u"4026700000000000000000000000000,277525770.000,-,-,6.78,6.83,6.98,6.83"_s},
        PayloadCase{"SinaTooFewFields", true, u"600000"_s, sinaFullDay.left(60), std::nullopt},
        PayloadCase{"SinaLastNotANumber", true, u"600000"_s,
                    QString(sinaFullDay).replace(u"6.940,6.980"_s, u"abc,6.980"_s), std::nullopt},
        // Volume comes in lots, the exact turnover in yuan inside "price/volume/amount".
        PayloadCase{"TencentMainBoard", false, u"600123"_s, tencentMainBoard,
                    u"600123,2023-02-17,15:59:38,13.40,177065,0.21,1.59,13.412,17706500,"
                    u"237476740,95758,81308,13.19,13.20,13.53,13.20"_s},
        // The STAR market's volume is already in shares.
        PayloadCase{"TencentStarVolumeInShares", false, u"688691"_s, tencentStar,
                    u"688691,2024-06-20,15:00:03,137.00,109317,3.50,2.62,137.000,10931723,"
                    u"1497646051,5600000,5331723,133.50,134.00,139.88,132.10"_s},
        PayloadCase{"TencentPreOpen", false, u"000004"_s, tencentPreOpen,
                    u"000004,2024-01-02,09:15:00,-,0,-,-,-,0,0,0,0,15.00,-,-,-"_s},
        // Without the exact amount, the 万元 figure.
        PayloadCase{"TencentTurnoverInTenThousands", false, u"600123"_s,
                    QString(tencentMainBoard).replace(u"13.40/177065/237476740"_s, u""_s),
                    u"600123,2023-02-17,15:59:38,13.40,177065,0.21,1.59,13.412,17706500,"
                    u"237480000,95758,81308,13.19,13.20,13.53,13.20"_s},
        PayloadCase{"TencentBadStampLeavesDateAndTimeMissing", false, u"600123"_s,
                    QString(tencentMainBoard).replace(u"20230217155938"_s, u"2023021"_s),
                    u"600123,-,-,13.40,177065,0.21,1.59,13.412,17706500,"
                    u"237476740,95758,81308,13.19,13.20,13.53,13.20"_s},
        PayloadCase{"TencentAnotherCodesLine", false, u"600000"_s, tencentMainBoard, std::nullopt},
        PayloadCase{"TencentTooFewFields", false, u"600123"_s, tencentMainBoard.left(120),
                    std::nullopt}),
    [](const testing::TestParamInfo<PayloadCase>& row) { return row.param.name; });

// --- whole reply bodies -------------------------------------------------------

struct BodyCase {
    std::string name;
    bool sina;
    QStringList codes;
    QString body;
    QStringList keys; // the codes of the records, in order; empty: not a quote reply
};

void PrintTo(const BodyCase& c, std::ostream* os)
{
    *os << c.name;
}

class SourceBodyTest : public testing::TestWithParam<BodyCase> {};

TEST_P(SourceBodyTest, KeepsRequestedCodesInTheirOrder)
{
    const BodyCase& c = GetParam();
    const SinaQuoteSource sina(QUrl(u"http://127.0.0.1:1"_s));
    const TencentQuoteSource tencent(QUrl(u"http://127.0.0.1:1"_s));
    const QuoteSource& source = c.sina ? static_cast<const QuoteSource&>(sina) : tencent;
    const std::optional<QStringList> records = source.records(gbk(c.body), c.codes);
    ASSERT_EQ(records.has_value(), !c.keys.isEmpty());
    if (!records)
        return;
    QStringList keys;
    for (const QString& record : *records)
        keys.append(record.section(u',', 0, 0));
    EXPECT_EQ(keys, c.keys);
}

QString sinaLine(const QString& key, const QString& payload)
{
    return u"var hq_str_"_s + key + u"=\""_s + payload + u"\";\n"_s;
}

QString tencentLine(const QString& key, const QString& payload)
{
    return u"v_"_s + key + u"=\""_s + payload + u"\";\n"_s;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SourceBodyTest,
    testing::Values(
        BodyCase{"SinaInTheCodesOrder",
                 true,
                 {u"160922"_s, u"600000"_s},
                 sinaLine(u"sh600000"_s, sinaFullDay) + sinaLine(u"sz160922"_s, sinaPreOpen),
                 {u"160922"_s, u"600000"_s}},
        BodyCase{"SinaUnknownCodeLeftOut",
                 true,
                 {u"160923"_s, u"600000"_s},
                 sinaLine(u"sz160923"_s, {}) + sinaLine(u"sh600000"_s, sinaFullDay),
                 {u"600000"_s}},
        // An empty record must not swallow the next one.
        BodyCase{"SinaEmptyRecordThenRecordWithoutBreak",
                 true,
                 {u"160923"_s, u"600000"_s},
                 sinaLine(u"sz160923"_s, {}).chopped(1) + sinaLine(u"sh600000"_s, sinaFullDay),
                 {u"600000"_s}},
        BodyCase{"SinaOnlyUnknownCodes", true, {u"160923"_s}, sinaLine(u"sz160923"_s, {}), {}},
        BodyCase{"SinaRefusalText", true, {u"600000"_s}, u"Kinsoku jikou desu!"_s, {}},
        BodyCase{"SinaForbidden", true, {u"600000"_s}, u"Forbidden"_s, {}},
        BodyCase{"SinaOtherMarketsLineIsNotTheCodes",
                 true,
                 {u"600000"_s},
                 sinaLine(u"sz600000"_s, sinaFullDay),
                 {}},
        BodyCase{"SinaRecordCutOff",
                 true,
                 {u"600000"_s},
                 sinaLine(u"sh600000"_s, sinaFullDay).left(80),
                 {}},
        BodyCase{"SinaCrLfLines",
                 true,
                 {u"600000"_s},
                 sinaLine(u"sh600000"_s, sinaFullDay).replace(u"\n"_s, u"\r\n"_s),
                 {u"600000"_s}},
        BodyCase{"TencentKeepsOnlyRequestedCodes",
                 false,
                 {u"000004"_s},
                 tencentLine(u"sh600123"_s, tencentMainBoard) +
                     tencentLine(u"sz000004"_s, tencentPreOpen),
                 {u"000004"_s}},
        BodyCase{"TencentInTheCodesOrder",
                 false,
                 {u"688691"_s, u"600123"_s},
                 tencentLine(u"sh600123"_s, tencentMainBoard) +
                     tencentLine(u"sh688691"_s, tencentStar),
                 {u"688691"_s, u"600123"_s}},
        BodyCase{"TencentNoneMatch", false, {u"600123"_s}, u"v_pv_none_match=\"1\";\n"_s, {}},
        BodyCase{"TencentHtmlPage", false, {u"600123"_s}, u"<html>busy</html>"_s, {}}),
    [](const testing::TestParamInfo<BodyCase>& row) { return row.param.name; });

// --- requests ---------------------------------------------------------------

TEST(RealSourceRequestTest, SinaAsksForPrefixedCodesWithItsReferer)
{
    const SinaQuoteSource source(QUrl(u"http://hq.example:8080"_s));
    const QNetworkRequest request = source.request(
        {u"600000"_s, u"000001"_s, u"920819"_s, u"430047"_s, u"abc,de"_s, u"510300"_s});
    EXPECT_EQ(request.url().toString(),
              u"http://hq.example:8080/list=sh600000,sz000001,bj920819,bj430047,sh510300"_s);
    EXPECT_EQ(request.rawHeader("Referer"), "https://finance.sina.com.cn/");
    EXPECT_TRUE(request.rawHeader("User-Agent").startsWith("Mozilla/5.0 ("));
    EXPECT_EQ(source.codesPerRequest(), 100);
    EXPECT_EQ(source.name(), u"新浪"_s);
}

TEST(RealSourceRequestTest, TencentAsksForPrefixedCodesOverHttpsToo)
{
    const TencentQuoteSource source(QUrl(u"https://qt.example"_s));
    const QNetworkRequest request = source.request({u"600123"_s, u"300750"_s});
    EXPECT_EQ(request.url().toString(), u"https://qt.example/q=sh600123,sz300750"_s);
    EXPECT_TRUE(request.rawHeader("Referer").isEmpty());
    EXPECT_TRUE(request.rawHeader("User-Agent").startsWith("Mozilla/5.0 ("));
    EXPECT_EQ(source.codesPerRequest(), 100);
    EXPECT_EQ(source.name(), u"腾讯"_s);
}

// --- market prefixes, hosts, the stored choice ----------------------------------

class MarketPrefixTest
    : public testing::TestWithParam<std::pair<const char16_t*, const char16_t*>> {};

TEST_P(MarketPrefixTest, FromTheCodesBeginning)
{
    EXPECT_EQ(marketPrefix(QString::fromUtf16(GetParam().first)),
              QString::fromUtf16(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(Table, MarketPrefixTest,
                         testing::Values(std::pair{u"600000", u"sh"}, std::pair{u"688981", u"sh"},
                                         std::pair{u"510300", u"sh"}, std::pair{u"900901", u"sh"},
                                         std::pair{u"700001", u"sh"}, std::pair{u"920819", u"bj"},
                                         std::pair{u"430047", u"bj"}, std::pair{u"830799", u"bj"},
                                         std::pair{u"870001", u"bj"}, std::pair{u"000001", u"sz"},
                                         std::pair{u"300750", u"sz"}, std::pair{u"159915", u"sz"},
                                         std::pair{u"200002", u"sz"}));

TEST(SourceHostsTest, HttpOrHttpsServerWithoutPath)
{
    const auto valid = [](const QString& text) {
        const auto result = validateSourceHost(text);
        return std::holds_alternative<QUrl>(result) ? std::get<QUrl>(result).toString()
                                                    : u"<invalid>"_s;
    };
    EXPECT_EQ(valid(u"http://hq.sinajs.cn"_s), u"http://hq.sinajs.cn"_s);
    EXPECT_EQ(valid(u" https://qt.gtimg.cn/ "_s), u"https://qt.gtimg.cn"_s);
    EXPECT_EQ(valid(u"http://127.0.0.1:18391"_s), u"http://127.0.0.1:18391"_s);
    for (const QString& bad :
         {u""_s, u"hq.sinajs.cn"_s, u"ftp://hq.sinajs.cn"_s, u"http://hq.sinajs.cn/list="_s,
          u"http://me@hq.sinajs.cn"_s, u"http://hq.sinajs.cn?x=1"_s})
        EXPECT_EQ(valid(bad), u"<invalid>"_s) << bad.toStdString();
    EXPECT_EQ(sourceHostFromSetting(u"nonsense"_s, defaultSinaHost()).toString(),
              u"http://hq.sinajs.cn"_s);
    EXPECT_EQ(sourceHostFromSetting(std::nullopt, defaultTencentHost()).toString(),
              u"http://qt.gtimg.cn"_s);
}

TEST(StoredSourceChoiceTest, SinaUnlessTheRowNamesAnotherQuoteSource)
{
    EXPECT_EQ(quoteSourceFromSetting(std::nullopt), QuoteSourceKind::Sina);
    EXPECT_EQ(quoteSourceFromSetting(u"新浪"_s), QuoteSourceKind::Sina);
    EXPECT_EQ(quoteSourceFromSetting(u"腾讯"_s), QuoteSourceKind::Tencent);
    EXPECT_EQ(quoteSourceFromSetting(u"金融界"_s), QuoteSourceKind::Page);
    // Check marks only: no quote endpoint behind them.
    EXPECT_EQ(quoteSourceFromSetting(u"搜狐"_s), QuoteSourceKind::Sina);
    EXPECT_EQ(quoteSourceFromSetting(u"和讯"_s), QuoteSourceKind::Sina);
    EXPECT_EQ(quoteSourceFromSetting(u"x'; DROP TABLE gpmc; --"_s), QuoteSourceKind::Sina);
}

} // namespace
