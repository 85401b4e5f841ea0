#pragma once

#include <QFlags>
#include <QObject>

#include <optional>
#include <utility>

namespace corvanta::ledger {

// What a committed change touched.
enum class LedgerChange {
    Trades = 0x1,   // gpjl: trades and open positions
    Stocks = 0x2,   // gpmc: the stock table
    Journal = 0x4,  // dxgp: the journal of candidate stocks
    Settings = 0x8, // settings rows
    Events = 0x10,  // fhsp: corporate actions; announced with Trades, as they move positions
    // gpjl's monitor marks: which stocks the monitor follows (a list command, a
    // deletion or a rename that takes a monitored name away, a cleared or restored
    // ledger).
    MonitorList = 0x20,
    // Announced with MonitorList when the floating bar's lines no longer stand for
    // the list and are built again: a stock added or removed by name, the whole
    // list at once, a restored ledger. Adding stocks by their state or dates keeps
    // the lines; the cycles append the new ones.
    TickerLines = 0x40,
};
Q_DECLARE_FLAGS(LedgerChanges, LedgerChange)
Q_DECLARE_OPERATORS_FOR_FLAGS(LedgerChanges)

// The one trade a change recorded or deleted, when that is all it did to the
// rows of the grid: a view may take that row instead of reading every row again.
struct TradeRowChange {
    enum class Kind { Recorded, Deleted };
    Kind kind = Kind::Recorded;
    qint64 id = 0;
};

// The one path by which the program's windows change the ledger file. Each
// operation runs in one transaction through the ledger's own classes, and
// `changed` is emitted once, after the commit; a refused or rolled-back change
// emits nothing. Views (the ledger grid, the summary, the monitor, the journal)
// subscribe to `changed` and refresh themselves; no caller refreshes them by hand.
class LedgerNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Called by the operations after their transaction committed.
    void announce(LedgerChanges what, std::optional<TradeRowChange> row = std::nullopt)
    {
        // A view that changes the ledger while told of a change announces its own.
        const auto outer = std::exchange(m_row, row);
        Q_EMIT changed(what);
        m_row = outer;
    }

    // While `changed` is emitted: the one trade recorded or deleted, if that was
    // the whole change; none otherwise.
    const std::optional<TradeRowChange>& tradeRowChange() const { return m_row; }

Q_SIGNALS:
    void changed(corvanta::ledger::LedgerChanges what);

private:
    std::optional<TradeRowChange> m_row;
};

} // namespace corvanta::ledger
