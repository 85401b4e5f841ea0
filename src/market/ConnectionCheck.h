#pragma once

#include <QByteArrayView>

#include <optional>

namespace corvanta::market {

// Whether the machine counts as connected to a network; "not connected" is an answer,
// never a failure.
class ConnectionCheck {
public:
    virtual ~ConnectionCheck() = default;
    virtual bool isConnected() = 0;
};

// The system's answer: whether the kernel routes to the internet (a default route,
// IPv4 or IPv6); where its routing tables cannot be read, whether some interface
// other than loopback is up, running and has an address.
class SystemConnectionCheck final : public ConnectionCheck {
public:
    bool isConnected() override;
};

// Whether the routing tables, as /proc/net/route and /proc/net/ipv6_route give
// them, hold a default route that is up and leads somewhere: not a rejecting one,
// not one through loopback. No answer when neither table could be read.
std::optional<bool> hasDefaultRoute(QByteArrayView ipv4Table, QByteArrayView ipv6Table);

// The interface rule alone.
bool someInterfaceIsUp();

} // namespace corvanta::market
