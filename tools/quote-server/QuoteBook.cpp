#include "quote-server/QuoteBook.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace corvanta::tools {

namespace {

QString price2(double value)
{
    return QString::number(value, 'f', 2);
}

double fen(double value)
{
    return std::round(value * 100) / 100;
}

} // namespace

QuoteBook::QuoteBook(const QList<ListedStock>& stocks, quint32 seed) : m_random(seed)
{
    for (const ListedStock& stock : stocks)
        m_stocks.insert(stock.code, opening(stock));
}

QuoteBook::Trading QuoteBook::opening(const ListedStock& stock)
{
    Trading t;
    t.name = stock.name;
    // A previous close from 3 to 60 yuan that every run gives the stock alike.
    const QByteArray digest =
        QCryptographicHash::hash(stock.code.toUtf8(), QCryptographicHash::Md5);
    const int spread = (quint8(digest[0]) << 8 | quint8(digest[1])) % 5700;
    t.previousClose = 3.0 + spread / 100.0;
    t.open = fen(t.previousClose * (1 + (m_random.bounded(200) - 100) / 10000.0));
    t.price = t.high = t.low = t.open;
    return t;
}

QString QuoteBook::name(const QString& code) const
{
    return m_stocks.value(code).name;
}

QString QuoteBook::nextRecord(const QString& code, const QDateTime& now)
{
    Trading& t = m_stocks[code];
    const double limit = code.startsWith(u"300"_s) || code.startsWith(u"301"_s) ||
                                 code.startsWith(u"688"_s) || code.startsWith(u"689"_s)
                             ? 0.2
                         : t.name.contains(u"ST"_s) ? 0.05
                                                    : 0.1;
    const double step = (m_random.bounded(11) - 5) / 100.0;
    t.price = std::clamp(fen(t.price + step), fen(t.previousClose * (1 - limit)),
                         fen(t.previousClose * (1 + limit)));
    t.high = std::max(t.high, t.price);
    t.low = std::min(t.low, t.price);
    const qint64 lots = 1 + m_random.bounded(500);
    t.lots += lots;
    t.turnover += lots * 100 * t.price;
    (step >= 0 ? t.activeBuy : t.activeSell) += lots;

    const double change = t.price - t.previousClose;
    const QStringList fields{
        code,
        now.toString(u"yyyy-MM-dd"_s),
        now.toString(u"HH:mm:ss"_s),
        price2(t.price),
        QString::number(lots),
        price2(change),
        price2(change / t.previousClose * 100),
        QString::number(t.turnover / (t.lots * 100.0), 'f', 3),
        QString::number(t.lots),
        QString::number(t.turnover / 10000.0, 'f', 2),
        QString::number(t.activeBuy),
        QString::number(t.activeSell),
        price2(t.previousClose),
        price2(t.open),
        price2(t.high),
        price2(t.low),
    };
    return fields.join(u',');
}

} // namespace corvanta::tools
