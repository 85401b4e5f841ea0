#include "ConnectionCheck.h"

#include <QFile>
#include <QNetworkInterface>

namespace corvanta::market {

namespace {

// Route flags of the kernel's tables.
constexpr unsigned routeUp = 0x0001, routeRejects = 0x0200;

QByteArray readTable(const char* path)
{
    QFile table(QString::fromLatin1(path));
    return table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
}

bool allZero(QByteArrayView hex)
{
    return !hex.isEmpty() && hex.count('0') == hex.size();
}

unsigned hexValue(QByteArrayView hex)
{
    bool ok = false;
    const unsigned value = hex.toByteArray().toUInt(&ok, 16);
    return ok ? value : 0;
}

// After a header line: Iface Destination Gateway Flags RefCnt Use Metric Mask ….
std::optional<bool> ipv4Default(QByteArrayView table)
{
    std::optional<bool> found;
    bool header = true;
    for (const QByteArray& line : table.toByteArray().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (header) {
            // A table read whole with no route in it says "not connected".
            header = false;
            if (fields.size() >= 8)
                found = false;
            continue;
        }
        if (fields.size() < 8)
            continue;
        if (fields[0] != "lo" && allZero(fields[1]) && allZero(fields[7]) &&
            (hexValue(fields[3]) & routeUp) && !(hexValue(fields[3]) & routeRejects))
            return true;
    }
    return found;
}

// Destination, its prefix, source, its prefix, next hop, metric, references, use,
// flags, interface: ten fields, no header.
std::optional<bool> ipv6Default(QByteArrayView table)
{
    std::optional<bool> found;
    for (const QByteArray& line : table.toByteArray().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 10)
            continue;
        found = found.value_or(false);
        const unsigned flags = hexValue(fields[8]);
        if (fields[9] != "lo" && allZero(fields[0]) && allZero(fields[1]) && (flags & routeUp) &&
            !(flags & routeRejects))
            return true;
    }
    return found;
}

} // namespace

std::optional<bool> hasDefaultRoute(QByteArrayView ipv4Table, QByteArrayView ipv6Table)
{
    const std::optional<bool> ipv4 = ipv4Default(ipv4Table), ipv6 = ipv6Default(ipv6Table);
    if (!ipv4 && !ipv6)
        return std::nullopt;
    return ipv4.value_or(false) || ipv6.value_or(false);
}

// The kernel's routing tables rather than Qt's network information: its backends
// are all loaded at once, and one of them brings GLib's I/O library and its types
// into the program, some megabytes for the answer a default route gives.
bool SystemConnectionCheck::isConnected()
{
    if (const std::optional<bool> routed =
            hasDefaultRoute(readTable("/proc/net/route"), readTable("/proc/net/ipv6_route")))
        return *routed;
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
