#pragma once

#include "calc/FeeRates.h"

#include <QDate>
#include <QString>

#include <variant>

namespace corvanta::ledger {

// A priced trade as the trade inputs show it, ready to be recorded. The amount
// texts must be in 元 (convert them back from 万元 before recording).
struct TradeEntry {
    QDate date;
    QString code;
    QString name; // the trade box caption
    Direction direction = Direction::Buy;
    QString quantity;       // as typed, in units of `unitMultiplier` shares
    int unitMultiplier = 1; // 1 for shares, 100 for lots
    QString price;
    QString totalFees;
    QString total; // paid or received
    QString stampDuty;
    QString commission;
    QString transferAndOther; // transfer fee plus other fee
    QString breakEven;        // price; only a buy needs it
    QString otherFee;
    // The rates the trade was priced with, per mille, as typed. An empty text is
    // not checked (a caller that has no rate inputs).
    QString stampRate;
    QString commissionRate;
};

// The numbers a TradeEntry's texts show.
struct TradeValues {
    QString date; // "yyyy-MM-dd"
    qint64 shares = 0;
    double price = 0;
    double fees = 0;
    double total = 0;
    double stampDuty = 0;
    double commission = 0;
    double transferFee = 0;
    double breakEven = 0;
    double otherFee = 0;
};

// The values of the entry, or the message refusing it when a text does not convert,
// the quantity is below one share, the stock has no name or code, a fee or rate is
// negative, or a rate is above 100‰.
std::variant<TradeValues, QString> readTradeEntry(const TradeEntry& entry);

} // namespace corvanta::ledger
