#pragma once

#include "FetchOptions.h"
#include "QuoteJob.h"

#include <QObject>

#include <memory>

class QNetworkAccessManager;

namespace corvanta::market {

// A client of its own: one network manager whose proxy is set on it alone (never the
// application's), and the options every request it sends carries. Destroying it with
// jobs in flight aborts them silently.
class QuoteFetcher : public QObject {
    Q_OBJECT

public:
    explicit QuoteFetcher(const FetchOptions& options = {}, QObject* parent = nullptr);
    ~QuoteFetcher() override;

    // Takes effect for the requests sent afterwards.
    void setOptions(const FetchOptions& options);
    const FetchOptions& options() const { return m_options; }

    // Sends the source's request for the codes when its gate lets it (falling back
    // once to the source's fallback); the job reports the outcome.
    QuoteJob* fetch(std::shared_ptr<const QuoteSource> source, const QStringList& codes);
    // The same with options of its own (redirects, time-out, size) for this request;
    // the proxy stays the client's.
    QuoteJob* fetch(std::shared_ptr<const QuoteSource> source, const QStringList& codes,
                    const FetchOptions& options);

    bool hasManager() const { return m_manager != nullptr; }

private:
    // Made for the first request: a program that never fetches builds none.
    QNetworkAccessManager& manager();
    void applyProxy();

    FetchOptions m_options;
    QNetworkAccessManager* m_manager = nullptr;
};

} // namespace corvanta::market
