#include "SingleQuoteWorker.h"
#include "calc/PlaceholderStock.h"

using namespace Qt::StringLiterals;

namespace corvanta::market {

SingleQuoteWorker::SingleQuoteWorker(std::shared_ptr<const QuoteSource> source,
                                     const FetchOptions& options, QObject* parent)
    : QObject(parent), m_source(std::move(source)), m_options(options),
      m_fetcher(new QuoteFetcher(options, this))
{
}

SingleQuoteWorker::SingleQuoteWorker(QuoteService& service, QObject* parent)
    : QObject(parent), m_service(&service)
{
}

SingleQuoteWorker::~SingleQuoteWorker()
{
    // The service's jobs outlive this worker unless dropped here.
    delete m_job.data();
}

void SingleQuoteWorker::setSource(std::shared_ptr<const QuoteSource> source)
{
    m_source = std::move(source);
}

QString SingleQuoteWorker::failureText()
{
    return u"网络连接超时!"_s;
}

bool SingleQuoteWorker::start(const SingleQuoteInputs& inputs)
{
    if (m_running)
        return false;
    m_running = true;
    m_inputs = inputs;
    Q_EMIT started();

    SingleQuoteOutcome outcome;
    outcome.code = inputs.codeInput.trimmed();
    if (outcome.code == placeholderCode || outcome.code.size() <= 5) {
        end(std::move(outcome));
        return true;
    }
    if (m_service) {
        m_job = m_service->fetch({outcome.code}, QuoteUse::CurrentStock);
        connect(m_job, &QuoteJob::finished, this, &SingleQuoteWorker::onJobFinished);
        return true;
    }
    // The proxy is read at every start; redirects are always followed here.
    FetchOptions options = m_options;
    options.proxy = inputs.proxy;
    options.followRedirects = true;
    m_fetcher->setOptions(options);
    m_job = m_fetcher->fetch(m_source, {outcome.code});
    connect(m_job, &QuoteJob::finished, this, &SingleQuoteWorker::onJobFinished);
    return true;
}

void SingleQuoteWorker::cancel()
{
    if (m_job)
        m_job->cancel();
}

void SingleQuoteWorker::onJobFinished(const QuoteResult& result)
{
    m_job = nullptr;
    SingleQuoteOutcome outcome;
    outcome.code = m_inputs.codeInput.trimmed();
    outcome.failure = result.failure;
    if (!result.ok()) {
        outcome.kind = SingleQuoteOutcome::Kind::Failed;
    } else {
        outcome.kind = SingleQuoteOutcome::Kind::Fetched;
        outcome.records = result.records;
        outcome.quote = parseMainQuote(m_inputs.codeInput, m_inputs.stockName,
                                       result.records.value(0), m_inputs.shown);
    }
    end(std::move(outcome));
}

void SingleQuoteWorker::end(SingleQuoteOutcome outcome)
{
    m_running = false;
    Q_EMIT finished(outcome);
}

} // namespace corvanta::market
