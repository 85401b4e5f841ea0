#pragma once

#include "ProxyAddress.h"

#include <QtGlobal>

#include <chrono>

namespace corvanta::market {

// How a worker's client fetches.
struct FetchOptions {
    // Requests go through this HTTP proxy when its port is above 0, directly otherwise.
    ProxyAddress proxy;
    bool followRedirects = true;
    // A transfer that receives nothing for this long fails as timed out.
    std::chrono::milliseconds transferTimeout{60000};
    // A reply larger than this is refused as no quote page.
    qint64 maxReplyBytes = 1024 * 1024;
};

// Each worker's client: the single-stock and summary fetches follow redirects, the
// monitor's do not. All wait 60 s at most, so a hanging request never stops later
// monitor cycles.
inline FetchOptions singleQuoteOptions(const ProxyAddress& proxy)
{
    return {proxy, true, std::chrono::milliseconds(60000), 1024 * 1024};
}
inline FetchOptions summaryQuoteOptions(const ProxyAddress& proxy)
{
    return {proxy, true, std::chrono::milliseconds(60000), 1024 * 1024};
}
inline FetchOptions monitorQuoteOptions(const ProxyAddress& proxy)
{
    return {proxy, false, std::chrono::milliseconds(60000), 1024 * 1024};
}

// The pause before each request of a sequential run.
inline constexpr std::chrono::milliseconds summaryPause{300};
inline constexpr std::chrono::milliseconds monitorPause{500};

} // namespace corvanta::market
