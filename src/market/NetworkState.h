#pragma once

#include <QNetworkProxy>
#include <QObject>
#include <QString>

namespace corvanta::market {

// The network and quote state of the running program: whether the network is up,
// whether the single-stock quote fetch is idle, the quote throttle, the status
// line's cycle and the proxy. Every setter that changes something emits
// `changed`. The proxy is handed to the quote fetchers, which set it on their own
// QNetworkAccessManager; nothing sets it for the whole application.
class NetworkState : public QObject {
    Q_OBJECT
public:
    // The status line's cycle: below `ProxyLineFrom` it shows the contact line,
    // from there to `CycleEnd` the proxy line; then it starts again at 0.
    static constexpr int ProxyLineFrom = 100;
    static constexpr int CycleEnd = 200;
    // The cycle positions set when the main window is activated with a proxy and
    // when the proxy dialog accepts one: the proxy line shows for the next 100 ticks.
    static constexpr int CycleOnActivation = ProxyLineFrom;
    static constexpr int CycleOnProxyAccepted = ProxyLineFrom + 1;

    using QObject::QObject;

    bool networkOk() const { return m_networkOk; }
    void setNetworkOk(bool ok);

    bool quoteFetchIdle() const { return m_quoteFetchIdle; }
    void setQuoteFetchIdle(bool idle);

    int quoteThrottleTicks() const { return m_quoteThrottleTicks; }
    void setQuoteThrottleTicks(int ticks);

    int statusCycle() const { return m_statusCycle; }
    void setStatusCycle(int position);

    // The proxy as entered or loaded from the settings; port 0 when none.
    QString proxyHost() const { return m_proxyHost; }
    int proxyPort() const { return m_proxyPort; }
    bool hasProxy() const { return m_proxyPort > 0; }
    void setProxy(const QString& host, int port);
    // No proxy entered and none in use.
    void clearProxy();
    // The entered proxy becomes the one the fetchers use (when there is one).
    void useEnteredProxy();
    // The proxy the quote fetchers use: QNetworkProxy::NoProxy until one is taken
    // into use.
    QNetworkProxy networkProxy() const { return m_inUse; }

Q_SIGNALS:
    void changed();

private:
    template <typename T> void update(T& field, const T& value);

    bool m_networkOk = false;
    bool m_quoteFetchIdle = true;
    int m_quoteThrottleTicks = 0;
    int m_statusCycle = 0;
    QString m_proxyHost;
    int m_proxyPort = 0;
    QNetworkProxy m_inUse{QNetworkProxy::NoProxy};
};

} // namespace corvanta::market
