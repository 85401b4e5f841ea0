#pragma once

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
    SystemConnectionCheck();
    bool isConnected() override;

private:
    bool m_backendLoaded = false;
};

// The interface rule alone.
bool someInterfaceIsUp();

} // namespace corvanta::market
