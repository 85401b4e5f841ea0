#pragma once

#include <QDate>
#include <QList>
#include <QString>

// A stock's trades and corporate actions (分红送配) played through in date order:
// the shares held, the position's cost, the dividends each action brought and the
// dividend tax (股息红利差别化个人所得税) each sale carries.
namespace corvanta::calc {

// One corporate action, its ratios per 10 shares.
struct StockEvent {
    qint64 id = 0;
    QDate record;        // 股权登记日: entitlement is the holding at the end of this day
    QDate ex;            // 除权除息日: the new shares and the cash arrive
    double cash = 0;     // 派 X 元 before tax
    double bonus = 0;    // 送 Y 股, from profits: taxable at the par value of 1 元
    double transfer = 0; // 转 Z 股, from the capital reserve: not taxable
    double rights = 0;   // 配 W 股, offered only; an accepted offer is an ordinary buy
    double rightsPrice = 0;
};

// One real trade of the stock. The amount is what was paid for a buy and what was
// received for a sale (总金额), fees included.
struct StockTrade {
    qint64 id = 0;
    QDate date;
    bool buy = true;
    qint64 shares = 0;
    double amount = 0;
};

// What one action brought.
struct EventOutcome {
    qint64 id = 0;
    QDate paid;              // the ex-date
    qint64 heldOnRecord = 0; // shares held at the end of the record date
    qint64 cashFen = 0;      // the cash before tax, in fen, rounded down
    qint64 bonusShares = 0;  // rounded down
    qint64 transferShares = 0;
    qint64 rightsOffered = 0;
    qint64 taxAtPaymentFen = 0; // withheld when paid (dividends paid before 2013)
    qint64 taxOnSalesFen = 0;   // withheld from later sales, as far as sold
    qint64 newShares() const { return bonusShares + transferShares; }
};

// What one sale carries.
struct SaleOutcome {
    qint64 id = 0;
    QDate date;
    qint64 taxFen = 0; // 红利税 withheld from this sale
    double cost = 0;   // the average cost of the shares sold
    double profit = 0; // received − cost − tax
};

struct StockHistory {
    QList<EventOutcome> events; // in the order given
    QList<SaleOutcome> sales;   // in date order
    qint64 held = 0;            // bought + bonus and transfer shares − sold
    double cost = 0;            // the cost of the shares held (average cost)
    qint64 dividendFen = 0;     // cash received before tax
    qint64 taxFen = 0;          // all dividend tax, at payment and on sales
    double realisedProfit = 0;  // of all sales, tax included
    // The cost per share of the open position; zero when nothing is held.
    double costPerShare() const { return held > 0 ? cost / double(held) : 0; }
};

// Plays the trades and actions through by date. On one day the ex-date credits
// come first, then the day's trades in the order given, then the record-date
// entitlements (an ex-date on its own record date follows the entitlement). Sales take the oldest
// shares first; bonus and transfer shares join the lot of their parent shares and count as held
// since then.
StockHistory playStockHistory(const QList<StockTrade>& trades, const QList<StockEvent>& events);

// The shares a buy of `shares` on `bought` has become by `today`: each action the
// bought shares were entitled to (record date on or after the buy) whose ex-date has
// come adds its bonus and transfer shares, rounded down, in ex-date order. A buy
// that met no such action keeps its shares.
qint64 sharesAfterEvents(qint64 shares, const QDate& bought, QList<StockEvent> events,
                         const QDate& today);

// The kind the ledger shows an event as: "送转" when it brings shares, else "分红"
// when it brings cash, else "配股".
QString eventKind(const StockEvent& event);

// The entitlement of `held` shares under the action, without any tax.
EventOutcome entitlementOf(const StockEvent& event, qint64 held);

// The dividend tax rate, in percent, for a dividend paid on `paid` on shares held
// from `since` and sold on `sold`; the holding runs to the day before the sale.
// Dividends paid before 2013 are taxed when paid, whatever the holding: -1 then.
int dividendTaxPercent(const QDate& paid, const QDate& since, const QDate& sold);
// The rate withheld at payment for a dividend paid on `paid`; 0 when the tax falls
// on the sale instead.
int taxAtPaymentPercent(const QDate& paid);

} // namespace corvanta::calc
