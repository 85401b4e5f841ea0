#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QStringList>

#include <optional>

namespace corvanta::market {

// Where quotes come from: turns a list of codes into one request, and the body of
// its reply into quote record lines (code, date, time, price, ... as the parsers
// read them). The fetch layer knows nothing else of a source.
class QuoteSource {
public:
    virtual ~QuoteSource() = default;

    // How many codes one request may carry (1 for a page per stock).
    virtual qsizetype codesPerRequest() const = 0;

    // The request for these codes (at most codesPerRequest() of them).
    virtual QNetworkRequest request(const QStringList& codes) const = 0;

    // The record lines of a reply body for the requested codes; no value when the
    // body is not a quote answer (too short, not in the source's layout).
    virtual std::optional<QStringList> records(const QByteArray& body,
                                               const QStringList& codes) const = 0;
};

} // namespace corvanta::market
