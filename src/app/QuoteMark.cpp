#include "QuoteMark.h"

#include "market/QuoteSnapshot.h"

using namespace Qt::StringLiterals;

namespace corvanta::app {

QuotedStock quotedStock(const QString& code, const QStringList& records)
{
    for (const QString& line : records) {
        if (market::recordKey(line) != code)
            continue;
        const market::QuoteSnapshot s = market::QuoteSnapshot::fromLine(line);
        const QString date = s.date.trimmed();
        const QString time = s.time.trimmed();
        return {code, (date == u"-" || time == u"-") ? QString() : date + u' ' + time};
    }
    return {code, {}};
}

QuoteMarkText quoteMark(const QuotedStock& quoted, const QString& shownCode)
{
    if (quoted.code.isEmpty())
        return {};
    if (quoted.code != shownCode.trimmed())
        return {quoted.code + u"的行情"_s,
                u"下面的行情字段仍是 "_s + quoted.code + u" 的行情，不是当前股票的"_s, true};
    if (quoted.stamp.isEmpty())
        return {u"行情时间未知"_s, {}, false};
    return {u"行情 "_s + quoted.stamp.section(u' ', 1), u"行情时间 "_s + quoted.stamp, false};
}

} // namespace corvanta::app
