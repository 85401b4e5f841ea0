#pragma once

#include <optional>

namespace corvanta::market {

// Whether the machine counts as connected to a network; "not connected" is an answer,
// never a failure.
class ConnectionCheck {
public:
    virtual ~ConnectionCheck() = default;
    virtual bool isConnected() = 0;
};

// The system's answer: the network-information backend's reachability where one
// loads and knows it, otherwise whether some interface other than loopback is up,
// running and has an address.
class SystemConnectionCheck final : public ConnectionCheck {
public:
    bool isConnected() override;

private:
    // The system's backend (over D-Bus) is loaded by the first check, not at start.
    std::optional<bool> m_backendLoaded;
};

// The interface rule alone.
bool someInterfaceIsUp();

} // namespace corvanta::market
