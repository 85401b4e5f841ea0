#pragma once

#include "ledger/LedgerChanges.h"
#include "report/AccountReturns.h"
#include "report/AccountSeries.h"

#include <QWidget>

class QChartView;
class QLabel;
class QTabWidget;

namespace corvanta::sql {
class Database;
}

namespace corvanta::windows {

// "账户图表": money over time, realised profit per sell and where the money
// sits, drawn from the account series. Redraws when the trades change.
class AccountChartWindow : public QWidget {
    Q_OBJECT
public:
    AccountChartWindow(sql::Database& db, ledger::LedgerNotifier& notifier,
                       QWidget* parent = nullptr);

    // The market values of the last quoted summary by stock name, in fen;
    // an empty set when the last summary was not quoted.
    void setQuotedValues(const report::QuotedValues& values, bool quoted);

    // Reads the ledger again and redraws every page. A ledger that cannot be read
    // leaves the charts as they were and says why under them.
    void refresh();

    // Copies the chart of the shown page to the clipboard as an image.
    void copyImage();

    QTabWidget* pages() const { return m_pages; }
    // The charts of the three pages: money over time, profit per sell, positions.
    QChartView* moneyView() const { return m_money; }
    QChartView* profitView() const { return m_profit; }
    QChartView* positionsView() const { return m_positions; }
    // The money-weighted return of each stock and of the account.
    QChartView* returnsView() const { return m_returns; }
    // How the profit page counts, under its chart.
    QLabel* profitNote() const { return m_profitNote; }
    QLabel* failure() const { return m_failure; }
    // Says that the last 复制图片 copied the shown chart; empty until then.
    QLabel* copiedNote() const { return m_copied; }

protected:
    // A closed window lets go of its charts: they hold a point per trade, and
    // every opening draws them again from the ledger.
    void closeEvent(QCloseEvent* event) override;

private:
    void draw(const report::AccountSeries& series);
    void drawReturns(const report::AccountReturns& returns);

    sql::Database& m_db;
    report::QuotedValues m_quoted;
    bool m_isQuoted = false;
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
