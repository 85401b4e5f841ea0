#include "QuoteJob.h"

#include <QNetworkReply>

namespace corvanta::market {

namespace {

QuoteFailure failureOf(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
    // Qt ends a transfer that outlived its time-out as cancelled.
    case QNetworkReply::OperationCanceledError:
        return QuoteFailure::TimedOut;
    default:
        break;
    }
    // Errors up to 199 are the connection's and the proxy's; above, the content's.
    return error < QNetworkReply::ContentAccessDenied ? QuoteFailure::Connection
                                                      : QuoteFailure::HttpStatus;
}

GateOutcome gateOutcome(const QuoteResult& result)
{
    if (result.ok())
        return GateOutcome::Good;
    return isRefusal(result.failure) ? GateOutcome::Refused : GateOutcome::Neutral;
}

// A fallback is worth asking when the first source refused or answered nonsense; a
// time-out has already cost a minute, and a cancel is the caller's.
bool worthFallingBack(QuoteFailure failure)
{
    return isRefusal(failure) || failure == QuoteFailure::ShortReply;
}

} // namespace

bool isRefusal(QuoteFailure failure)
{
    return failure == QuoteFailure::HttpStatus || failure == QuoteFailure::Connection ||
           failure == QuoteFailure::EmptyReply;
}

QuoteJob::QuoteJob(Sender send, std::shared_ptr<const QuoteSource> source, QStringList codes,
                   qint64 maxReplyBytes, QObject* parent)
    : QObject(parent), m_send(std::move(send)), m_source(std::move(source)),
      m_codes(std::move(codes)), m_maxReplyBytes(maxReplyBytes)
{
    ask(m_source);
}

QuoteJob::~QuoteJob()
{
    abandon();
}

void QuoteJob::ask(std::shared_ptr<const QuoteSource> source)
{
    m_asking = std::move(source);
    m_abortReason = QuoteFailure::None;
    if (const auto& gate = m_asking->gate()) {
        // The gate may call send() before enqueue() returns.
        m_ticket = gate->enqueue([this] { send(); });
    } else {
        send();
    }
}

void QuoteJob::send()
{
    QNetworkReply* reply = m_send(*m_asking, m_codes);
    m_reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, &QuoteJob::onProgress);
    connect(reply, &QNetworkReply::finished, this, &QuoteJob::onReplyFinished);
}

void QuoteJob::abandon()
{
    m_done = true;
    leaveGate(GateOutcome::Neutral);
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}

void QuoteJob::cancel()
{
    if (m_done)
        return;
    abandon();
    QuoteResult result;
    result.failure = QuoteFailure::Cancelled;
    result.source = m_asking ? m_asking->name() : QString();
    finish(std::move(result));
}

void QuoteJob::leaveGate(GateOutcome outcome)
{
    const SourceGate::Ticket ticket = std::exchange(m_ticket, 0);
    if (ticket != 0 && m_asking && m_asking->gate())
        m_asking->gate()->release(ticket, outcome);
}

void QuoteJob::onProgress(qint64 received, qint64 total)
{
    if (m_abortReason != QuoteFailure::None || !m_reply)
        return;
    if (received > m_maxReplyBytes || total > m_maxReplyBytes) {
        m_abortReason = QuoteFailure::TooLarge;
        m_reply->abort();
    }
}

QuoteResult QuoteJob::resultOf(QNetworkReply* reply) const
{
    QuoteResult result;
    result.source = m_asking->name();
    result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_abortReason != QuoteFailure::None) {
        result.failure = m_abortReason;
    } else if (result.httpStatus != 0 && (result.httpStatus < 200 || result.httpStatus > 299)) {
        // Also a redirect the worker does not follow.
        result.failure = QuoteFailure::HttpStatus;
    } else if (reply->error() != QNetworkReply::NoError) {
        result.failure = failureOf(reply->error());
    } else {
        const QByteArray body = reply->readAll();
        std::optional<QStringList> records;
        if (body.size() > m_maxReplyBytes)
            result.failure = QuoteFailure::TooLarge;
        else if (body.trimmed().isEmpty())
            result.failure = QuoteFailure::EmptyReply;
        else if (!(records = m_asking->records(body, m_codes)))
            result.failure = QuoteFailure::ShortReply;
        else
            result.records = *records;
    }
    return result;
}

void QuoteJob::onReplyFinished()
{
    if (m_done || !m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();

    QuoteResult result = resultOf(reply);
    leaveGate(gateOutcome(result));
    if (!result.ok() && worthFallingBack(result.failure) && !m_fellBack && m_source->fallback()) {
        m_fellBack = true;
        ask(m_source->fallback());
        return;
    }
    finish(std::move(result));
}

void QuoteJob::finish(QuoteResult result)
{
    m_done = true;
    Q_EMIT finished(result);
    deleteLater();
}

} // namespace corvanta::market
