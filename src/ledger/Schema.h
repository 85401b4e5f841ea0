#pragma once

#include <QList>
#include <QString>

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

// True when the database holds a table of that name, compared ignoring case.
bool tableExists(sql::Database& db, const QString& name);

// Creates whichever of the three tables is missing and seeds a new gpjl with the
// sample trade and a new gpmc with the stock list, all in one transaction: either
// everything missing is created and seeded, or nothing is.
// Returns true when anything was created.
bool ensureSchema(sql::Database& db, const QList<SeedStock>& seedList);

} // namespace corvanta::ledger
