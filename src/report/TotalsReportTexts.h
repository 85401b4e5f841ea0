#pragma once

#include <QStringView>

// The fixed texts of the totals report window.
namespace corvanta::report::texts {

inline constexpr QStringView reportCaption = u"汇总总金额显示";
inline constexpr QStringView reportNoticeBox = u"注意";
inline constexpr QStringView reportNoticeFirst = u"请按正确的日期录入股票买卖,否则会影响汇总中投";
inline constexpr QStringView reportNoticeSecond = u"入金额统计,总计投入金额应是输入你股东账号中的";
inline constexpr QStringView reportBalanceBox = u"股票账户中资金余额";
inline constexpr QStringView reportBalanceBefore = u"经计算理论上应有";
inline constexpr QStringView reportBalanceAfter = u"元，如有差距，";
inline constexpr QStringView reportBalanceSecondLine =
    u"多出的应为派红或未用完银行资金,少出的为提现";
inline constexpr QStringView reportBalanceInitial = u"0";
inline constexpr QStringView reportBalanceHint = u"输入您股东账户上的余额数";
inline constexpr QStringView reportResultBox = u"汇总结果";
inline constexpr QStringView reportCloseButton = u"关闭(&E)";
inline constexpr QStringView reportExitButton = u"退出(&X)";

} // namespace corvanta::report::texts
