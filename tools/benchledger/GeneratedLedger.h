#pragma once

// A ledger of many generated trades, for the benchmarks and for trying the
// program on a ledger of the size an active trader reaches after years.

#include "ledger/Schema.h"

#include <QList>
#include <QString>

namespace corvanta::sql {
class Database;
}

namespace corvanta::tools {

QString benchStockName(int stock);
// Shanghai, Shenzhen and ChiNext codes in turn.
QString benchStockCode(int stock);
// The price of a stock on the generated ledger's `day`-th day.
double benchPrice(int stock, int day);
// The stock table of a generated ledger: `stocks` stocks.
QList<ledger::SeedStock> benchStocks(int stocks);

// Replaces the trades of a ledger whose tables exist with `trades` real trades
// over `stocks` stocks, one transaction. Per stock, buys of 1000 and sells of
// 500 alternate day by day from 2007-01-01, so every stock holds shares and has
// its open-position row (one row more per stock).
void fillBenchLedger(sql::Database& db, int trades, int stocks);

} // namespace corvanta::tools
