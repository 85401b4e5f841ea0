#pragma once

#include <QStringView>

// The texts the ledger operations show or ask with.
namespace corvanta::ledger::messages {

// Recording refusals.
inline constexpr QStringView noName = u"股票没有名称不添加";
inline constexpr QStringView overSell = u"卖出总数大于已有的买入总数,不能添加!";
// Added to the over-sale refusal of a stock without any 分红送配 recorded.
inline constexpr QStringView overSellEventHint =
    u"\n该股票在账本中没有分红送配记录：如有送股或转增，请先在“分红送配”中添加。";
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

// 分红送配: a stock's corporate actions.
namespace corvanta::ledger::messages::events {

inline constexpr QStringView recordInvalid = u"股权登记日无效,不能保存!";
inline constexpr QStringView exInvalid = u"除权除息日无效,不能保存!";
inline constexpr QStringView recordAfterEx = u"股权登记日在除权除息日之后,不能保存!";
// Appended to the caption of a ratio that is not a number or is below zero.
inline constexpr QStringView notANumber = u"不是有效的数字,不能保存!";
inline constexpr QStringView negative = u"不能为负数,不能保存!";
inline constexpr QStringView tooLarge = u"过大,不能保存!";
inline constexpr QStringView nothing = u"没有派现、送股、转增或配股,不能保存!";
inline constexpr QStringView rightsWithoutPrice = u"配股没有配股价,不能保存!";
// Around the record date: "该股票在 2024-06-20 登记的分红送配已有记录,不能保存!".
inline constexpr QStringView sameRecordStart = u"该股票在 ";
inline constexpr QStringView sameRecordEnd = u" 登记的分红送配已有记录,不能保存!";
// Around the record date: the question before saving an event nothing was held for.
inline constexpr QStringView notHeldStart = u"股权登记日 ";
inline constexpr QStringView notHeldEnd = u" 账本里没有持有该股票，仍然保存吗？";
inline constexpr QStringView changeOversells =
    u"修改后卖出总数大于持有总数（少了送转的股份）,不能修改!";
inline constexpr QStringView deleteOversells =
    u"删除后卖出总数大于持有总数（已卖出送转的股份）,请先删除卖出记录!";
inline constexpr QStringView notFound = u"没有这条分红送配记录";

// The entitlement shown before saving: "登记日持有 1000 股：派现 300.00 元，送转 500 股".
inline constexpr QStringView heldStart = u"登记日持有 ";
inline constexpr QStringView heldEnd = u" 股";
inline constexpr QStringView cashStart = u"派现 ";
inline constexpr QStringView cashEnd = u" 元";
inline constexpr QStringView sharesStart = u"送转 ";
inline constexpr QStringView sharesEnd = u" 股";
inline constexpr QStringView rightsStart = u"可配 ";
inline constexpr QStringView rightsEnd = u" 股";
inline constexpr QStringView nothingHeld = u"登记日没有持股";

// 配股缴款 refused.
inline constexpr QStringView noRights = u"这条分红送配没有可缴款的配股。";
inline constexpr QStringView rightsPaid =
    u"这次配股已经缴款：账本里已有除权除息日按配股价买入的这些股份。";

} // namespace corvanta::ledger::messages::events
