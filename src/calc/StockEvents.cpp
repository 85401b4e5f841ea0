#include "StockEvents.h"

#include <QMap>

#include <algorithm>
#include <cmath>

namespace corvanta::calc {

namespace {

// Ratios and cash per 10 shares, in ten-thousandths, so that rounding down is
// exact integer arithmetic.
qint64 tenThousandths(double value)
{
    return value > 0 ? qint64(std::llround(value * 10000)) : 0;
}

qint64 sharesFor(qint64 held, double perTen)
{
    return held * tenThousandths(perTen) / 100000;
}

// Taxable income of a dividend not yet taxed, in fen, attached to a lot.
struct Pending {
    int event = 0; // index into the history's events
    QDate paid;
    double taxableFen = 0;
};

struct Lot {
    QDate since;
    qint64 shares = 0;
    QList<Pending> pending;
};

// One action's entitlement as taken at the end of its record date.
struct Entitlement {
    int event = 0;
    QList<qint64> lotShares; // the shares of each lot then, by lot index
    qint64 held = 0;
};

class Player {
public:
    Player(const QList<StockEvent>& events) : m_events(events)
    {
        m_history.events.reserve(events.size());
        for (const StockEvent& event : events) {
            EventOutcome outcome;
            outcome.id = event.id;
            outcome.paid = event.ex;
            m_history.events.append(outcome);
        }
    }

    void trade(const StockTrade& trade)
    {
        if (trade.buy) {
            m_lots.append({trade.date, trade.shares, {}});
            m_history.held += trade.shares;
            m_history.cost += trade.amount;
            return;
        }
        SaleOutcome sale;
        sale.id = trade.id;
        sale.date = trade.date;
        const qint64 held = m_history.held;
        sale.cost =
            held > 0 ? m_history.cost * double(std::min(trade.shares, held)) / double(held) : 0;
        m_history.cost -= sale.cost;
        m_history.held -= trade.shares;
        if (m_history.held <= 0)
            m_history.cost = 0;
        const double taxFen = takeLots(trade.date, trade.shares);
        sale.taxFen = qint64(std::llround(taxFen));
        sale.profit = trade.amount - sale.cost - double(sale.taxFen) / 100;
        m_history.taxFen += sale.taxFen;
        m_history.realisedProfit += sale.profit;
        m_history.sales.append(sale);
    }

    void record(int index)
    {
        Entitlement entitlement;
        entitlement.event = index;
        entitlement.held = std::max<qint64>(m_history.held, 0);
        for (const Lot& lot : m_lots)
            entitlement.lotShares.append(lot.shares);
        EventOutcome& outcome = m_history.events[index];
        const EventOutcome whole = entitlementOf(m_events[index], entitlement.held);
        outcome.heldOnRecord = whole.heldOnRecord;
        outcome.cashFen = whole.cashFen;
        outcome.bonusShares = whole.bonusShares;
        outcome.transferShares = whole.transferShares;
        outcome.rightsOffered = whole.rightsOffered;
        m_entitled.insert(index, entitlement);
    }

    void exDate(int index)
    {
        const auto found = m_entitled.constFind(index);
        if (found == m_entitled.cend())
            return; // its record date lies after its ex-date: refused on entry
        const Entitlement& entitlement = *found;
        EventOutcome& outcome = m_history.events[index];
        const StockEvent& event = m_events[index];
        m_history.held += outcome.newShares();
        m_history.dividendFen += outcome.cashFen;
        if (entitlement.held <= 0)
            return;
        const double taxableFen = double(outcome.cashFen) + double(outcome.bonusShares) * 100;
        const int atPayment = taxAtPaymentPercent(event.ex);
        if (atPayment > 0) {
            outcome.taxAtPaymentFen = qint64(std::llround(taxableFen * atPayment / 100));
            m_history.taxFen += outcome.taxAtPaymentFen;
        }
        // New shares go to the lots by their entitled shares, rounded down; the
        // shares the rounding leaves go one each to the oldest lots.
        qint64 left = outcome.newShares();
        QList<qint64> added(entitlement.lotShares.size(), 0);
        for (qsizetype i = 0; i < entitlement.lotShares.size(); ++i) {
            const qint64 lotShares = entitlement.lotShares[i];
            if (lotShares <= 0)
                continue;
            added[i] = sharesFor(lotShares, event.bonus) + sharesFor(lotShares, event.transfer);
            left -= added[i];
        }
        for (qsizetype i = 0; i < added.size() && left > 0; ++i) {
            if (entitlement.lotShares[i] > 0) {
                ++added[i];
                --left;
            }
        }
        for (qsizetype i = 0; i < added.size(); ++i) {
            const qint64 lotShares = entitlement.lotShares[i];
            if (lotShares <= 0)
                continue;
            Lot& lot = m_lots[i];
            lot.shares += added[i];
            if (atPayment == 0 && taxableFen > 0)
                lot.pending.append(
                    {index, event.ex, taxableFen * double(lotShares) / double(entitlement.held)});
        }
    }

