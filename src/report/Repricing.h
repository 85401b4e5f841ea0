#pragma once

#include "calc/FeeRates.h"
#include "ledger/FeeRuleSetting.h"

#include <QList>
#include <QString>

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

// Stamp duty, commission and transfer fee (the transfer-and-other amount less the
// other fee) of one trade, in fen.
struct TradeFeeParts {
    qint64 stampDuty = 0;
    qint64 commission = 0;
    qint64 transferFee = 0;
    bool operator==(const TradeFeeParts&) const = default;
};

// A recorded trade whose stored fees differ from what the chosen rules charge.
struct RepricedTrade {
    qint64 id = 0;
    QString date;
    QString code;
    QString name;
    Direction direction = Direction::Buy;
    qint64 shares = 0;
    double price = 0;
    TradeFeeParts stored;
    TradeFeeParts chosen;
};

// The fees the rules charge a trade of `shares` at `price`: the rates of the
// trade's side and the 5-yuan minimum with the rates set; the rules of the trade
// date, the side's commission rate and the minimum set under the rules by date.
// The market comes from the code, as for a held stock's sell fees.
TradeFeeParts chargedFees(const ledger::FeeRuleSetting& rule, const FeeRates& rates,
                          const QString& date, const QString& code, Direction direction,
                          qint64 shares, double price);

// Every real trade of the ledger, by id, whose stored fees differ by a fen or more
// from the rules chosen. Reads only.
QList<RepricedTrade> repricedTrades(sql::Database& db, const ledger::FeeRuleSetting& rule,
                                    const FeeRates& rates);

} // namespace corvanta::report
