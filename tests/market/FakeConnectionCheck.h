#pragma once

#include "market/ConnectionCheck.h"

namespace corvanta::market {

// A connection check that answers what the test says.
class FakeConnectionCheck final : public ConnectionCheck {
public:
    explicit FakeConnectionCheck(bool connected = true) : m_connected(connected) {}
    void setConnected(bool connected) { m_connected = connected; }
    bool isConnected() override
    {
        ++m_asked;
        return m_connected;
    }
    int timesAsked() const { return m_asked; }

private:
    bool m_connected;
    int m_asked = 0;
};

} // namespace corvanta::market
