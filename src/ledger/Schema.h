#pragma once

#include <QList>

#include <QString>
#include <QStringList>
#include <functional>

#include <stdexcept>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// One entry of the shipped stock list.
struct SeedStock {
    QString code;
    QString name;
    QString pinyin;
};

// A table of the ledger's name lacks columns the ledger needs: the file belongs
// to something else.
class ForeignTableError : public std::runtime_error {
public:
    ForeignTableError(const QString& table, const QStringList& missingColumns);
    QString table() const { return m_table; }
    QStringList missingColumns() const { return m_missing; }

private:
    QString m_table;
    QStringList m_missing;
};

// True when the database holds a table of that name, compared ignoring case.
bool tableExists(sql::Database& db, const QString& name);

// Throws ForeignTableError when gpjl or gpmc is missing or lacks a column the
// ledger needs (a file to read trades and stocks from, such as a backup).
void requireTradeTables(sql::Database& db);

// Checks the columns of whichever of the three tables exist, then creates the
// missing tables, seeds a new gpjl with the sample trade and a new gpmc with the
// stock list, and creates the indexes, all in one transaction: either everything
// missing is created and seeded, or nothing is. A table lacking a column throws
// ForeignTableError before anything is written.
// Returns true when anything was created.
bool ensureSchema(sql::Database& db, const QList<SeedStock>& seedList);
// The same, reading the stock list only when the stock table is to be created.
using SeedListSource = std::function<QList<SeedStock>()>;
bool ensureSchemaSeededBy(sql::Database& db, const SeedListSource& seedList);

} // namespace corvanta::ledger
