#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace corvanta::market {

class SourceGate;

// Where quotes come from: turns a list of codes into one request, and the body of
// its reply into quote record lines (code, date, time, price, ... as the parsers
// read them). The fetch layer knows nothing else of a source.
class QuoteSource {
public:
    virtual ~QuoteSource() = default;

    // The name the data-source menu and the status bar show ("新浪", ...).
    virtual QString name() const { return {}; }

    // How many codes one request may carry (1 for a page per stock).
    virtual qsizetype codesPerRequest() const = 0;

    // The request for these codes (at most codesPerRequest() of them).
    virtual QNetworkRequest request(const QStringList& codes) const = 0;

    // The record lines of a reply body for the requested codes, in the order of the
    // codes; no value when the body is not a quote answer (too short, not in the
    // source's layout, no record of any requested code).
    virtual std::optional<QStringList> records(const QByteArray& body,
                                               const QStringList& codes) const = 0;

    // The gate every request to this source waits at (one at a time, spaced, backing
    // off after refusals); without one, requests go out at once.
    const std::shared_ptr<SourceGate>& gate() const { return m_gate; }
    void setGate(std::shared_ptr<SourceGate> gate) { m_gate = std::move(gate); }

    // Asked once with the same codes when this source refuses, answers empty or
    // answers something that is not a quote reply.
    const std::shared_ptr<const QuoteSource>& fallback() const { return m_fallback; }
    void setFallback(std::shared_ptr<const QuoteSource> fallback)
    {
        m_fallback = std::move(fallback);
    }

private:
    std::shared_ptr<SourceGate> m_gate;
    std::shared_ptr<const QuoteSource> m_fallback;
};

} // namespace corvanta::market
