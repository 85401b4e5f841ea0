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

// The file belongs to something else: a table of the ledger's name lacks columns
// the ledger needs, or the file holds tables of its own and none of the ledger's.
class ForeignTableError : public std::runtime_error {
public:
    ForeignTableError(const QString& table, const QStringList& missingColumns);
    // A file whose only tables are these, none of them the ledger's.
    static ForeignTableError onlyForeignTables(const QStringList& tables);

    QString table() const { return m_table; }
    QStringList missingColumns() const { return m_missing; }
    // Why, in the user's words: "表 gpjl 缺少列 日期、数量".
    QString reason() const;

private:
    QString m_table;
    QStringList m_missing;
    QStringList m_foreignTables;
};

// True when the database holds a table of that name, compared ignoring case.
bool tableExists(sql::Database& db, const QString& name);

// Throws ForeignTableError when gpjl or gpmc is missing or lacks a column the
// ledger needs (a file to read trades and stocks from, such as a backup).
void requireTradeTables(sql::Database& db);

// Checks the columns of whichever of the ledger's tables exist (the journal's
// reminder table among them), then creates the
// missing tables, seeds a new gpjl with the sample trade and a new gpmc with the
// stock list, and creates the indexes, all in one transaction: either everything
// missing is created and seeded, or nothing is. A table lacking a column throws
// ForeignTableError before anything is written, and so does a file that holds
// tables but none of gpjl, gpmc and dxgp.
// Returns true when anything was created.
bool ensureSchema(sql::Database& db, const QList<SeedStock>& seedList);
// The same, reading the stock list only when the stock table is to be created.
using SeedListSource = std::function<QList<SeedStock>()>;
bool ensureSchemaSeededBy(sql::Database& db, const SeedListSource& seedList);
// Whether opening would leave the file as it is: its tables (the journal's
// reminders included) and indexes are all there.
bool schemaIsCurrent(sql::Database& db);

// The corporate actions' table fhsp. A ledger gets it with its first event; its
// columns are checked by ensureSchema when it exists.
bool hasEventTable(sql::Database& db);
// Creates fhsp when missing, inside the caller's transaction.
void ensureEventTable(sql::Database& db);

} // namespace corvanta::ledger
