#pragma once

#include <QString>

#include <optional>

namespace corvanta {

struct ProxyAddress {
    QString host;
    int port = 0;
};

// True when the host has exactly three dots and its first three parts are whole
// numbers from 0 to 255; a host holding "X" (the dialog's template) is refused.
bool isValidProxyHost(const QString& host);

// Reads "host:port" as typed in the proxy dialog; no value when it is refused.
std::optional<ProxyAddress> parseProxyEntry(const QString& entry);

} // namespace corvanta
