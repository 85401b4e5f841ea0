#include "market/QuoteServerAddress.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace Qt::StringLiterals;
using namespace corvanta::market;

namespace {

struct AddressCase {
    std::string name;
    QString entry;
    QString stored; // empty: refused
};

void PrintTo(const AddressCase& c, std::ostream* os)
{
    *os << c.name;
}

class QuoteServerAddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(QuoteServerAddressTest, AcceptsOnlyAnHttpServer)
{
    const AddressCase& c = GetParam();
    const auto checked = validateQuoteServer(c.entry);
    if (c.stored.isEmpty()) {
        ASSERT_TRUE(std::holds_alternative<QString>(checked));
        EXPECT_EQ(std::get<QString>(checked), invalidQuoteServerMessage());
    } else {
        ASSERT_TRUE(std::holds_alternative<QUrl>(checked));
        EXPECT_EQ(std::get<QUrl>(checked).toString().toStdString(), c.stored.toStdString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, QuoteServerAddressTest,
    testing::Values(
        AddressCase{"HostAndPort", u"http://127.0.0.1:18080"_s, u"http://127.0.0.1:18080"_s},
        AddressCase{"NameWithSlash", u" http://quotes.example/ "_s, u"http://quotes.example"_s},
        AddressCase{"UpperCaseScheme", u"HTTP://quotes.example"_s, u"http://quotes.example"_s},
        AddressCase{"Https", u"https://quotes.example"_s, QString()},
        AddressCase{"NoScheme", u"quotes.example"_s, QString()},
        AddressCase{"OtherScheme", u"ftp://quotes.example"_s, QString()},
        AddressCase{"NoHost", u"http://"_s, QString()},
        AddressCase{"WithPath", u"http://quotes.example/htmdata"_s, QString()},
        AddressCase{"WithQuery", u"http://quotes.example/?a=1"_s, QString()},
        AddressCase{"WithUser", u"http://me@quotes.example"_s, QString()},
        AddressCase{"BadPort", u"http://quotes.example:99999"_s, QString()},
        AddressCase{"Blank", u"  "_s, QString()},
        AddressCase{"Spaces", u"http://quo tes.example"_s, QString()}),
    [](const testing::TestParamInfo<AddressCase>& row) { return row.param.name; });

TEST(QuoteServerFromSettingTest, FallsBackToTheDefault)
{
    EXPECT_EQ(quoteServerFromSetting(std::nullopt).toString(), defaultQuoteServer());
    EXPECT_EQ(quoteServerFromSetting(u"garbage"_s).toString(), defaultQuoteServer());
    EXPECT_EQ(quoteServerFromSetting(u"http://10.0.0.5:8080/"_s).toString(),
              u"http://10.0.0.5:8080"_s);
}

} // namespace
