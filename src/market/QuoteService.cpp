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
    const FetchOptions options = optionsFor(use, proxyAddressOf(m_network.networkProxy()));
    m_fetcher.setOptions(options);
    ++m_asked;
    Q_EMIT asked(codes, use);
    return m_fetcher.fetch(std::move(source), codes, options);
}

} // namespace corvanta::market
