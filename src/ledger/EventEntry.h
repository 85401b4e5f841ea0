#pragma once

#include "calc/StockEvents.h"

#include <QDate>
#include <QString>

#include <variant>

namespace corvanta::ledger {

// A corporate action (分红送配) as typed: the ratios per 10 shares as texts; an
// empty text is zero.
struct EventEntry {
    QString code;
    QString name;
    QDate record;
    QDate ex;
    QString cash;     // 派 X 元 before tax
    QString bonus;    // 送 Y 股
    QString transfer; // 转 Z 股
    QString rights;   // 配 W 股
    QString rightsPrice;
    QString note;
};

// The action's terms, or the message refusing it: no stock, an invalid date, a
// record date after the ex-date, a ratio that is not a number or is negative, an
// action bringing nothing, a rights issue without its price.
std::variant<calc::StockEvent, QString> readEventEntry(const EventEntry& entry);

} // namespace corvanta::ledger
