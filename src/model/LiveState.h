#pragma once

#include <QObject>

namespace corvanta::model {

// What the running program is doing with quotes and its windows, as the objects
// that do it tell: the network, the single-stock refresh, the tray and the monitor
// windows. Each setter announces a real change once and nothing else.
class LiveState : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    bool networkOk() const { return m_networkOk; }
    void setNetworkOk(bool ok);
    // The single stock's quote is fetched again and again (the refresh items checked).
    bool singleStockRefresh() const { return m_singleStockRefresh; }
    void setSingleStockRefresh(bool on);
    // The main window is hidden to the tray, or the user follows the stock from it.
    bool inTray() const { return m_inTray; }
    void setInTray(bool inTray);
    bool monitorShowing() const { return m_monitorShowing; }
    bool tickerShowing() const { return m_tickerShowing; }
    // The monitor window has shown at least once in this run.
    bool monitorShownThisRun() const { return m_monitorShownThisRun; }
    void setMonitorWindows(bool monitorShowing, bool tickerShowing, bool monitorShownThisRun);

Q_SIGNALS:
    void changed();

private:
    void update(bool& field, bool value);

    bool m_networkOk = false;
    bool m_singleStockRefresh = false;
    bool m_inTray = false;
    bool m_monitorShowing = false;
    bool m_tickerShowing = false;
    bool m_monitorShownThisRun = false;
};

} // namespace corvanta::model
