#include "market/ProxyAddress.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

using namespace Qt::StringLiterals;
using corvanta::isValidProxyHost;
using corvanta::parseProxyEntry;

namespace {

// A case's label as a test name: letters and digits, the rest underscores.
std::string testName(const char* label)
{
    std::string name(label);
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

struct EntryCase {
    const char* label;
    QString entry;
    bool accepted;
    QString host; // when accepted
    int port;
};

void PrintTo(const EntryCase& c, std::ostream* out)
{
    *out << c.label;
}

class ProxyEntryTest : public testing::TestWithParam<EntryCase> {};

TEST_P(ProxyEntryTest, ReadsHostAndPort)
{
    const EntryCase& c = GetParam();
    const auto proxy = parseProxyEntry(c.entry);
    ASSERT_EQ(proxy.has_value(), c.accepted);
    if (c.accepted) {
        EXPECT_EQ(proxy->host, c.host);
        EXPECT_EQ(proxy->port, c.port);
    }
}

EntryCase accepted(const char* label, const QString& entry, const QString& host, int port)
{
    return {label, entry, true, host, port};
}

EntryCase refused(const char* label, const QString& entry)
{
    return {label, entry, false, {}, 0};
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ProxyEntryTest,
    testing::Values(
        accepted("four parts and port 8080", u"192.168.0.1:8080"_s, u"192.168.0.1"_s, 8080),
        accepted("all parts 0", u"0.0.0.0:8080"_s, u"0.0.0.0"_s, 8080),
        accepted("all parts 255", u"255.255.255.255:8080"_s, u"255.255.255.255"_s, 8080),
        accepted("lowest port", u"10.0.0.1:1"_s, u"10.0.0.1"_s, 1),
        accepted("highest port", u"10.0.0.1:65535"_s, u"10.0.0.1"_s, 65535),
        accepted("blanks around the entry", u"  10.0.0.1:3128 "_s, u"10.0.0.1"_s, 3128),
        // The part after the third dot is not examined.
        accepted("letters after the third dot", u"1.2.3.abc:80"_s, u"1.2.3.abc"_s, 80),
        accepted("number above 255 after the third dot", u"1.2.3.999:80"_s, u"1.2.3.999"_s, 80),
        accepted("nothing after the third dot", u"1.2.3.:80"_s, u"1.2.3."_s, 80),
        refused("no colon", u"192.168.0.1"_s), refused("empty entry", QString()),
        refused("empty port", u"192.168.0.1:"_s), refused("port 0", u"192.168.0.1:0"_s),
        refused("port 65536", u"192.168.0.1:65536"_s),
        refused("port 70000", u"192.168.0.1:70000"_s),
        refused("negative port", u"192.168.0.1:-80"_s),
        refused("port with letters", u"192.168.0.1:80a"_s),
        refused("second colon", u"192.168.0.1:80:81"_s),
        refused("first part 300", u"300.168.0.1:8080"_s),
        refused("second part 256", u"1.256.0.1:8080"_s),
        refused("third part 256", u"1.2.256.1:8080"_s),
        refused("negative part", u"1.-2.3.4:8080"_s), refused("the template", u"X.X.X.X:X"_s),
        refused("the template's host, real port", u"X.X.X.X:8080"_s),
        refused("X after the third dot", u"1.2.3.X:8080"_s),
        refused("letters for numbers", u"a.b.c.d:8080"_s),
        refused("a name", u"proxy.example:8080"_s), refused("empty host", u":8080"_s),
        refused("empty part", u"1..3.4:8080"_s), refused("too few dots", u"1.2.3:8080"_s),
        refused("too many dots", u"1.2.3.4.5:8080"_s)),
    [](const testing::TestParamInfo<EntryCase>& param) { return testName(param.param.label); });

struct HostCase {
    const char* label;
    QString host;
    bool valid;
};

void PrintTo(const HostCase& c, std::ostream* out)
{
    *out << c.label;
}

class ProxyHostTest : public testing::TestWithParam<HostCase> {};

TEST_P(ProxyHostTest, ChecksThreeDotsAndTheFirstThreeParts)
{
    EXPECT_EQ(isValidProxyHost(GetParam().host), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, ProxyHostTest,
    testing::Values(HostCase{"plain address", u"127.0.0.1"_s, true},
                    HostCase{"anything after the third dot", u"1.2.3.x"_s, true},
                    HostCase{"X anywhere", u"1.X.3.4"_s, false},
                    HostCase{"three parts", u"1.2.3"_s, false},
                    HostCase{"five parts", u"1.2.3.4.5"_s, false},
                    HostCase{"part above 255", u"1.2.300.4"_s, false},
                    HostCase{"part not a number", u"1.2a.3.4"_s, false},
                    HostCase{"empty", QString(), false}),
    [](const testing::TestParamInfo<HostCase>& param) { return testName(param.param.label); });

} // namespace
