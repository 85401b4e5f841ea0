#include "NoteTexts.h"

namespace corvanta::journal {

QString dateTimeText(const QDateTime& when)
{
    const QString date = when.date().toString(u"yyyy-MM-dd");
    if (when.time() == QTime(0, 0))
        return date;
    return date + u' ' + when.time().toString(u"HH:mm:ss");
}

QStringList noteTemplate(const TemplateInputs& inputs, QDate today)
{
    return {dateTimeText(inputs.tradeDate) + u' ' + inputs.code + u' ' + inputs.name + u' ' +
                inputs.quantity + u"股 价格:" + inputs.price,
            dateTimeText(today.startOfDay()) + u" 该股情况 :",
            QStringLiteral("量比: | 换手率: %|人气: | 每股净资产: 元|每股收益: 元| 每股未分配利润: "
                           "元|股东集中度:")};
}

QString quoteHeader(const QuoteHeaderInputs& in)
{
    return u"待选股票: " + in.code + u"  " + in.name + u"  时价:" + in.price + u"  今开: " +
           in.open + u"  昨收: " + in.lastClose + u"  主买: " + in.activeBuying + u"  主卖: " +
           in.activeSelling;
}

QString memoCaption(const QString& code, const QString& name)
{
    return code + u"  " + name + u" 股市日记";
}

} // namespace corvanta::journal
