#include "DetailRefresh.h"

using namespace Qt::StringLiterals;

namespace corvanta::windows {

QString ladderGroupCaption()
{
    return u"各价位盈亏明细"_s;
}

const QList<RefreshInterval>& refreshIntervals()
{
    static const QString prefix = ladderGroupCaption() + u"        刷新时间:"_s;
    static const QList<RefreshInterval> intervals = {
        {u" 5 秒"_s, 5000, prefix + u"5秒"_s},        {u"15 秒"_s, 15000, prefix + u"15秒"_s},
        {u"30 秒"_s, 30000, prefix + u"30秒"_s},      {u"  1 分钟"_s, 60000, prefix + u"60秒"_s},
        {u"  2 分钟"_s, 120000, prefix + u"2分钟"_s}, {u"  5 分钟"_s, 300000, prefix + u"5分钟"_s},
    };
    return intervals;
}

QString nextRefreshMarker(const QString& marker)
{
    QString next = marker.trimmed();
    if (next.isEmpty())
        next = u">"_s;
    return next.size() <= 16 ? next + u">"_s : u">"_s;
}

} // namespace corvanta::windows
