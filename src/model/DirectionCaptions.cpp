#include "model/DirectionCaptions.h"

using namespace Qt::StringLiterals;

namespace corvanta::model {

DirectionCaptions directionCaptions(Direction direction)
{
    const bool sell = direction == Direction::Sell;
    return DirectionCaptions{sell ? u"卖出数量"_s : u"买入数量"_s,
                             sell ? u"卖出价格"_s : u"买入价格"_s,
                             sell ? u"实收总额"_s : u"支付总额"_s,
                             sell ? u"卖出税率"_s : u"买入税率"_s,
                             u"买入成本"_s,
                             u"保本价格"_s,
                             !sell};
}

} // namespace corvanta::model
