#include "MarketPrefix.h"

using namespace Qt::StringLiterals;

namespace corvanta::market {

QString marketPrefix(QStringView code)
{
    if (code.startsWith(u"92") || code.startsWith(u'4') || code.startsWith(u'8'))
        return u"bj"_s;
    if (code.startsWith(u'5') || code.startsWith(u'6') || code.startsWith(u'7') ||
        code.startsWith(u'9'))
        return u"sh"_s;
    return u"sz"_s;
}

bool isSixDigitCode(QStringView code)
{
    if (code.size() != 6)
        return false;
    for (const QChar c : code) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

QString sourceKey(QStringView code)
{
    if (isSixDigitCode(code))
        return marketPrefix(code) + code.toString();
    const QStringView prefix = code.left(2);
    if (code.size() == 8 && (prefix == u"sh" || prefix == u"sz" || prefix == u"bj") &&
        isSixDigitCode(code.mid(2)))
        return code.toString();
    return {};
}

} // namespace corvanta::market
