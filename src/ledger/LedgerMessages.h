#pragma once

#include <QStringView>

// The texts the ledger operations show or ask with.
namespace corvanta::ledger::messages {

// Recording refusals.
inline constexpr QStringView noName = u"股票没有名称不添加";
inline constexpr QStringView overSell = u"卖出总数大于已有的买入总数,不能添加!";
inline constexpr QStringView quantityNotWhole = u"数量不是整数,不能添加!";
inline constexpr QStringView quantityBelowOne = u"数量不足1股,不能添加!";
inline constexpr QStringView quantityTooLarge = u"数量过大,不能添加!";
inline constexpr QStringView dateInvalid = u"交易日期无效,不能添加!";
// Appended to the caption of a field whose text is not a number.
inline constexpr QStringView notANumber = u"不是有效的数字,不能添加!";
// Appended to the caption of a fee or rate below zero.
inline constexpr QStringView negativeFee = u"不能为负数,不能添加!";
// Appended to the caption of a rate above the highest one recorded.
inline constexpr QStringView rateTooHigh = u"超过100‰,不能添加!";

// Deletion.
inline constexpr QStringView deleteCaption = u"记录删除确认";
inline constexpr QStringView deleteQuestionStart = u"股票：";
inline constexpr QStringView deleteQuestionEnd = u"股的交易记录删除吗？";
inline constexpr QStringView deleteRefusalStart = u"股票:";
inline constexpr QStringView deleteRefusalMismatch =
    u" 删除后买入数量与卖出数量不符，请先删除卖出记录后再删除此记录!";
inline constexpr QStringView deleteRefusalSold =
    u" 的已有卖出记录，请先删除卖出记录后再删除此记录!";

// Clearing the ledger.
inline constexpr QStringView clearCaption = u"数据库清空确认";
inline constexpr QStringView clearQuestion = u"股票买卖记录清空，将不能恢复，继续吗？";
inline constexpr QStringView clearDone = u"数据库清空结束";
// After clearDone: where the ledger as it was before clearing is kept.
inline constexpr QStringView clearCopyKept =
    u"清空前的账本已另存为安全副本（可在“数据备份恢复”中恢复）：";
// Before the reason a safety copy failed: nothing was cleared.
inline constexpr QStringView clearNotDone = u"没有清空：";

} // namespace corvanta::ledger::messages
