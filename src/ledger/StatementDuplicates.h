#pragma once

#include "StatementTrade.h"

#include <QList>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// The line numbers of the statement trades that the ledger already holds: a real
// trade of the same date, code, operation, shares and price. Each ledger trade
// accounts for one line at most, so a statement with two equal lines against one
// recorded trade reports one duplicate.
QList<int> duplicateLines(sql::Database& db, const QList<StatementTrade>& trades);

} // namespace corvanta::ledger
