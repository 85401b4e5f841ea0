#pragma once

#include "QuoteResult.h"
#include "QuoteSource.h"
#include "SourceGate.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QNetworkReply;

namespace corvanta::market {

// One fetch of a list of codes: it waits its turn at the source's gate, sends, and
// when the source refuses, answers empty or answers outside its layout, asks the
// source's fallback once with the same codes. It emits finished() exactly once
// (success, failure or cancel) and then deletes itself, so holders keep it in a
// QPointer.
class QuoteJob : public QObject {
    Q_OBJECT

public:
    // Sends a source's request for the codes with the client's options.
    using Sender = std::function<QNetworkReply*(const QuoteSource&, const QStringList&)>;

    QuoteJob(Sender send, std::shared_ptr<const QuoteSource> source, QStringList codes,
             qint64 maxReplyBytes, QObject* parent);
    ~QuoteJob() override;

    const QStringList& codes() const { return m_codes; }

    // Ends the job at once with QuoteFailure::Cancelled; no effect once it finished.
    void cancel();

    // Ends the job without a word (its owner is going away): the reply is aborted
    // and finished() is not emitted.
    void abandon();

Q_SIGNALS:
    void finished(const corvanta::market::QuoteResult& result);

private:
    void ask(std::shared_ptr<const QuoteSource> source);
    void send();
    void onProgress(qint64 received, qint64 total);
    void onReplyFinished();
    QuoteResult resultOf(QNetworkReply* reply) const;
    void leaveGate(GateOutcome outcome);
    void finish(QuoteResult result);

    Sender m_send;
    std::shared_ptr<const QuoteSource> m_source; // the source asked first
    std::shared_ptr<const QuoteSource> m_asking; // the source asked now
    QStringList m_codes;
    qint64 m_maxReplyBytes;
    QPointer<QNetworkReply> m_reply;
    SourceGate::Ticket m_ticket = 0;
    QuoteFailure m_abortReason = QuoteFailure::None; // why we aborted the reply ourselves
    bool m_fellBack = false;
    bool m_done = false;
};

// Whether a failure says the source would not serve us now (it counts against the
// source's pace and sends the codes to the fallback).
bool isRefusal(QuoteFailure failure);

} // namespace corvanta::market
