#include "market/ConnectionCheck.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace corvanta::market {
namespace {

constexpr const char* ipv4Header =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
constexpr const char* ipv4Default = "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n";
constexpr const char* ipv4Subnet = "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
// A default route that is not up.
constexpr const char* ipv4DefaultDown =
    "eth0\t00000000\t010200C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n";
constexpr const char* ipv6Default =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
    "fd000000000000000000000000000001 00000400 00000003 00000000 00000003     eth0\n";
// What a machine without IPv6 routes has: a rejecting default through loopback.
constexpr const char* ipv6Unreachable =
    "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
    "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n";
constexpr const char* ipv6Link =
    "fe800000000000000000000000000000 40 00000000000000000000000000000000 00 "
    "00000000000000000000000000000000 00000100 00000002 00000000 00000001     eth0\n";

struct RouteCase {
    const char* name;
    std::string ipv4, ipv6;
    std::optional<bool> routed;
};

class DefaultRouteTest : public testing::TestWithParam<RouteCase> {};

TEST_P(DefaultRouteTest, ReadsTheKernelsTables)
{
    const RouteCase& c = GetParam();
    EXPECT_EQ(hasDefaultRoute(QByteArrayView(c.ipv4), QByteArrayView(c.ipv6)), c.routed);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, DefaultRouteTest,
    testing::Values(RouteCase{"ipv4Default", std::string(ipv4Header) + ipv4Subnet + ipv4Default,
                              std::string(ipv6Link) + ipv6Unreachable, true},
                    RouteCase{"ipv6DefaultOnly", ipv4Header, std::string(ipv6Link) + ipv6Default,
                              true},
                    RouteCase{"linkRoutesOnly", std::string(ipv4Header) + ipv4Subnet,
                              std::string(ipv6Link) + ipv6Unreachable, false},
                    RouteCase{"defaultNotUp", std::string(ipv4Header) + ipv4DefaultDown, "", false},
                    RouteCase{"isolatedNamespace", ipv4Header, ipv6Unreachable, false},
                    RouteCase{"noIpv6Table", std::string(ipv4Header) + ipv4Default, "", true},
                    RouteCase{"noTableRead", "", "", std::nullopt},
                    RouteCase{"notATable", "nonsense\n", "nonsense\n", std::nullopt}),
    [](const testing::TestParamInfo<RouteCase>& row) { return row.param.name; });

bool mapped(const QByteArray& library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

// The check runs at start and on every tick of the main timer: it answers
// without bringing GLib's I/O library into the program, as Qt's network
// information would, some megabytes for the answer.
TEST(SystemConnectionCheckTest, AnswersWithoutGLibsIoLibrary)
{
    int argc = 1;
    char name[] = "test_market";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    ASSERT_FALSE(mapped("libgio-2.0"));
    SystemConnectionCheck check;
    const bool first = check.isConnected();
    EXPECT_EQ(check.isConnected(), first);
    EXPECT_FALSE(mapped("libgio-2.0"));
}

} // namespace
} // namespace corvanta::market
