#include "BuyBackTexts.h"

using namespace Qt::StringLiterals;

namespace corvanta {

BuyBackTexts buyBackTexts(const QString& current, const QString& specified, const QString& gain)
{
    return {
        u"该股以当前价格:"_s + current + u"卖出，"_s + u"当股价跌到价位:"_s + specified +
            u"后买入"_s + u"\n"_s + u"回涨到当前价位:"_s + current + u" 后多赚取的金额为:"_s + gain,
        u"以当前价格:"_s + current + u"卖出，"_s + u"\n"_s + u"当股价跌到价位:"_s + specified +
            u"后买入,"_s + u"\n"_s + u"该股价回涨到当前价位:"_s + current + u"后多赚取的金额"_s};
}

} // namespace corvanta
