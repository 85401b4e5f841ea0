#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QRandomGenerator>
#include <QString>

namespace corvanta::tools {

struct ListedStock {
    QString code;
    QString name;
};

// The day's trading of the listed stocks: every quote moves the price a little
// (within the day's limits) and adds some volume.
class QuoteBook {
public:
    QuoteBook(const QList<ListedStock>& stocks, quint32 seed);

    bool lists(const QString& code) const { return m_stocks.contains(code); }
    QString name(const QString& code) const;

    // The stock's quote record after one more move: code, date, time, price, lots,
    // change, ratio, average, volume, turnover, active buy, active sell, previous
    // close, open, high, low.
    QString nextRecord(const QString& code, const QDateTime& now);

    // The same move in the real sources' layouts (the text between the quotes):
    // Sina's comma-separated fields with volume in shares and turnover in yuan,
    // ending with a comma; Tencent's "~"-separated fields with volume in lots (in
    // shares for STAR codes) and turnover in 万元.
    QString nextSinaPayload(const QString& code, const QDateTime& now);
    QString nextTencentPayload(const QString& code, const QDateTime& now);

private:
    struct Trading {
        QString name;
        double previousClose = 0;
        double open = 0;
        double price = 0;
        double high = 0;
        double low = 0;
        qint64 lots = 0;
        double turnover = 0;
        qint64 activeBuy = 0;
        qint64 activeSell = 0;
    };

    Trading opening(const ListedStock& stock);
    // Moves the price one step; the lots traded in the step.
    qint64 move(Trading& t, const QString& code);

    QHash<QString, Trading> m_stocks;
    QRandomGenerator m_random;
};

} // namespace corvanta::tools
