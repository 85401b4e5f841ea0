#include "market/NetworkState.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace corvanta::market {
namespace {

int changesDuring(NetworkState& state, const std::function<void()>& step)
{
    int heard = 0;
    const auto connection = QObject::connect(&state, &NetworkState::changed, [&heard] { ++heard; });
    step();
    QObject::disconnect(connection);
    return heard;
}

TEST(NetworkStateTest, AnnouncesChangesOnly)
{
    NetworkState state;
    EXPECT_EQ(changesDuring(state, [&] { state.setNetworkOk(true); }), 1);
    EXPECT_EQ(changesDuring(state, [&] { state.setNetworkOk(true); }), 0);
    EXPECT_EQ(changesDuring(state, [&] { state.setQuoteFetchIdle(false); }), 1);
    EXPECT_EQ(changesDuring(state, [&] { state.setQuoteThrottleTicks(3); }), 1);
    EXPECT_EQ(changesDuring(state, [&] { state.setStatusCycle(NetworkState::CycleOnActivation); }),
              1);
    EXPECT_EQ(changesDuring(state, [&] { state.setProxy(u"10.0.0.1"_s, 3128); }), 1);
    EXPECT_EQ(changesDuring(state, [&] { state.setProxy(u"10.0.0.1"_s, 3128); }), 0);
}

TEST(NetworkStateTest, EnteredProxyIsUsedOnlyOnceTakenIntoUse)
{
    NetworkState state;
    EXPECT_EQ(state.networkProxy().type(), QNetworkProxy::NoProxy);
    state.setProxy(u"10.0.0.1"_s, 3128);
    EXPECT_EQ(state.networkProxy().type(), QNetworkProxy::NoProxy);

    state.useEnteredProxy();
    EXPECT_EQ(state.networkProxy().type(), QNetworkProxy::HttpProxy);
    EXPECT_EQ(state.networkProxy().hostName(), u"10.0.0.1"_s);
    EXPECT_EQ(state.networkProxy().port(), 3128);
    // The application's proxy stays untouched.
    EXPECT_EQ(QNetworkProxy::applicationProxy().type(), QNetworkProxy::NoProxy);

    EXPECT_EQ(changesDuring(state, [&] { state.clearProxy(); }), 1);
    EXPECT_FALSE(state.hasProxy());
    EXPECT_EQ(state.networkProxy().type(), QNetworkProxy::NoProxy);
}

TEST(NetworkStateTest, NoEnteredProxyLeavesTheProxyInUse)
{
    NetworkState state;
    EXPECT_EQ(changesDuring(state, [&] { state.useEnteredProxy(); }), 0);
    EXPECT_EQ(state.networkProxy().type(), QNetworkProxy::NoProxy);
}

} // namespace
} // namespace corvanta::market
