#pragma once

#include "EventEntry.h"
#include "StockHoldings.h"

#include <QString>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// What became of saving or deleting an event.
struct EventSaveOutcome {
    enum class Status { Saved, Refused, NeedsConfirmation, NotFound };
    Status status = Status::NotFound;
    qint64 id = 0;   // the event's row when saved
    QString message; // the refusal, or the question to confirm with
    bool saved() const { return status == Status::Saved; }
};

// Every change to the corporate actions' table fhsp. Each operation is one
// transaction: the event row and the stock's open position (bought + bonus and
// transfer shares − sold) change together; a refusal writes nothing. The first
// event written creates the table.
class EventLedger {
public:
    explicit EventLedger(sql::Database& db) : m_db(db) {}

    // Saves a new event. One held nothing on its record date is saved only when
    // `confirmed`; otherwise the outcome asks.
    EventSaveOutcome add(const EventEntry& entry, bool confirmed);
    // Replaces the terms of the event and re-derives the stock's position.
    EventSaveOutcome change(qint64 id, const EventEntry& entry, bool confirmed);
    // Deletes the event and re-derives the stock's position; refused when its
    // new shares were sold already.
    EventSaveOutcome remove(qint64 id);

    // What saving the entry would meet, writing nothing: the refusal, or the
    // entitlement text and whether nothing was held on the record date.
    struct Inspection {
        QString refusal;
        QString entitlement;
        bool nothingHeld = false;
    };
    Inspection inspect(const EventEntry& entry, qint64 ignore = 0) const;

    // The entitlement the event would bring, from the ledger's holding at the end
    // of its record date: "登记日持有 1000 股：派现 300.00 元，送转 500 股"; the
    // refusal when the entry is refused. `ignore` leaves out an event being changed.
    QString preview(const EventEntry& entry, qint64 ignore = 0) const;

    // The event's stored row.
    std::optional<StoredEvent> find(qint64 id) const;

private:
    EventSaveOutcome save(qint64 id, const EventEntry& entry, bool confirmed);

    sql::Database& m_db;
};

// The preview text of an entitlement.
QString entitlementText(const calc::EventOutcome& entitlement, const calc::StockEvent& terms);

} // namespace corvanta::ledger
