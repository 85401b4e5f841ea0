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
// of its own for the run. The codes go in requests of as many as the source takes.
class SequentialQuoteRun : public QObject {
    Q_OBJECT

public:
    SequentialQuoteRun(std::shared_ptr<const QuoteSource> source, const FetchOptions& options,
                       std::chrono::milliseconds pause, QObject* parent = nullptr);

    // Asked just before a request's pause: true leaves the codes out of this run
    // (their records are already in the list being filled).
    void setSkip(std::function<bool(const QStringList& codes)> skip);

    // Starts a run; started() comes at once, finished() when the run ends (at once
    // for an empty list). No effect while a run is going.
    void start(const QStringList& codes);

    // Ends the run now: the pause or the request in flight is dropped, and
    // finished(false) follows. Callers may stop from requestFinished().
    void stop();

    bool isRunning() const { return m_running; }

signals:
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
    QList<QStringList> m_batches;
    qsizetype m_next = 0;
    QPointer<QuoteJob> m_job;
    bool m_running = false;
};

} // namespace corvanta::market
