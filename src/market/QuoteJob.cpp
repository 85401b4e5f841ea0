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

} // namespace

QuoteJob::QuoteJob(QNetworkReply* reply, std::shared_ptr<const QuoteSource> source,
                   QStringList codes, qint64 maxReplyBytes, QObject* parent)
    : QObject(parent), m_reply(reply), m_source(std::move(source)), m_codes(std::move(codes)),
      m_maxReplyBytes(maxReplyBytes)
{
    connect(reply, &QNetworkReply::downloadProgress, this, &QuoteJob::onProgress);
    connect(reply, &QNetworkReply::finished, this, &QuoteJob::onReplyFinished);
}

QuoteJob::~QuoteJob()
{
    abandon();
}

void QuoteJob::abandon()
{
    m_done = true;
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
    finish({QuoteFailure::Cancelled, {}, 0});
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

void QuoteJob::onReplyFinished()
{
    if (m_done || !m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();

    QuoteResult result;
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
        else if (!(records = m_source->records(body, m_codes)))
            result.failure = QuoteFailure::ShortReply;
        else
            result.records = *records;
    }
    finish(std::move(result));
}

void QuoteJob::finish(QuoteResult result)
{
    m_done = true;
    emit finished(result);
    deleteLater();
}

} // namespace corvanta::market
