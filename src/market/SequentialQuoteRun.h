#pragma once

#include "QuoteFetcher.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>

namespace corvanta::market {

// Fetches a list of codes one request after another, each request preceded by a
// pause on a timer (300 ms for the summary, 500 ms for the monitor), with a client
// of its own for the run. The codes go, in their order, in requests of as many as
// the source takes (one for the quote page, up to 100 for a real source), so the
// record lines arrive in the order of the codes.
class SequentialQuoteRun : public QObject {
    Q_OBJECT

public:
    SequentialQuoteRun(std::shared_ptr<const QuoteSource> source, const FetchOptions& options,
                       std::chrono::milliseconds pause, QObject* parent = nullptr);

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
    QuoteFetcher* m_fetcher;
    QTimer m_pause;
    std::function<bool(const QStringList&)> m_skip;
    QStringList m_codes;
    qsizetype m_next = 0; // the first code not yet put in a batch
    QStringList m_batch;  // the codes of the request paused for or in flight
    QPointer<QuoteJob> m_job;
    bool m_running = false;
};

} // namespace corvanta::market
