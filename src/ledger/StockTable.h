#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <stdexcept>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// One stock of the stock table gpmc.
struct StockRow {
    qint64 id = 0;
    QString code;   // gpid
    QString name;   // gpmc
    QString pinyin; // gppy
};

// A rename that would leave a name with more shares sold than bought. what()
// holds the message too, as UTF-8.
class RenameRefused : public std::runtime_error {
public:
    explicit RenameRefused(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// The stock table: finding stocks by code or pinyin initials, adding and renaming.
// Settings rows that share the table are never returned as stocks.
class StockTable {
public:
    explicit StockTable(sql::Database& db) : m_db(db) {}

    // Rows in id order whose code begins with `text` when it begins with a digit,
    // otherwise whose pinyin begins with `text` in upper case. The text matches
    // literally ("%" and "_" are no wildcards). At most `limit` rows when limit > 0.
    QList<StockRow> lookup(const QString& text, int limit = 0) const;

    // The first row of that exact code, if any.
    std::optional<StockRow> findByCode(const QString& code) const;

    // Adds a new stock row.
    void addStock(const QString& code, const QString& name, const QString& pinyin);

    // Renames every stock row of the code and every ledger row of the code (the
    // open-position row included), then re-derives the open positions of every
    // name involved, in one transaction. Renaming onto the name of another held
    // stock leaves one open position for both; renaming back gives each name its
    // own shares again. A rename after which any of those names would have sold
    // more than it bought (more than it had already) throws RenameRefused and
    // changes nothing.
    void renameStock(const QString& code, const QString& name, const QString& pinyin);

private:
    sql::Database& m_db;
};

} // namespace corvanta::ledger
