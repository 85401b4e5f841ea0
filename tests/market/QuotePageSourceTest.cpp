#include "market/QuotePageSource.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace Qt::StringLiterals;
using namespace corvanta::market;

namespace {

struct BodyCase {
    std::string name;
    QByteArray body;
    std::optional<QString> record; // none: no record, a short reply
};

void PrintTo(const BodyCase& c, std::ostream* os)
{
    *os << c.name;
}

class QuotePageBodyTest : public testing::TestWithParam<BodyCase> {};

TEST_P(QuotePageBodyTest, SecondLineIsTheRecord)
{
    const QuotePageSource source(QUrl(u"http://127.0.0.1:1"_s));
    const auto records = source.records(GetParam().body, {u"600000"_s});
    ASSERT_EQ(records.has_value(), GetParam().record.has_value());
    if (records) {
        ASSERT_EQ(records->size(), 1);
        EXPECT_EQ(records->first().toStdString(), GetParam().record->toStdString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, QuotePageBodyTest,
    testing::Values(BodyCase{"Empty", QByteArray(), std::nullopt},
                    BodyCase{"OneLine", "title", std::nullopt},
                    BodyCase{"OneLineEnded", "title\r\n", std::nullopt},
                    BodyCase{"CrLf", "title\r\n600000,a\r\nmore\r\n", u"600000,a"_s},
                    BodyCase{"Lf", "title\n600000,a", u"600000,a"_s},
                    BodyCase{"EmptySecondLine", "title\r\n\r\n", u""_s},
                    // "浦发银行" in GBK.
                    BodyCase{"GbkText", "t\r\n\xc6\xd6\xb7\xa2\xd2\xf8\xd0\xd0,1", u"浦发银行,1"_s},
                    BodyCase{"InvalidGbkDoesNotStopTheLine", "\xff\xfe\r\n600000,\x81\x20,3\r\n",
                             std::optional<QString>(u"600000,\uFFFD\u0020,3"_s)}),
    [](const testing::TestParamInfo<BodyCase>& row) { return row.param.name; });

TEST(QuotePageRequestTest, PathAndHeadersOfThePage)
{
    const QuotePageSource source(QUrl(u"http://10.0.0.5:8080"_s));
    const QNetworkRequest request = source.request({u"600048"_s});
    EXPECT_EQ(request.url().toString(), u"http://10.0.0.5:8080/htmdata/html/600048.htm"_s);
    EXPECT_EQ(request.rawHeader("Accept"), "text/html, */*");
    EXPECT_EQ(request.rawHeader("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
    EXPECT_EQ(source.codesPerRequest(), 1);
}

} // namespace
