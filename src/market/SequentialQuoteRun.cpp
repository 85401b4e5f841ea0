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

void SequentialQuoteRun::setSkip(std::function<bool(const QStringList&)> skip)
{
    m_skip = std::move(skip);
}

void SequentialQuoteRun::start(const QStringList& codes)
{
    if (m_running)
        return;
    const qsizetype size = std::max<qsizetype>(1, m_source->codesPerRequest());
    m_batches.clear();
    for (qsizetype i = 0; i < codes.size(); i += size)
        m_batches.append(codes.mid(i, size));
    m_next = 0;
    m_running = true;
    emit started();
    next();
}

void SequentialQuoteRun::next()
{
    while (m_next < m_batches.size() && m_skip && m_skip(m_batches[m_next]))
        ++m_next;
    if (m_next >= m_batches.size()) {
        end(true);
        return;
    }
    m_pause.start();
}

void SequentialQuoteRun::send()
{
    m_job = m_fetcher->fetch(m_source, m_batches[m_next]);
    connect(m_job, &QuoteJob::finished, this, &SequentialQuoteRun::onJobFinished);
}

void SequentialQuoteRun::onJobFinished(const QuoteResult& result)
{
    m_job = nullptr;
    const QStringList codes = m_batches[m_next++];
    emit requestFinished(codes, result);
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
    emit finished(completed);
}

} // namespace corvanta::market
