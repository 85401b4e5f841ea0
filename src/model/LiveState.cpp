#include "LiveState.h"

namespace corvanta::model {

void LiveState::update(bool& field, bool value)
{
    if (field == value)
        return;
    field = value;
    Q_EMIT changed();
}

void LiveState::setNetworkOk(bool ok)
{
    update(m_networkOk, ok);
}

void LiveState::setSingleStockRefresh(bool on)
{
    update(m_singleStockRefresh, on);
}

void LiveState::setInTray(bool inTray)
{
    update(m_inTray, inTray);
}

void LiveState::setMonitorWindows(bool monitorShowing, bool tickerShowing, bool monitorShownThisRun)
{
    if (monitorShowing == m_monitorShowing && tickerShowing == m_tickerShowing &&
        monitorShownThisRun == m_monitorShownThisRun)
        return;
    m_monitorShowing = monitorShowing;
    m_tickerShowing = tickerShowing;
    m_monitorShownThisRun = monitorShownThisRun;
    Q_EMIT changed();
}

} // namespace corvanta::model
