#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

struct EventEffects;

// Money is kept in whole fen throughout, so running sums never drift.

// The account after the last row of one trade date.
struct MoneyPoint {
    QString date;           // yyyy-MM-dd
    qint64 invested = 0;    // new money put in so far
    qint64 cash = 0;        // left over from sells, not yet spent
    qint64 holdingCost = 0; // unsold shares at their average cost, fees included
};

// One real sell and what it made, or one cash dividend received.
struct SellProfit {
    QString date;
    QString code;
    QString name;
    // A sell's proceeds after fees and the dividend tax it bears, minus the average
    // cost of the shares sold; zero for a dividend.
    qint64 profit = 0;
    // All sells' profit and the dividends less any tax withheld when paid, up to and
    // including this one.
    qint64 cumulative = 0;
    qint64 dividend = 0; // a dividend's cash before tax; zero for a sell
};

// One stock with unsold shares.
struct OpenPosition {
    QString code;
    QString name;
    qint64 shares = 0;
    qint64 cost = 0;  // at the average cost, fees included
    qint64 value = 0; // the market value when quoted, else the cost
    bool quoted = false;
};

// What the positions page says of a position when pointed at: its shares (after
// 送转) and its cost, and the market value when quoted.
QString positionTip(const OpenPosition& position);

struct AccountSeries {
    QList<MoneyPoint> money; // by trade date
    // The holdings' market value today, drawn after the last money point.
    std::optional<qint64> marketValue;
    // By date, then recording order; a day's dividends before its sells.
    QList<SellProfit> profits;
    QList<OpenPosition> positions; // largest value first
    bool events = false;           // a 分红送配 moved shares or money
};

// One held stock of a quoted summary: its unsold shares then and their market
// value after selling fees, in fen.
struct QuotedHolding {
    qint64 shares = 0;
    qint64 value = 0;
};

// The held stocks of a quoted summary by stock name.
using QuotedValues = QHash<QString, QuotedHolding>;

// Walks the ledger by date, then recording order. Each stock keeps a pool of
// shares and their cost: a buy adds its total, a sell takes out the average
// cost of the shares it sold. Open-position rows move nothing; a row of another
// state pays like a buy but buys no shares. A 分红送配 comes first on its ex-date:
// its bonus and transfer shares join the pool at no cost and its cash (less a tax
// withheld when paid) is income; the dividend tax a sell bears lowers its profit
// and is paid from the cash after it. With `quoted`, held stocks found in
// it with the same number of shares are valued at its figure (a stock traded
// since then keeps its cost), and the sum is the last money point's market
// value. `effects`, when given, are the ledger's events read already: a window
// drawing several reports reads them once.
AccountSeries accountSeries(sql::Database& db, const QuotedValues* quoted = nullptr,
                            const EventEffects* effects = nullptr);

} // namespace corvanta::report
