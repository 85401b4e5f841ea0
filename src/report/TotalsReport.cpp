#include "TotalsReport.h"

#include "calc/Numbers.h"

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

const QString separator = u"=============================="_s;

// An empty total reads as "0".
QString orZero(const QString& text)
{
    return text.isEmpty() ? u"0"_s : text;
}

double numberOr0(const QString& text)
{
    return num::parseNumber(text).value_or(0);
}

} // namespace

TotalsReport totalsReport(const LedgerTotals& t, const QString& marketValueText)
{
    TotalsReport report;
    if (t.stocksTraded.isEmpty()) {
        report.lines = QStringList{QString(), u"空"_s, QString(), QString()};
        return report;
    }
    const QString buyTotal = orZero(t.buyTotalText);
    const QString buyFees = orZero(t.buyFeesText);
    const QString sellFees = orZero(t.sellFeesText);
    // A market value that is no number (a summary that stopped early) counts as 0.
    const double marketValue = numberOr0(marketValueText);
    report.balanceText = num::general(t.cashBalance);
    report.lines = QStringList{
        u" "_s,
        u"买卖"_s + t.stocksTraded + u"只股票："_s + u"　总计投入:"_s +
            num::money(t.capitalInvested) + u"元"_s,
        separator,
        u"　现持有:"_s + QString::number(t.heldCount) + u"支股票"_s,
        u"　　持有股票按时价计算市值:"_s + marketValueText + u"元,(计算结果已减卖出费用"_s +
            u",停盘或时价为0不计算)"_s,
        u"　　盈亏金额:"_s + num::money(marketValue - t.capitalInvested + t.cashBalance) +
            u"元.此数据同汇总表中的盈亏金额的差距由于所持某支股票中存在多次买卖并有部分未卖，使买卖费用计算有细微出入."_s,
        separator,
        u"    买入总金额："_s + buyTotal + u"元"_s,
        u"    卖出总金额："_s + num::money(t.sellProceeds) + u"元(未卖出不统计)"_s,
        separator,
        u"    买入总费用："_s + buyFees + u"元"_s,
        u"    卖出总费用："_s + sellFees + u"元(未卖出不统计)"_s,
        separator,
        u"    费用总金额："_s + num::money(numberOr0(buyFees) + numberOr0(sellFees)) + u"元"_s,
        QString(),
        QString(),
    };
    // 分红送配: lines of their own; the balance and the profit above hold them.
    if (t.hasEvents) {
        report.lines.insert(report.lines.size() - 2, separator);
        report.lines.insert(report.lines.size() - 2,
                            u"    分红派息："_s + num::money(t.dividends) + u"元(税前)"_s);
        report.lines.insert(report.lines.size() - 2,
                            u"    红利税："_s + num::money(t.dividendTax) + u"元"_s);
    }
    return report;
}

} // namespace corvanta::report
