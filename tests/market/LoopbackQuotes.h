#pragma once

#include "market/QuoteJob.h"
#include "market/QuoteResult.h"
#include "quote-server/QuoteServer.h"

#include <QSignalSpy>

#include <chrono>
#include <memory>

// What the fetch tests share: a quote server on loopback and waiting for a job.
namespace corvanta::market::loopback {

// Long enough for any loopback answer, short enough that a broken test ends soon.
constexpr int waitMs = 10000;
// A short pace, so the tests do not wait for the real one.
constexpr std::chrono::milliseconds testPause{20};

inline QuoteResult waitFor(QuoteJob* job)
{
    QSignalSpy spy(job, &QuoteJob::finished);
    if (!spy.wait(waitMs))
        return {QuoteFailure::None, {QStringLiteral("<no answer>")}, -1};
    return spy.first().first().value<QuoteResult>();
}

inline std::unique_ptr<tools::QuoteServer> startServer(tools::Layout layout,
                                                       tools::QuoteServerOptions options = {})
{
    options.layout = layout;
    auto server = std::make_unique<tools::QuoteServer>(tools::shippedStocks(), options);
    if (!server->listen())
        qFatal("quote server: %s", qPrintable(server->errorString()));
    return server;
}

} // namespace corvanta::market::loopback
