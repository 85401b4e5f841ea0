#include "QuoteService.h"

#include "NetworkState.h"
#include "QuoteSourceChoice.h"

#include <QNetworkProxy>

namespace corvanta::market {

ProxyAddress proxyAddressOf(const QNetworkProxy& proxy)
{
    if (proxy.type() != QNetworkProxy::HttpProxy)
        return {};
    return {proxy.hostName(), int(proxy.port())};
}

namespace {

FetchOptions optionsFor(QuoteUse use, const ProxyAddress& proxy)
{
    switch (use) {
    case QuoteUse::CurrentStock:
        return singleQuoteOptions(proxy);
    case QuoteUse::Summary:
        return summaryQuoteOptions(proxy);
    case QuoteUse::Monitor:
        return monitorQuoteOptions(proxy);
    }
    return singleQuoteOptions(proxy);
}

} // namespace

QuoteService::QuoteService(NetworkState& network, QuoteSourceChoice& sources, QObject* parent)
    : QObject(parent), m_network(network), m_sources(sources)
{
    for (QuoteUse use : {QuoteUse::CurrentStock, QuoteUse::Summary, QuoteUse::Monitor})
        m_timeouts[std::size_t(use)] = optionsFor(use, {}).transferTimeout;
}

void QuoteService::setTransferTimeout(QuoteUse use, std::chrono::milliseconds timeout)
{
    m_timeouts[std::size_t(use)] = timeout;
}

std::shared_ptr<const QuoteSource> QuoteService::source() const
{
    return m_sources.source();
}

QuoteJob* QuoteService::fetch(const QStringList& codes, QuoteUse use)
{
    return fetch(source(), codes, use);
}

QuoteJob* QuoteService::fetch(std::shared_ptr<const QuoteSource> source, const QStringList& codes,
                              QuoteUse use)
{
    // The proxy is the manager's: the one in use now goes on it before this request.
    FetchOptions options = optionsFor(use, proxyAddressOf(m_network.networkProxy()));
    options.transferTimeout = m_timeouts[std::size_t(use)];
    m_fetcher.setOptions(options);
    ++m_asked;
    Q_EMIT asked(codes, use);
    return m_fetcher.fetch(std::move(source), codes, options);
}

} // namespace corvanta::market
