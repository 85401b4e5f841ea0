#include "SinaQuoteSource.h"

#include "BrowserHeaders.h"
#include "QuotePageSource.h"
#include "SourceRecord.h"

using namespace Qt::StringLiterals;

namespace corvanta::market {

namespace {

// Name, open, previous close, last, high, low, bid, ask, volume, turnover, ten
// book levels, date, time: the status after them may be missing.
constexpr qsizetype fieldsNeeded = 32;

// Sina writes every price with three decimals; a share's price has two, so a third
// decimal of 0 goes ("6.940" is shown "6.94", a fund's "1.235" stays) and the price
// fits the program's fields as the other sources' prices do.
QString shortPrice(const QString& text)
{
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0 && text.size() - point == 4 && text.endsWith(u'0'))
        return text.chopped(1);
    return text;
}

QString priceOf(const QString& text)
{
    return priceOrDash(shortPrice(text));
}

} // namespace

SinaQuoteSource::SinaQuoteSource(QUrl host) : m_host(std::move(host)) {}

QString SinaQuoteSource::sourceName()
{
    return u"新浪"_s;
}

QNetworkRequest SinaQuoteSource::request(const QStringList& codes) const
{
    QUrl url = m_host;
    url.setPath(u"/list="_s + prefixedCodes(codes).join(u','));
    QNetworkRequest request(url);
    request.setRawHeader("Referer", referer.toByteArray());
    request.setRawHeader("User-Agent", browserUserAgent.toByteArray());
    request.setRawHeader("Accept", "*/*");
    return request;
}

std::optional<QString> sinaRecord(const QString& code, const QString& payload)
{
    // Recent replies end with a comma after the status: an empty last field.
    const QStringList f = payload.split(u',');
    if (f.size() < fieldsNeeded)
        return std::nullopt;
    const std::optional<double> previousClose = decimalValue(f[2]);
    const std::optional<double> last = decimalValue(f[3]);
    if (!previousClose || !last)
        return std::nullopt;

    SourceRecord r;
    r.code = code;
    r.date = f[30];
    r.time = f[31];
    // Before the day's first trade, open, last, high and low are 0.
    r.price = priceOf(f[3]);
    if (*last > 0) {
        const double change = *last - *previousClose;
        r.change = withDecimals(change, decimalsOf(shortPrice(f[3]), 2));
        if (*previousClose > 0)
            r.changeRatio = withDecimals(change / *previousClose * 100, 2);
    }
    const std::optional<double> shares = decimalValue(f[8]);
    const std::optional<double> turnover = decimalValue(f[9]);
    r.lots = lotsOfShares(shares);
    r.volume = shares ? f[8] : u"-"_s;
    r.turnover = turnover ? f[9] : u"-"_s;
    r.averagePrice = averageOf(turnover, shares);
    r.previousClose = priceOf(f[2]);
    r.open = priceOf(f[1]);
    r.high = priceOf(f[4]);
    r.low = priceOf(f[5]);
    return r.line();
}

std::optional<QStringList> SinaQuoteSource::records(const QByteArray& body,
                                                    const QStringList& codes) const
{
    const QString text = gbkText(body);
    // Anything else (a refusal page, an error text) is not a quote reply.
    if (!text.trimmed().startsWith(u"var hq_str_"_s))
        return std::nullopt;
    return recordsOfCodes(text, u"var hq_str_", codes, sinaRecord);
}

} // namespace corvanta::market
