#pragma once

#include "LedgerView.h"
#include "calc/StockEvents.h"

#include <QHash>
#include <QList>

#include <optional>

namespace corvanta::ledger {

// The ledger grid shows each corporate action (分红送配) as a row of its own on its
// ex-date. Its ID in the grid is the negated fhsp ID, so no trade's ID is ever taken
// for it: selecting or deleting it finds no trade.
inline bool isEventRowId(qint64 id)
{
    return id < 0;
}

// The trades' IDs in grid order with the events' rows put in: by date, an event
// comes before the trades of its ex-date; by name, within its stock's group. A
// ledger without events gives the IDs unchanged, after one look at the schema.
QList<qint64> withEventRows(sql::Database& db, QList<qint64> tradeIds, LedgerSortOrder order);

// Whether the grid shows rows of events: the ledger has at least one.
bool gridHasEventRows(sql::Database& db);

// Reads the rows of events for one block of the grid, each stock's history once.
class EventRowReader {
public:
    explicit EventRowReader(sql::Database& db) : m_db(db) {}
    // The event row of that grid ID; none when the event is gone.
    std::optional<LedgerRow> row(qint64 gridId);

private:
    sql::Database& m_db;
    QHash<QString, QHash<qint64, calc::EventOutcome>> m_outcomes; // by name, by event ID
};

} // namespace corvanta::ledger
