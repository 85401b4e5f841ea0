#include "EventEntry.h"

#include "LedgerMessages.h"
#include "calc/Numbers.h"
#include "calc/PlaceholderStock.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

// No company ever gave a thousand shares, or a thousand 元, per 10 shares.
constexpr double highestRatio = 1000;

struct RatioField {
    const QString& text;
    QStringView caption;
    double& value;
};

} // namespace

std::variant<calc::StockEvent, QString> readEventEntry(const EventEntry& entry)
{
    namespace m = messages::events;
    if (entry.name.trimmed().isEmpty() || entry.name == placeholderName ||
        entry.code.trimmed().isEmpty())
        return messages::noName.toString();
    if (!entry.record.isValid())
        return m::recordInvalid.toString();
    if (!entry.ex.isValid())
        return m::exInvalid.toString();
    if (entry.record > entry.ex)
        return m::recordAfterEx.toString();

    calc::StockEvent terms;
    terms.record = entry.record;
    terms.ex = entry.ex;
    const RatioField fields[] = {{entry.cash, u"派现", terms.cash},
                                 {entry.bonus, u"送股", terms.bonus},
                                 {entry.transfer, u"转增", terms.transfer},
                                 {entry.rights, u"配股", terms.rights},
                                 {entry.rightsPrice, u"配股价", terms.rightsPrice}};
    for (const RatioField& field : fields) {
        const QString text = field.text.trimmed();
        if (text.isEmpty()) {
            field.value = 0;
            continue;
        }
        const std::optional<double> value = num::parseNumber(text);
        if (!value)
            return field.caption + m::notANumber;
        if (*value < 0)
            return field.caption + m::negative;
        if (*value > highestRatio)
            return field.caption + m::tooLarge;
        field.value = *value;
    }
    if (terms.cash <= 0 && terms.bonus <= 0 && terms.transfer <= 0 && terms.rights <= 0)
        return m::nothing.toString();
    if (terms.rights > 0 && terms.rightsPrice <= 0)
        return m::rightsWithoutPrice.toString();
    return terms;
}

} // namespace corvanta::ledger
