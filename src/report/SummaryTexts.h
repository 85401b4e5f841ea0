#pragma once

#include <QStringView>

// The texts the summary, its grid and the trade detail show.
namespace corvanta::report::texts {

// Frame captions while and after summarising.
inline constexpr QStringView summarising = u"数据汇总中，请稍等！";
inline constexpr QStringView summarisingPlain = u"数据汇总中";
inline constexpr QStringView fetchingQuotes = u"实时行情下载中";
inline constexpr QStringView fetchTimedOut = u"网络连接超时!";
inline constexpr QStringView summaryPlain = u"交易汇总";
inline constexpr QStringView summaryQuoted = u"交易汇总 未卖出股票的数据按当前价格进行卖出计算";
inline constexpr QStringView ledgerCaption = u"交易记录";

// View selector items and hints.
inline constexpr QStringView ledgerItem = u"交易记录";
inline constexpr QStringView summaryItem = u"交易汇总";
inline constexpr QStringView selectorHintLedger = u"点击显示所有买卖股票数据";
inline constexpr QStringView selectorHintSummary = u"点击显示汇总后每只股票盈亏金额等数据";

// The summary grid: its hint and popup menu.
inline constexpr QStringView gridHint = u"交易汇总表";
inline constexpr QStringView showTotalsAction = u"显示汇总金额(&S)";
inline constexpr QStringView ledgerAction = u"交易记录(&J)";
inline constexpr QStringView detailAction = u"交易明细(L)";

// The trade-detail panel.
inline constexpr QStringView detailCaption = u"交易明细";
inline constexpr QStringView monitoredStocksCaption = u"实时监控股票列表";
inline constexpr QStringView detailCloseAction = u"关闭(&C)";

// The money-weighted return column: its title says how the shares still held
// are valued; a held stock valued otherwise says so in its cell.
inline constexpr QStringView returnTitle = u"年化收益率";
inline constexpr QStringView returnTitleAtMarket = u"年化收益率(持仓按市值)";
inline constexpr QStringView returnTitleAtCost = u"年化收益率(持仓按成本)";
inline constexpr QStringView returnAtCostMark = u"(按成本)";
inline constexpr QStringView returnPartlyAtCostMark = u"(部分按成本)";
inline constexpr QStringView noReturn = u"无法计算";

// The totals row's name cell.
inline constexpr QStringView totalsRowName = u"合　　计";

} // namespace corvanta::report::texts
