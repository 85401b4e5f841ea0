#include "NumericKeyFilter.h"

namespace corvanta {

bool numericKeyAccepted(QStringView text, NumericKey key, QChar digit)
{
    switch (key) {
    case NumericKey::Backspace:
    case NumericKey::Enter:
        return true;
    case NumericKey::Point:
        return !text.contains(u'.');
    case NumericKey::Digit:
        return !(digit == u'0' && text == u"0");
    case NumericKey::Other:
        break;
    }
    return false;
}

bool fieldKeyAccepted(NumericField field, QStringView text, NumericKey key, QChar digit)
{
    if (key == NumericKey::Point) {
        if (field == NumericField::Quantity || text.isEmpty())
            return false;
    }
    return numericKeyAccepted(text, key, digit);
}

} // namespace corvanta
