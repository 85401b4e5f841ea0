#include "PositionSummary.h"

#include "AccountReturns.h"
#include "CapitalFlow.h"
#include "EventEffects.h"
#include "SummaryQuotedValues.h"
#include "SummaryReturns.h"
#include "SummaryTexts.h"

#include "calc/GbkLength.h"
#include "calc/Numbers.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

struct Totals {
    double marketValue = 0, profit = 0, income = 0, outlay = 0, fees = 0, sellFees = 0, buyFees = 0;

    void add(const StockContribution& c)
    {
        marketValue += c.marketValue;
        profit += c.profit;
        income += c.income;
        outlay += c.outlay;
        fees += c.fees;
        sellFees += c.sellFees;
        buyFees += c.buyFees;
    }
};

SummaryRow totalsRow(const Totals& t, double capitalInvested)
{
    SummaryRow row;
    auto& cells = row.cells;
    cells[NameColumn] = texts::totalsRowName.toString();
    cells[MarketValueColumn] = num::totals(t.marketValue);
    cells[ProfitColumn] = num::totals(t.profit);
    // The return on the money actually put in; none when nothing was put in.
    if (capitalInvested != 0)
        cells[ProfitRatioColumn] = num::totals(t.profit * 100 / capitalInvested) + u"%"_s;
    cells[IncomeColumn] = num::totals(t.income);
    cells[OutlayColumn] = num::totals(t.outlay);
    cells[FeesColumn] = num::totals(t.fees);
    cells[SellFeesColumn] = num::totals(t.sellFees);
    cells[BuyFeesColumn] = num::totals(t.buyFees);
    row.tone = num::roundHalfAway(t.profit, 2) >= 0 ? RowTone::Profit : RowTone::Loss;
    return row;
}

std::array<int, SummaryColumnCount>
fittedWidths(const QList<SummaryRow>& stocks, const SummaryRow& totals,
             const std::array<QString, SummaryColumnCount>& titles)
{
    std::array<int, SummaryColumnCount> bytes{};
    for (int c = 1; c < SummaryColumnCount; ++c)
        bytes[std::size_t(c)] = std::max(gbkByteCount(titles[std::size_t(c)]),
                                         gbkByteCount(totals.cells[std::size_t(c)]));
    for (const SummaryRow& row : stocks) {
        for (int c = 1; c < SummaryColumnCount; ++c)
            bytes[std::size_t(c)] =
                std::max(bytes[std::size_t(c)], gbkByteCount(row.cells[std::size_t(c)]));
    }
    std::array<int, SummaryColumnCount> widths = initialColumnWidths();
    for (int c = 1; c < SummaryColumnCount; ++c)
        widths[std::size_t(c)] = 6 * bytes[std::size_t(c)] + 6;
    return widths;
}

QString quotedHint(const LedgerTotals& t)
{
    return u"买卖"_s + t.stocksTraded + u"只股票  总计投入:"_s + num::money(t.capitalInvested) +
           u"元"_s + u'\n' + u"现持有:"_s + QString::number(t.heldCount) + u"支股票"_s + u'\n' +
           u"经计算股东账户上余额有:"_s + num::money(t.cashBalance) + u"元"_s;
}

} // namespace

std::array<QString, SummaryColumnCount> summaryColumnTitles()
{
    return {u"股票名称"_s, u"买入"_s,     u"买均价"_s,   u"已卖"_s,
            u"卖均价"_s,   u"未卖"_s,     u"未卖市值"_s, u"时价"_s,
            u"盈亏金额"_s, u"盈亏比例"_s, u"卖出收入"_s, u"买入支付"_s,
            u"费用合计"_s, u"卖出费用"_s, u"买入费用"_s, texts::returnTitle.toString()};
}

std::array<int, SummaryColumnCount> initialColumnWidths()
{
    return {60, 60, 40, 60, 40, 60, 90, 40, 90, 90, 90, 90, 90, 90, 90, 90};
}

Summary summarise(const QList<StockFigures>& stocks, LedgerTotals totals,
                  const QuotedPricing* pricing, QList<StoredFigures>* stored)
{
    Summary summary;
    summary.ledgerEmpty = false;
    summary.quoted = pricing != nullptr;
    summary.stocks.reserve(stocks.size());
    if (stored)
        stored->reserve(stocks.size());
    totals.heldCount = 0;
    Totals sums;
    for (const StockFigures& stock : stocks) {
        CompletedStock done = completeStock(stock, pricing);
        if (done.held)
            ++totals.heldCount;
        if (done.contribution)
            sums.add(*done.contribution);
        if (stored)
            stored->append(done.stored);
        summary.stocks.append(std::move(done.row));
    }
    summary.totalsRow = totalsRow(sums, totals.capitalInvested);
    summary.columnWidths = fittedWidths(summary.stocks, summary.totalsRow, summary.titles);
    if (pricing)
        summary.hint = quotedHint(totals);
    summary.caption = (pricing ? texts::summaryQuoted : texts::summaryPlain).toString();
    summary.totals = std::move(totals);
    return summary;
}

Summary buildSummary(sql::Database& db, const SummaryRequest& request)
{
    // One read of the ledger feeds the capital flow, the scratch tables and the
    // returns.
    const LedgerPass pass = readLedgerPass(db);
    QHash<QString, calc::StockHistory> histories;
    std::optional<LedgerTotals> totals = capitalFlow(db, pass, &histories);
    if (!totals)
        return {};

    sql::Transaction transaction(db);
    QList<StockFigures> stocks = buildScratchTables(db, SummaryScope::WholeLedger, pass);
    // A stock's 分红送配 add their cash and their tax to its profit.
    for (StockFigures& stock : stocks) {
        const auto history = histories.constFind(stock.name);
        if (history == histories.cend())
            continue;
        stock.dividends = double(history->dividendFen) / 100;
        stock.dividendTax = double(history->taxFen) / 100;
        qint64 saleTax = 0;
        for (const calc::SaleOutcome& sale : history->sales)
            saleTax += sale.taxFen;
        stock.saleTax = double(saleTax) / 100;
    }
    // tmpdb1 holds one row per stock name with a buy.
    if (const qint64 bought = db.scalarInt("SELECT count(*) FROM tmpdb1"); bought > 0)
        totals->stocksTraded = QString::number(bought);
    QList<StoredFigures> stored;
    Summary summary =
        summarise(stocks, std::move(*totals), request.quotes ? &*request.quotes : nullptr, &stored);
    storeFigures(db, stored);
    // The shares still held are valued at this summary's market values when it
    // is quoted, at the last quoted summary's when the trades have not changed
    // since, at cost otherwise.
    const QuotedValues atMarket =
        request.quotes ? quotedValues(summary) : request.heldAtMarket.value_or(QuotedValues{});
    const bool valued = request.quotes || request.heldAtMarket;
    addReturns(summary,
               accountReturns(pass, eventEffects(histories), valued ? &atMarket : nullptr,
                              request.today.isValid() ? request.today : QDate::currentDate()));
    summary.columnWidths = fittedWidths(summary.stocks, summary.totalsRow, summary.titles);
    transaction.commit();
    return summary;
}

QStringList ledgerQuoteCodes(sql::Database& db)
{
    auto query = db.prepare("SELECT 股票代码 FROM gpjl ORDER BY 股票名,id");
    QStringList codes;
    QSet<QString> seen;
    while (query.step()) {
        const QString code = query.text(0);
        if (!code.isEmpty() && !seen.contains(code)) {
            seen.insert(code);
            codes.append(code);
        }
    }
    return codes;
}

} // namespace corvanta::report
