#include "ConnectionCheck.h"

#include <QNetworkInformation>
#include <QNetworkInterface>

namespace corvanta::market {

bool SystemConnectionCheck::isConnected()
{
    if (!m_backendLoaded)
        m_backendLoaded =
            QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    if (*m_backendLoaded) {
        if (const QNetworkInformation* info = QNetworkInformation::instance()) {
            switch (info->reachability()) {
            case QNetworkInformation::Reachability::Disconnected:
                return false;
            case QNetworkInformation::Reachability::Local:
            case QNetworkInformation::Reachability::Site:
            case QNetworkInformation::Reachability::Online:
                return true;
            case QNetworkInformation::Reachability::Unknown:
                break;
            }
        }
    }
    return someInterfaceIsUp();
}

bool someInterfaceIsUp()
{
    const auto wanted = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        if ((iface.flags() & wanted) != wanted || (iface.flags() & QNetworkInterface::IsLoopBack))
            continue;
        if (!iface.addressEntries().isEmpty())
            return true;
    }
    return false;
}

} // namespace corvanta::market
