#pragma once

#include "calc/StockEvents.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

// What one 分红送配 did to the account on its ex-date.
struct EventEffect {
    QString name; // the stock, by name as the ledger groups it
    QDate paid;   // the ex-date
    qint64 newShares = 0;
    qint64 cashFen = 0;         // the dividend before tax
    qint64 taxAtPaymentFen = 0; // withheld when paid (dividends paid before 2013)
};

// The ledger's corporate actions as the reports need them: each action's effect
// and the dividend tax each sale carries, by the sale's ID. Empty for a ledger
// without events, which then reads nothing more than the event table's name.
struct EventEffects {
    QList<EventEffect> effects;
    QHash<qint64, qint64> saleTaxFen;
};

EventEffects eventEffects(sql::Database& db);
// The same from the stocks' histories already played through.
EventEffects eventEffects(const QHash<QString, calc::StockHistory>& histories);

// The order the reports walk a ledger's rows in: by date, and on one day an
// ex-date's new shares and cash before the day's trades. `Row` has a text `date`
// and a flag `event`.
template <typename Row> bool inWalkOrder(const Row& a, const Row& b)
{
    return a.date != b.date ? a.date < b.date : a.event && !b.event;
}

} // namespace corvanta::report
