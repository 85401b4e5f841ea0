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

} // namespace corvanta::market
