#pragma once

#include "QuoteFetcher.h"
#include "QuoteParsing.h"
#include "QuoteService.h"

#include <QObject>
#include <QPointer>

namespace corvanta::market {

// What the main window hands the single-stock fetch when it starts it.
struct SingleQuoteInputs {
    QString codeInput;     // the code input as typed
    QString stockName;     // the picked stock's name (for the board's limit)
    MainQuoteFields shown; // the quote fields on screen now
    ProxyAddress proxy;    // the proxy in use
};

struct SingleQuoteOutcome {
    enum class Kind {
        Skipped, // no stock to fetch: placeholder code or five characters or fewer
        Failed,  // shown as "网络连接超时!" in red
        Fetched,
    };
    Kind kind = Kind::Skipped;
    QString code; // the trimmed code fetched
    QuoteFailure failure = QuoteFailure::None;
    QStringList records; // the reply's record lines (empty unless fetched)
    MainQuote quote;     // the parse of the record, when fetched
};

// Fetches the main window's current stock with the window's own client (redirects
// followed, the transfer time-out of the options) and parses the reply. started()
// comes before anything else and finished() at each end, so the window can keep its
// idle flag: set on started(), cleared on finished(). One fetch at a time.
class SingleQuoteWorker : public QObject {
    Q_OBJECT

public:
    SingleQuoteWorker(std::shared_ptr<const QuoteSource> source, const FetchOptions& options = {},
                      QObject* parent = nullptr);
    // Asks the program's quote service: its source and proxy of each start, not
    // the inputs' proxy.
    explicit SingleQuoteWorker(QuoteService& service, QObject* parent = nullptr);
    // A fetch in flight ends without a word.
    ~SingleQuoteWorker() override;

    // The source of the next fetches (the data-source choice).
    void setSource(std::shared_ptr<const QuoteSource> source);

    // Starts a fetch; false (and nothing emitted) while one is running.
    bool start(const SingleQuoteInputs& inputs);
    bool isRunning() const { return m_running; }

    // Drops the fetch in flight; finished() reports it as failed (cancelled).
    void cancel();

    // The text the result label shows for a failed fetch.
    static QString failureText();

Q_SIGNALS:
    void started();
    void finished(const corvanta::market::SingleQuoteOutcome& outcome);

private:
    void onJobFinished(const QuoteResult& result);
    void end(SingleQuoteOutcome outcome);

    std::shared_ptr<const QuoteSource> m_source;
    FetchOptions m_options;
    QuoteFetcher* m_fetcher = nullptr;
    QuoteService* m_service = nullptr;
    QPointer<QuoteJob> m_job;
    SingleQuoteInputs m_inputs;
    bool m_running = false;
};

} // namespace corvanta::market

Q_DECLARE_METATYPE(corvanta::market::SingleQuoteOutcome)
