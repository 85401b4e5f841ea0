#include "NetworkState.h"

namespace corvanta::market {

template <typename T> void NetworkState::update(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Q_EMIT changed();
}

void NetworkState::setNetworkOk(bool ok)
{
    update(m_networkOk, ok);
}

void NetworkState::setQuoteFetchIdle(bool idle)
{
    update(m_quoteFetchIdle, idle);
}

void NetworkState::setQuoteThrottleTicks(int ticks)
{
    update(m_quoteThrottleTicks, ticks);
}

void NetworkState::setStatusCycle(int position)
{
    update(m_statusCycle, position);
}

void NetworkState::setProxy(const QString& host, int port)
{
    if (host == m_proxyHost && port == m_proxyPort)
        return;
    m_proxyHost = host;
    m_proxyPort = port;
    Q_EMIT changed();
}

void NetworkState::clearProxy()
{
    const bool wasSet =
        !m_proxyHost.isEmpty() || m_proxyPort != 0 || m_inUse.type() != QNetworkProxy::NoProxy;
    m_proxyHost.clear();
    m_proxyPort = 0;
    m_inUse = QNetworkProxy(QNetworkProxy::NoProxy);
    if (wasSet)
        Q_EMIT changed();
}

void NetworkState::useEnteredProxy()
{
    if (!hasProxy())
        return;
    const QNetworkProxy proxy(QNetworkProxy::HttpProxy, m_proxyHost, quint16(m_proxyPort));
    if (proxy == m_inUse)
        return;
    m_inUse = proxy;
    Q_EMIT changed();
}

} // namespace corvanta::market
