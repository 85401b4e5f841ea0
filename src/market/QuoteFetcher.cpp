#include "QuoteFetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>

namespace corvanta::market {

QuoteFetcher::QuoteFetcher(const FetchOptions& options, QObject* parent)
    : QObject(parent), m_options(options)
{
}

QNetworkAccessManager& QuoteFetcher::manager()
{
    if (!m_manager) {
        m_manager = new QNetworkAccessManager(this);
        applyProxy();
    }
    return *m_manager;
}

QuoteFetcher::~QuoteFetcher()
{
    // The jobs go before the manager deletes their replies under them.
    for (QuoteJob* job : findChildren<QuoteJob*>(Qt::FindDirectChildrenOnly))
        job->abandon();
}

void QuoteFetcher::setOptions(const FetchOptions& options)
{
    m_options = options;
    if (m_manager)
        applyProxy();
}

void QuoteFetcher::applyProxy()
{
    if (m_options.proxy.port > 0) {
        m_manager->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, m_options.proxy.host,
                                          quint16(m_options.proxy.port)));
    } else {
        m_manager->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    }
}

QuoteJob* QuoteFetcher::fetch(std::shared_ptr<const QuoteSource> source, const QStringList& codes)
{
    // The request goes out when the source's gate lets it, with the options of then.
    const auto send = [this](const QuoteSource& asked, const QStringList& askedCodes) {
        QNetworkRequest request = asked.request(askedCodes);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             m_options.followRedirects ? QNetworkRequest::NoLessSafeRedirectPolicy
                                                       : QNetworkRequest::ManualRedirectPolicy);
        request.setTransferTimeout(int(m_options.transferTimeout.count()));
        return manager().get(request);
    };
    return new QuoteJob(send, std::move(source), codes, m_options.maxReplyBytes, this);
}

QuoteJob* QuoteFetcher::fetch(std::shared_ptr<const QuoteSource> source, const QStringList& codes,
                              const FetchOptions& options)
{
    const auto send = [this, options](const QuoteSource& asked, const QStringList& askedCodes) {
        QNetworkRequest request = asked.request(askedCodes);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             options.followRedirects ? QNetworkRequest::NoLessSafeRedirectPolicy
                                                     : QNetworkRequest::ManualRedirectPolicy);
        request.setTransferTimeout(int(options.transferTimeout.count()));
        return manager().get(request);
    };
    return new QuoteJob(send, std::move(source), codes, options.maxReplyBytes, this);
}

} // namespace corvanta::market
