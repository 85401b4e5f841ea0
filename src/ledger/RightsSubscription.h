#pragma once

#include "TradeEntry.h"

#include <QDate>
#include <QString>

#include <optional>
#include <variant>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// A rights issue (配股) as the ledger's holding is offered it: the shares held at
// the end of the record date × W / 10, rounded down, at the rights price. Taking
// it up (配股缴款) is an ordinary buy on the ex-date.
struct RightsOffer {
    qint64 eventId = 0;
    QString code;
    QString name;
    QDate ex;
    qint64 shares = 0;
    double price = 0;
    // A buy of these shares at this price on the ex-date is in the ledger already.
    bool paid = false;
};

// The event's offer; none when the event is gone, has no rights or no price, or
// nothing was held on its record date.
std::optional<RightsOffer> rightsOffer(sql::Database& db, qint64 eventId);

// The 是/否 question before paying: the count, the price and the day.
QString rightsQuestion(const RightsOffer& offer);

// The buy that pays for the offer, priced like a buy typed into the trade inputs:
// the saved buy rates, the fee rule in force (by trade date: the ex-date's) and the
// stock's market. The refusal when it cannot be priced.
std::variant<TradeEntry, QString> rightsPurchase(sql::Database& db, const RightsOffer& offer);

} // namespace corvanta::ledger
