#include "SourceHosts.h"

using namespace Qt::StringLiterals;

namespace corvanta::market {

QString defaultSinaHost()
{
    return u"http://hq.sinajs.cn"_s;
}

QString defaultTencentHost()
{
    return u"http://qt.gtimg.cn"_s;
}

QString invalidSourceHostMessage()
{
    return u"行情主机地址无效：请输入以 http:// 或 https:// 开头的主机地址，例如 http://hq.sinajs.cn，不含路径。"_s;
}

std::variant<QUrl, QString> validateSourceHost(const QString& text)
{
    const QString trimmed = text.trimmed();
    QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme();
    const bool shaped = url.isValid() && (scheme == u"http"_s || scheme == u"https"_s) &&
                        !url.host().isEmpty() && url.userInfo().isEmpty() && !url.hasQuery() &&
                        !url.hasFragment() && (url.path().isEmpty() || url.path() == u"/"_s) &&
                        trimmed.startsWith(scheme + u"://"_s, Qt::CaseInsensitive);
    if (!shaped)
        return invalidSourceHostMessage();
    url.setPath(QString());
    return url;
}

QUrl sourceHostFromSetting(const std::optional<QString>& stored, const QString& fallback)
{
    if (stored) {
        if (const auto valid = validateSourceHost(*stored); std::holds_alternative<QUrl>(valid))
            return std::get<QUrl>(valid);
    }
    return QUrl(fallback);
}

} // namespace corvanta::market
