#pragma once

#include "QuoteFetcher.h"
#include "QuoteService.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>

namespace corvanta::market {

// Fetches a list of codes one request after another, each request preceded by a
// pause on a timer (300 ms for the summary, 500 ms for the monitor), through the
// program's quote service or a client of its own. The codes go, in their order, in requests of as
// many as the source takes (one for the quote page, up to 100 for a real source), so the record
// lines arrive in the order of the codes.
class SequentialQuoteRun : public QObject {
    Q_OBJECT

public:
    // A run on a client of its own, to a given source.
    SequentialQuoteRun(std::shared_ptr<const QuoteSource> source, const FetchOptions& options,
                       std::chrono::milliseconds pause, QObject* parent = nullptr);
    // A run through the service: each run keeps the source chosen when it starts,
    // and each request goes with the proxy in use when it is sent.
    SequentialQuoteRun(QuoteService& service, QuoteUse use, std::chrono::milliseconds pause,
                       QObject* parent = nullptr);

    // Asked for each code (a list of one) as its request is made up, just before the
    // request's pause: true leaves the code out of this run (its record is already
    // in the list being filled).
    void setSkip(std::function<bool(const QStringList& codes)> skip);

    // Starts a run; started() comes at once, finished() when the run ends (at once
    // for an empty list). No effect while a run is going.
    void start(const QStringList& codes);

    // Ends the run now: the pause or the request in flight is dropped, and
    // finished(false) follows. Callers may stop from requestFinished().
    void stop();

    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void started();
    void requestFinished(const QStringList& codes, const corvanta::market::QuoteResult& result);
    void finished(bool completed);

private:
    void next();
    void send();
    void onJobFinished(const QuoteResult& result);
    void end(bool completed);

    std::shared_ptr<const QuoteSource> m_source;
    QuoteFetcher* m_fetcher = nullptr;
    QuoteService* m_service = nullptr;
    QuoteUse m_use = QuoteUse::Summary;
    QTimer m_pause;
    std::function<bool(const QStringList&)> m_skip;
    QStringList m_codes;
    qsizetype m_next = 0; // the first code not yet put in a batch
    QStringList m_batch;  // the codes of the request paused for or in flight
    QPointer<QuoteJob> m_job;
    bool m_running = false;
};

} // namespace corvanta::market
