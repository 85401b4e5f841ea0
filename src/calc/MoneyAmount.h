#pragma once

#include "TradeUnits.h"

#include <QString>

#include <utility>

namespace corvanta {

// An amount of money kept as its 元 text, shown in 元 or 万元. The 元 text is kept
// as it was made, so showing it in 万元 and back in 元 gives it exactly: going
// through the four decimals of 万元 would lose the fen of a recorded amount. A
// 万元 text typed by the user stands for its value times 10000, in fen.
class MoneyAmount {
public:
    MoneyAmount() = default;
    static MoneyAmount fromYuan(const QString& yuan) { return MoneyAmount(yuan); }
    // The amount a text shown in `unit` stands for; a text that is no number is
    // kept as it is.
    static MoneyAmount fromShown(const QString& shown, AmountUnit unit);

    const QString& yuan() const { return m_yuan; }
    // The text shown in `unit` ("1.0035" for 10035.00 in 万元); a 元 text that is
    // no number shows as it is.
    QString shown(AmountUnit unit) const;
    bool operator==(const MoneyAmount&) const = default;

private:
    explicit MoneyAmount(QString yuan) : m_yuan(std::move(yuan)) {}
    QString m_yuan;
};

} // namespace corvanta
