#include "QuoteLines.h"

namespace corvanta::market {

void QuoteLines::clearMonitorLines()
{
    if (m_monitorLines.isEmpty())
        return;
    m_monitorLines.clear();
    Q_EMIT changed();
}

void QuoteLines::appendMonitorLines(const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    m_monitorLines += lines;
    Q_EMIT changed();
}

bool QuoteLines::holdsCode(const QString& code) const
{
    for (const QString& line : m_monitorLines)
        if (line.contains(code))
            return true;
    return false;
}

void QuoteLines::setLatestQuoteTime(const QString& time)
{
    if (m_latestQuoteTime == time)
        return;
    m_latestQuoteTime = time;
    Q_EMIT changed();
}

} // namespace corvanta::market
