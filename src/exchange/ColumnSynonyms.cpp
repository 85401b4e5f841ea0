// The header names brokers' trading clients give their statement columns. One row
// per name; a name is matched after blanks, quotes and a unit in brackets are
// dropped (see fieldOfColumnName).
#include "StatementColumns.h"

namespace corvanta::exchange {

const QList<ColumnSynonym>& columnSynonyms()
{
    using F = StatementField;
    static const QList<ColumnSynonym> table = {
        {u"成交日期", F::Date},        {u"交收日期", F::Date},      {u"发生日期", F::Date},
        {u"交易日期", F::Date},        {u"日期", F::Date},          {u"清算日期", F::Date},
        {u"业务日期", F::Date},

        {u"证券代码", F::Code},        {u"股票代码", F::Code},      {u"代码", F::Code},
        {u"证券编码", F::Code},

        {u"证券名称", F::Name},        {u"股票名称", F::Name},      {u"名称", F::Name},
        {u"证券简称", F::Name},        {u"股票简称", F::Name},

        {u"操作", F::Operation},       {u"业务名称", F::Operation}, {u"摘要", F::Operation},
        {u"买卖标志", F::Operation},   {u"买卖方向", F::Operation}, {u"委托类别", F::Operation},
        {u"交易类别", F::Operation},   {u"业务类型", F::Operation}, {u"交易类型", F::Operation},
        {u"买卖类别", F::Operation},

        {u"成交数量", F::Quantity},    {u"成交股数", F::Quantity},  {u"发生数量", F::Quantity},
        {u"数量", F::Quantity},        {u"成交量", F::Quantity},

        {u"成交均价", F::Price},       {u"成交价格", F::Price},     {u"成交价", F::Price},
        {u"价格", F::Price},           {u"均价", F::Price},

        {u"成交金额", F::Amount},      {u"成交额", F::Amount},      {u"金额", F::Amount},

        {u"手续费", F::Commission},    {u"佣金", F::Commission},    {u"净佣金", F::Commission},
        {u"交易佣金", F::Commission},

        {u"印花税", F::StampDuty},

        {u"过户费", F::TransferFee},

        {u"其他杂费", F::OtherFees},   {u"其他费用", F::OtherFees}, {u"其它费用", F::OtherFees},
        {u"其他费", F::OtherFees},     {u"规费", F::OtherFees},     {u"交易规费", F::OtherFees},

        {u"发生金额", F::NetAmount},   {u"清算金额", F::NetAmount}, {u"收付金额", F::NetAmount},
        {u"资金发生数", F::NetAmount}, {u"变动金额", F::NetAmount},
    };
    return table;
}

} // namespace corvanta::exchange
