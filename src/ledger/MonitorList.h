#pragma once

#include "LedgerChanges.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// One stock of the monitor list as the listing shows it: its buys summed.
struct MonitoredStock {
    QString name;
    qint64 boughtQty = 0;
    std::optional<double> averagePrice;
    std::optional<double> buyFees;
    std::optional<double> buyTotal;
};

// The monitored stocks with their buys summed, by name.
QList<MonitoredStock> monitoredStocks(sql::Database& db);

// The names of the monitored stocks, sorted.
QStringList monitoredNames(sql::Database& db);

// Whether any row of the stock named `name` is monitored; one search of the
// name's index rather than a scan of every trade.
bool nameMonitored(sql::Database& db, const QString& name);

// The monitor list: the stock names whose gpjl rows carry 监控状态 "是". Every
// change marks all rows of a name at once, runs in one transaction and, once
// committed, announces the monitor list as changed (with the floating bar's lines
// for the commands by name or for the whole list). Names are bound, never
// spliced, so a name with quotes is marked like any other.
class MonitorList {
public:
    MonitorList(sql::Database& db, LedgerNotifier& notifier) : m_db(db), m_notifier(notifier) {}

    void add(const QString& name);
    void remove(const QString& name);
    void addAll();
    void removeAll();
    // Every stock with unsold shares that is not monitored yet.
    void addUnsold();
    // Every stock bought between the two days, both included; nothing when the
    // start is after the end.
    void addBoughtBetween(const QDate& first, const QDate& last);

    // The monitored stocks with their buys summed, by name.
    QList<MonitoredStock> listing() const;
    // Whether any row is monitored.
    bool isEmpty() const;

private:
    void mark(const char* sql, const QString& name = {});
    void markNames(const char* select, const QList<QString>& parameters);

    sql::Database& m_db;
    LedgerNotifier& m_notifier;
};

} // namespace corvanta::ledger
