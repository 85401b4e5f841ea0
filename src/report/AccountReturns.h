#pragma once

#include "AccountSeries.h"
#include "EventEffects.h"
#include "LedgerPass.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

struct StockReturn {
    QString name;
    std::optional<double> rate; // annualised; none when no rate fits
    bool held = false;          // shares still held, so valued today
    bool heldAtMarket = false;  // ... at the quoted summary's market value
};

// The money-weighted return of the whole account and of each stock. The flows
// are the real buys (out) and sells (in) by trade date and, on `today`, the value
// still held: the quoted summary's market value for a stock held with the same
// shares as then, its average cost otherwise.
struct AccountReturns {
    std::optional<double> account;
    QList<StockReturn> stocks; // in the order of their first trade
    bool marketValue = false;  // some holding is valued at market
};

// `effects`, when given, are the ledger's events read already.
AccountReturns accountReturns(sql::Database& db, const QuotedValues* quoted, QDate today,
                              const EventEffects* effects = nullptr);
// The same over a ledger already read, with its events' effects.
AccountReturns accountReturns(const LedgerPass& pass, const EventEffects& effects,
                              const QuotedValues* quoted, QDate today);

} // namespace corvanta::report
