#include "TradeEntry.h"

#include "LedgerMessages.h"
#include "calc/Numbers.h"
#include "calc/PlaceholderStock.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

// No listed company has this many shares; it keeps every sum of quantities far
// from integer overflow.
constexpr qint64 maxShares = 1'000'000'000'000;

// No stamp duty or commission has ever come near a tenth of the amount.
constexpr double highestRate = 100; // per mille

// A number field and the caption the user knows it by.
struct NumberField {
    const QString& text;
    QStringView caption;
    double& value;
    bool isFee = false; // a fee is never below zero
};

// The refusal of a rate text, if any; an empty text is not checked.
std::optional<QString> refuseRate(const QString& text, QStringView caption)
{
    if (text.isEmpty())
        return std::nullopt;
    const std::optional<double> rate = num::parseNumber(text);
    if (!rate)
        return caption + messages::notANumber;
    if (*rate < 0)
        return caption + messages::negativeFee;
    if (*rate > highestRate)
        return caption + messages::rateTooHigh;
    return std::nullopt;
}

bool hasNoName(const TradeEntry& entry)
{
    return entry.name.trimmed().isEmpty() || entry.name == placeholderName ||
           entry.code.trimmed().isEmpty();
}

} // namespace

std::variant<TradeValues, QString> readTradeEntry(const TradeEntry& entry)
{
    if (entry.unitMultiplier < 1)
        throw std::invalid_argument("the unit multiplier must be positive");
    if (hasNoName(entry))
        return messages::noName.toString();

    TradeValues values;
    if (!entry.date.isValid())
        return messages::dateInvalid.toString();
    values.date = entry.date.toString(u"yyyy-MM-dd"_s);

    const std::optional<qint64> quantity = num::parseInteger(entry.quantity);
    if (!quantity)
        return messages::quantityNotWhole.toString();
    if (*quantity < 1)
        return messages::quantityBelowOne.toString();
    if (*quantity > maxShares / entry.unitMultiplier)
        return messages::quantityTooLarge.toString();
    values.shares = *quantity * entry.unitMultiplier;

    const bool buy = entry.direction == Direction::Buy;
    const NumberField fields[] = {
        {entry.price, u"价格", values.price},
        {entry.totalFees, u"总费用", values.fees, true},
        {entry.total, u"总金额", values.total},
        {entry.stampDuty, u"印花税", values.stampDuty, true},
        {entry.commission, u"手续费", values.commission, true},
        {entry.transferAndOther, u"过户费", values.transferFee, true},
        {entry.otherFee, u"其它费用", values.otherFee, true},
    };
    for (const NumberField& field : fields) {
        const std::optional<double> number = num::parseNumber(field.text);
        if (!number)
            return field.caption.toString() + messages::notANumber;
        if (field.isFee && *number < 0)
            return field.caption.toString() + messages::negativeFee;
        field.value = *number;
    }
    if (auto refusal = refuseRate(entry.stampRate, u"印花税率"))
        return *refusal;
    if (auto refusal = refuseRate(entry.commissionRate, u"佣金费率"))
        return *refusal;
    if (buy) {
        const std::optional<double> breakEven = num::parseNumber(entry.breakEven);
        if (!breakEven)
            return u"保本价格"_s + messages::notANumber;
        values.breakEven = *breakEven;
    }
    return values;
}

} // namespace corvanta::ledger
