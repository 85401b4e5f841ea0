#pragma once

#include "AccountCharts.h"
#include "ledger/LedgerChanges.h"
#include "report/AccountReturns.h"
#include "report/AccountSeries.h"
#include "report/EventEffects.h"

#include <bitset>
#include <optional>

namespace corvanta::sql {
class Error;
}

namespace corvanta::windows {

// "账户图表": money over time, realised profit per sell and where the money
// sits, drawn from the account series. Redraws when the trades change.
class AccountChartWindow : public AccountCharts {
    Q_OBJECT
public:
    AccountChartWindow(sql::Database& db, ledger::LedgerNotifier& notifier,
                       QWidget* parent = nullptr);

    void setQuotedValues(const report::QuotedValues& values, bool quoted) override;
    void refresh() override;
    void copyImage() override;

    QTabWidget* pages() const override { return m_pages; }
    QChartView* moneyView() const override { return m_money; }
    QChartView* profitView() const override { return m_profit; }
    QChartView* positionsView() const override { return m_positions; }
    QChartView* returnsView() const override { return m_returns; }
    QLabel* profitNote() const override { return m_profitNote; }
    QLabel* failure() const override { return m_failure; }
    QLabel* copiedNote() const override { return m_copied; }

protected:
    // A closed window lets go of its charts: they hold a point per trade, and
    // every opening draws them again from the ledger.
    void closeEvent(QCloseEvent* event) override;

private:
    enum Page { MoneyPage, ProfitPage, PositionsPage, ReturnsPage, PageCount };

    // What the last refresh read, drawn page by page as they are shown.
    struct Read {
        report::AccountSeries series;
        report::EventEffects effects;
    };

    void drawShownPage();
    // Says under the charts why the ledger could not be read.
    void showFailure(const sql::Error& error);
    void drawMoney(const report::AccountSeries& series);
    void drawProfit(const report::AccountSeries& series);
    void drawPositions(const report::AccountSeries& series);
    void drawReturns(const report::AccountReturns& returns);

    sql::Database& m_db;
    report::QuotedValues m_quoted;
    bool m_isQuoted = false;
    std::optional<Read> m_read;     // until the window closes
    std::bitset<PageCount> m_drawn; // the pages drawn from it
    QTabWidget* m_pages;
    QChartView* m_money;
    QChartView* m_profit;
    QChartView* m_positions;
    QChartView* m_returns;
    QLabel* m_profitNote;
    QLabel* m_failure;
    QLabel* m_copied;
};

} // namespace corvanta::windows
