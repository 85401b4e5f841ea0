#include "GbkLengthValidator.h"

#include "calc/GbkLength.h"

namespace corvanta::windows {

GbkLengthValidator::GbkLengthValidator(int maxBytes, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes)
{
}

QValidator::State GbkLengthValidator::validate(QString& input, int& pos) const
{
    // The new characters are those just before the cursor: drop them one by one,
    // a surrogate pair as a whole, until the text fits.
    while (gbkByteCount(input) > m_maxBytes && pos > 0) {
        int width = 1;
        if (pos >= 2 && input.at(pos - 1).isLowSurrogate() && input.at(pos - 2).isHighSurrogate())
            width = 2;
        input.remove(pos - width, width);
        pos -= width;
    }
    return gbkByteCount(input) > m_maxBytes ? Invalid : Acceptable;
}

} // namespace corvanta::windows
