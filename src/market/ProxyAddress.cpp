#include "ProxyAddress.h"

#include <QStringList>

namespace corvanta {

bool isValidProxyHost(const QString& host)
{
    if (host.contains(u'X'))
        return false;
    const QStringList parts = host.split(u'.');
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = parts[i].toInt(&ok);
        if (!ok || value < 0 || value > 255)
            return false;
    }
    return true;
}

std::optional<ProxyAddress> parseProxyEntry(const QString& entry)
{
    const QString text = entry.trimmed();
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0)
        return std::nullopt;
    const QString host = text.left(colon);
    bool ok = false;
    const int port = text.mid(colon + 1).toInt(&ok);
    if (!ok || port < 1 || port > 65535 || !isValidProxyHost(host))
        return std::nullopt;
    return ProxyAddress{host, port};
}

} // namespace corvanta
