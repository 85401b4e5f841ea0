#include "StockInfoLink.h"

#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

QString stockInfoCaption(const QString& name)
{
    return u"打开"_s + name + u"相关资讯网页"_s;
}

QUrl stockInfoUrl(const QString& code)
{
    QUrl url(stockInfoHost.toString() + u"/q/bc.php"_s);
    QUrlQuery query;
    query.addQueryItem(u"code"_s, QString::fromLatin1(QUrl::toPercentEncoding(code)));
    url.setQuery(query);
    return url;
}

} // namespace corvanta::windows
