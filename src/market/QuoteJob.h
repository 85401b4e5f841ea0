#pragma once

#include "QuoteResult.h"
#include "QuoteSource.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QNetworkReply;

namespace corvanta::market {

// One request in flight. It emits finished() exactly once (success, failure or
// cancel) and then deletes itself, so holders keep it in a QPointer.
class QuoteJob : public QObject {
    Q_OBJECT

public:
    QuoteJob(QNetworkReply* reply, std::shared_ptr<const QuoteSource> source, QStringList codes,
             qint64 maxReplyBytes, QObject* parent);
    ~QuoteJob() override;

    const QStringList& codes() const { return m_codes; }

    // Ends the job at once with QuoteFailure::Cancelled; no effect once it finished.
    void cancel();

    // Ends the job without a word (its owner is going away): the reply is aborted
    // and finished() is not emitted.
    void abandon();

signals:
    void finished(const corvanta::market::QuoteResult& result);

private:
    void onProgress(qint64 received, qint64 total);
    void onReplyFinished();
    void finish(QuoteResult result);

    QPointer<QNetworkReply> m_reply;
    std::shared_ptr<const QuoteSource> m_source;
    QStringList m_codes;
    qint64 m_maxReplyBytes;
    QuoteFailure m_abortReason = QuoteFailure::None; // why we aborted the reply ourselves
    bool m_done = false;
};

} // namespace corvanta::market
