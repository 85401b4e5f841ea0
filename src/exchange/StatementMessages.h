#pragma once

#include <QStringView>

// The texts of the broker statement import.
namespace corvanta::exchange::messages {

// The window and its questions.
inline constexpr QStringView importCaption =
    u"券商数据导入 目前只能导入同花顺软件中首创证券公司数据格式";
inline constexpr QStringView importListSuffix = u"  交易记录导入列表";
inline constexpr QStringView questionCaption = u"导入操作";
inline constexpr QStringView proceedQuestion = u"导入如下的交易记录，是否进行？";
inline constexpr QStringView replaceQuestion = u"导入交易记录，原数据是否清空？";
inline constexpr QStringView importDone = u"导入完成";

// Why a line is left out without a word: it is no trade line.
inline constexpr QStringView tooFewTabs = u"少于三个制表符";
inline constexpr QStringView otherOperation = u"不是买入或卖出";
inline constexpr QStringView quantityBelowOne = u"数量小于1";

// Why a line that looks like a trade cannot be read.
inline constexpr QStringView tooFewFields = u"字段不足";
inline constexpr QStringView dateInvalid = u"成交日期无效";
inline constexpr QStringView noCodeOrName = u"证券代码或证券名称为空";
inline constexpr QStringView unreadableCodeOrName = u"证券代码或证券名称含有无法识别的字符";
inline constexpr QStringView unreadableOperation = u"操作含有无法识别的字符";
inline constexpr QStringView quantityNotWhole = u"数量不是整数";
inline constexpr QStringView quantityTooLarge = u"数量过大";
inline constexpr QStringView priceNotANumber = u"价格不是数字";
inline constexpr QStringView amountNotANumber = u"金额不是数字";
inline constexpr QStringView feeNotANumber = u"费用不是数字";

} // namespace corvanta::exchange::messages
