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

qint64 QuoteBook::move(Trading& t, const QString& code)
{
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
    return lots;
}

QString QuoteBook::nextRecord(const QString& code, const QDateTime& now)
{
    Trading& t = m_stocks[code];
    const qint64 lots = move(t, code);
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

QString QuoteBook::nextSinaPayload(const QString& code, const QDateTime& now)
{
    Trading& t = m_stocks[code];
    move(t, code);
    const auto p3 = [](double value) {
        return QString::number(value, 'f', 3);
    };
    QStringList f{t.name,
                  p3(t.open),
                  p3(t.previousClose),
                  p3(t.price),
                  p3(t.high),
                  p3(t.low),
                  p3(t.price - 0.01),
                  p3(t.price),
                  QString::number(t.lots * 100),
                  p3(t.turnover)};
    for (int level = 1; level <= 5; ++level) // bids: volume, price
        f << QString::number(level * 1000) << p3(t.price - 0.01 * level);
    for (int level = 0; level < 5; ++level) // asks
        f << QString::number(level * 900 + 100) << p3(t.price + 0.01 * level);
    f << now.toString(u"yyyy-MM-dd"_s) << now.toString(u"HH:mm:ss"_s) << u"00"_s << QString();
    return f.join(u',');
}

QString QuoteBook::nextTencentPayload(const QString& code, const QDateTime& now)
{
    Trading& t = m_stocks[code];
    move(t, code);
    const bool star = code.startsWith(u"688"_s) || code.startsWith(u"689"_s);
    const QString volume = QString::number(star ? t.lots * 100 : t.lots);
    const double change = t.price - t.previousClose;
    QStringList f{code.startsWith(u'6') ? u"1"_s : u"51"_s,
                  t.name,
                  code,
                  price2(t.price),
                  price2(t.previousClose),
                  price2(t.open),
                  volume,
                  QString::number(t.activeBuy),
                  QString::number(t.activeSell)};
    for (int level = 1; level <= 5; ++level) // bids: price, volume
        f << price2(t.price - 0.01 * level) << QString::number(level * 10);
    for (int level = 0; level < 5; ++level) // asks
        f << price2(t.price + 0.01 * level) << QString::number(level * 9 + 1);
    f << QString() << now.toString(u"yyyyMMddHHmmss"_s) << price2(change)
      << price2(change / t.previousClose * 100) << price2(t.high) << price2(t.low)
      << price2(t.price) + u"/"_s + volume + u"/"_s + QString::number(t.turnover, 'f', 0) << volume
      << QString::number(t.turnover / 10000.0, 'f', 0) << u"0.50"_s;
    for (int more = 0; more < 12; ++more)
        f << u"0.00"_s;
    f << QString::number(t.turnover / (t.lots * 100.0), 'f', 2) << u"GP-A"_s;
    return f.join(u'~');
}

} // namespace corvanta::tools
