#pragma once

#include "calc/StockEvents.h"

#include <QHash>
#include <QList>
#include <QString>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// A stored corporate action (a row of fhsp) of one stock.
struct StoredEvent {
    calc::StockEvent terms;
    QString code;
    QString name;
    QString note;
};

// A stored date "yyyy-MM-dd"; another text reads as ISO, else invalid. The summary
// reads every trade date of stocks with events: this is many times faster than
// QDate::fromString.
QDate ledgerDate(QStringView text);

// The stock's events by record date; none when the ledger has no event table.
QList<StoredEvent> stockEvents(sql::Database& db, const QString& name);
bool hasEvents(sql::Database& db, const QString& name);
// Every event of the ledger by stock name, each stock's in stockEvents' order.
QHash<QString, QList<StoredEvent>> allStockEvents(sql::Database& db);

// The stock's real trades (not its open-position row) in ID order.
QList<calc::StockTrade> stockTrades(sql::Database& db, const QString& name);

// The stock's trades and events played through.
calc::StockHistory stockHistory(sql::Database& db, const QString& name);

// The open position of the stock: bought + bonus and transfer shares − sold. The
// one place it is derived; recording, deletion, renames, imports, restores and the
// ledger's checks all ask here. A stock without events costs two sums.
qint64 sharesHeld(sql::Database& db, const QString& name);

} // namespace corvanta::ledger
