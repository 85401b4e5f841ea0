#include "SequentialQuoteRun.h"

namespace corvanta::market {

SequentialQuoteRun::SequentialQuoteRun(std::shared_ptr<const QuoteSource> source,
                                       const FetchOptions& options, std::chrono::milliseconds pause,
                                       QObject* parent)
    : QObject(parent), m_source(std::move(source)), m_fetcher(new QuoteFetcher(options, this))
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(pause);
    connect(&m_pause, &QTimer::timeout, this, &SequentialQuoteRun::send);
}

SequentialQuoteRun::SequentialQuoteRun(QuoteService& service, QuoteUse use,
                                       std::chrono::milliseconds pause, QObject* parent)
    : QObject(parent), m_service(&service), m_use(use)
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(pause);
    connect(&m_pause, &QTimer::timeout, this, &SequentialQuoteRun::send);
}

void SequentialQuoteRun::setSkip(std::function<bool(const QStringList&)> skip)
{
    m_skip = std::move(skip);
}

void SequentialQuoteRun::start(const QStringList& codes)
{
    if (m_running)
        return;
    if (m_service)
        m_source = m_service->source();
    m_codes = codes;
    m_next = 0;
    m_batch.clear();
    m_running = true;
    Q_EMIT started();
    next();
}

void SequentialQuoteRun::next()
{
    // The batch is made just before its pause, from the codes in the caller's order,
    // so what earlier replies brought is skipped as one by one; a code twice in a
    // batch is asked once.
    const qsizetype size = std::max<qsizetype>(1, m_source->codesPerRequest());
    m_batch.clear();
    while (m_batch.size() < size && m_next < m_codes.size()) {
        const QString& code = m_codes[m_next++];
        if (m_batch.contains(code) || (m_skip && m_skip({code})))
            continue;
        m_batch.append(code);
    }
    if (m_batch.isEmpty()) {
        end(true);
        return;
    }
    m_pause.start();
}

void SequentialQuoteRun::send()
{
    m_job = m_service ? m_service->fetch(m_source, m_batch, m_use)
                      : m_fetcher->fetch(m_source, m_batch);
    connect(m_job, &QuoteJob::finished, this, &SequentialQuoteRun::onJobFinished);
}

void SequentialQuoteRun::onJobFinished(const QuoteResult& result)
{
    m_job = nullptr;
    const QStringList codes = m_batch;
    Q_EMIT requestFinished(codes, result);
    if (m_running)
        next();
}

void SequentialQuoteRun::stop()
{
    if (!m_running)
        return;
    m_pause.stop();
    if (m_job) {
        m_job->disconnect(this);
        m_job->cancel();
    }
    end(false);
}

void SequentialQuoteRun::end(bool completed)
{
    m_running = false;
    m_job = nullptr;
    Q_EMIT finished(completed);
}

} // namespace corvanta::market
