#include "QuoteServerAddress.h"

using namespace Qt::StringLiterals;

namespace corvanta::market {

QString defaultQuoteServer()
{
    return u"http://127.0.0.1:18080"_s;
}

QString invalidQuoteServerMessage()
{
    return u"行情服务器地址无效：请输入以 http:// 开头的服务器地址，例如 http://127.0.0.1:18080，不含路径。"_s;
}

std::variant<QUrl, QString> validateQuoteServer(const QString& text)
{
    const QString trimmed = text.trimmed();
    QUrl url(trimmed, QUrl::StrictMode);
    const bool shaped = url.isValid() && url.scheme() == u"http"_s && !url.host().isEmpty() &&
                        url.userInfo().isEmpty() && !url.hasQuery() && !url.hasFragment() &&
                        (url.path().isEmpty() || url.path() == u"/"_s) &&
                        trimmed.startsWith(u"http://"_s, Qt::CaseInsensitive);
    if (!shaped)
        return invalidQuoteServerMessage();
    url.setPath(QString());
    return url;
}

QUrl quoteServerFromSetting(const std::optional<QString>& stored)
{
    if (stored) {
        if (const auto valid = validateQuoteServer(*stored); std::holds_alternative<QUrl>(valid))
            return std::get<QUrl>(valid);
    }
    return QUrl(defaultQuoteServer());
}

} // namespace corvanta::market
