#include "InfoPages.h"

#include "windows/StockInfoLink.h"

#include <QUrlQuery>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::app {

QString infoPortalName(InfoPortal portal)
{
    switch (portal) {
    case InfoPortal::Sohu:
        return u"搜狐"_s;
    case InfoPortal::Sina:
        return u"新浪"_s;
    case InfoPortal::Hexun:
        break;
    }
    return u"和讯"_s;
}

QUrl infoPageUrl(InfoPortal portal, const QString& code)
{
    if (portal == InfoPortal::Hexun) {
        QUrl url(hexunPortalHost.toString() + u"/idio_01.aspx"_s);
        QUrlQuery query;
        query.addQueryItem(u"stockcode"_s, QString::fromLatin1(QUrl::toPercentEncoding(code)));
        url.setQuery(query);
        return url;
    }
    if (portal == InfoPortal::Sina) {
        const QString exchange = code.startsWith(u'6')                            ? u"sh"_s
                                 : code.startsWith(u'0') || code.startsWith(u'3') ? u"sz"_s
                                                                                  : QString();
        const bool digits =
            std::all_of(code.begin(), code.end(), [](QChar c) { return c.isDigit(); });
        if (!exchange.isEmpty() && digits) {
            QUrl url(sinaPortalHost.toString());
            url.setPath(u"/realstock/company/"_s + exchange + code + u"/zjld.shtml"_s);
            return url;
        }
    }
    return windows::stockInfoUrl(code);
}

} // namespace corvanta::app
