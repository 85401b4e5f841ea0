#pragma once

#include <QString>

#include <optional>

namespace corvanta::sql {
class Database;
}

// The gpjl queries that recording and deletion share. All rows of one stock are
// those of its name. Not part of the ledger's public interface.
namespace corvanta::ledger::rows {

// The stock's open-position row: the first 虚拟卖出 "真" row in ID order.
struct OpenPosition {
    qint64 id = 0;
    qint64 shares = 0;
};
std::optional<OpenPosition> findOpenPosition(sql::Database& db, const QString& name);

// What an open-position row starts with.
struct NewOpenPosition {
    QString date;
    QString code;
    QString name;
    qint64 shares = 0;
    std::optional<double> price;
    std::optional<double> fees; // with the total, absent when re-created by a deletion
    std::optional<double> total;
    std::optional<QString> monitor; // 监控状态; absent leaves the column default
};
void insertOpenPosition(sql::Database& db, const NewOpenPosition& row);

// Adds `delta` shares (negative to take away) to the row.
void changeShares(sql::Database& db, qint64 id, qint64 delta);
void deleteRow(sql::Database& db, qint64 id);

qint64 sharesBought(sql::Database& db, const QString& name);
// Real sells only; the open-position row is no sale.
qint64 sharesSold(sql::Database& db, const QString& name);
bool hasRealSells(sql::Database& db, const QString& name);

// The first buy row of the stock in ID order, for its date and code.
struct FirstBuy {
    QString date;
    QString code;
};
std::optional<FirstBuy> findFirstBuy(sql::Database& db, const QString& name);

// When any row of the stock is on the monitor list, puts all its rows on it.
void spreadMonitorMark(sql::Database& db, const QString& name);

// Makes the stock's open position what its trades and events say: one row holding
// sharesHeld, none when that is not positive. The first
// existing row stays, with its price and amounts; further ones go. A missing row
// is made from the first buy as recording that buy made it.
void rederiveOpenPosition(sql::Database& db, const QString& name);

} // namespace corvanta::ledger::rows