    StockHistory finish() { return std::move(m_history); }

private:
    // Takes the sold shares from the oldest lots and returns the tax they carry.
    double takeLots(const QDate& sold, qint64 shares)
    {
        double taxFen = 0;
        for (Lot& lot : m_lots) {
            if (shares <= 0)
                break;
            if (lot.shares <= 0)
                continue;
            const qint64 take = std::min(shares, lot.shares);
            const double part = double(take) / double(lot.shares);
            for (Pending& pending : lot.pending) {
                const double taxed = pending.taxableFen * part;
                pending.taxableFen -= taxed;
                const int percent = dividendTaxPercent(pending.paid, lot.since, sold);
                const double tax = taxed * std::max(percent, 0) / 100;
                taxFen += tax;
                m_history.events[pending.event].taxOnSalesFen += qint64(std::llround(tax));
            }
            lot.shares -= take;
            shares -= take;
        }
        return taxFen;
    }

    const QList<StockEvent>& m_events;
    StockHistory m_history;
    QList<Lot> m_lots;
    QMap<int, Entitlement> m_entitled;
};

} // namespace

QString eventKind(const StockEvent& event)
{
    if (event.bonus > 0 || event.transfer > 0)
        return QStringLiteral("送转");
    if (event.cash > 0)
        return QStringLiteral("分红");
    return QStringLiteral("配股");
}

EventOutcome entitlementOf(const StockEvent& event, qint64 held)
{
    EventOutcome outcome;
    outcome.id = event.id;
    if (held <= 0)
        return outcome;
    outcome.heldOnRecord = held;
    // 元 per 10 shares in ten-thousandths: held × value / 10 / 10000 元 = / 1000 fen.
    outcome.cashFen = held * tenThousandths(event.cash) / 1000;
    outcome.bonusShares = sharesFor(held, event.bonus);
    outcome.transferShares = sharesFor(held, event.transfer);
    outcome.rightsOffered = sharesFor(held, event.rights);
    return outcome;
}

qint64 sharesAfterEvents(qint64 shares, const QDate& bought, QList<StockEvent> events,
                         const QDate& today)
{
    std::stable_sort(events.begin(), events.end(),
                     [](const StockEvent& a, const StockEvent& b) { return a.ex < b.ex; });
    for (const StockEvent& event : events) {
        if (event.record >= bought && event.ex <= today)
            shares += entitlementOf(event, shares).newShares();
    }
    return shares;
}

int taxAtPaymentPercent(const QDate& paid)
{
    return paid < QDate(2013, 1, 1) ? 10 : 0;
}

int dividendTaxPercent(const QDate& paid, const QDate& since, const QDate& sold)
{
    if (taxAtPaymentPercent(paid) > 0)
        return -1;
    const QDate heldTo = sold.addDays(-1);
    if (heldTo <= since.addMonths(1))
        return 20;
    if (heldTo <= since.addYears(1))
        return 10;
    return paid < QDate(2015, 9, 8) ? 5 : 0;
}

StockHistory playStockHistory(const QList<StockTrade>& trades, const QList<StockEvent>& events)
{
    // Every day with something on it, in order; on a day: ex-dates, trades, record dates.
    // An ex-date on its own record date follows the entitlement.
    enum Kind { ExDate = 0, Trade = 1, RecordDate = 2, LateExDate = 3 };
    struct Step {
        QDate date;
        int kind;
        qsizetype index;
    };
    QList<Step> steps;
    steps.reserve(trades.size() + 2 * events.size());
    for (qsizetype i = 0; i < trades.size(); ++i)
        steps.append({trades[i].date, Trade, i});
    for (qsizetype i = 0; i < events.size(); ++i) {
        steps.append({events[i].ex, events[i].ex == events[i].record ? LateExDate : ExDate, i});
        steps.append({events[i].record, RecordDate, i});
    }
    std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) {
        if (a.date != b.date)
            return a.date < b.date;
        return a.kind < b.kind;
    });
    Player player(events);
    for (const Step& step : steps) {
        switch (step.kind) {
        case ExDate:
        case LateExDate:
            player.exDate(int(step.index));
            break;
        case Trade:
            player.trade(trades[step.index]);
            break;
        default:
            player.record(int(step.index));
            break;
        }
    }
    return player.finish();
}

} // namespace corvanta::calc
