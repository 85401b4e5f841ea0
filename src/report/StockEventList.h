#pragma once

#include "ledger/StockHoldings.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvanta::sql {
class Database;
}

// A stock's 分红送配 and what each brought, as the 分红送配 window and the
// command line show them.
namespace corvanta::report {

struct EventListRow {
    ledger::StoredEvent event;
    calc::EventOutcome outcome;
    QStringList cells; // under eventListTitles()
};

// "10派3元送2股转3股", "10配3股(8元)".
QString eventScheme(const calc::StockEvent& terms);
// The kind the ledger grid shows an event as: "送转" when it brings shares, else
// "分红" when it brings cash, else "配股".
QString eventKind(const calc::StockEvent& terms);

QStringList eventListTitles();
// The stock's events by record date, each with what it brought and the dividend
// tax it carried, at payment and on the sales so far.
QList<EventListRow> eventList(sql::Database& db, const QString& name);

// The name the ledger keeps the code's trades under, else its stock-table name.
std::optional<QString> stockNameOfCode(sql::Database& db, const QString& code);

// The titles and rows of every event of the ledger, for the ledger's export;
// no rows when it has none.
QStringList eventExportTitles();
QList<QStringList> eventExportRows(sql::Database& db);

} // namespace corvanta::report
