#pragma once

#include "QuoteFetcher.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <chrono>
#include <memory>

class QNetworkProxy;

namespace corvanta::market {

class NetworkState;
class QuoteSourceChoice;

// What a request is for: the single-stock and summary fetches follow redirects,
// the monitor's do not.
enum class QuoteUse {
    CurrentStock,
    Summary,
    Monitor,
};

// The program's one way to the quote sources: one network manager (made at the
// first request), the proxy in use of the network state and the chosen source
// with its gate. Each request gets a job of its own; the proxy and the source are
// read when it is asked, so a change reaches the next request.
class QuoteService : public QObject {
    Q_OBJECT

public:
    QuoteService(NetworkState& network, QuoteSourceChoice& sources, QObject* parent = nullptr);

    // The source the next requests go to.
    std::shared_ptr<const QuoteSource> source() const;

    // A request for the codes to the chosen source.
    QuoteJob* fetch(const QStringList& codes, QuoteUse use);
    // A request to a given source (a run keeps the source it started with).
    QuoteJob* fetch(std::shared_ptr<const QuoteSource> source, const QStringList& codes,
                    QuoteUse use);

    // How long a request of this use may receive nothing before it fails (60 s
    // unless a test shortens it); it reaches the next request.
    void setTransferTimeout(QuoteUse use, std::chrono::milliseconds timeout);

    // Whether the network manager has been made (start-up makes none).
    bool hasManager() const { return m_fetcher.hasManager(); }
    // The requests asked of this service so far.
    qint64 requestsAsked() const { return m_asked; }

Q_SIGNALS:
    // A request was asked for these codes.
    void asked(const QStringList& codes, corvanta::market::QuoteUse use);

private:
    NetworkState& m_network;
    QuoteSourceChoice& m_sources;
    QuoteFetcher m_fetcher;
    std::array<std::chrono::milliseconds, 3> m_timeouts;
    qint64 m_asked = 0;
};

// The proxy address of a proxy in use: port 0 for none.
ProxyAddress proxyAddressOf(const QNetworkProxy& proxy);

} // namespace corvanta::market

Q_DECLARE_METATYPE(corvanta::market::QuoteUse)
