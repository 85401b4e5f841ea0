#pragma once

#include "report/AccountSeries.h"

#include <QWidget>
#include <QtPlugin>

class QChartView;
class QLabel;
class QTabWidget;

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {
class LedgerNotifier;
}

namespace corvanta::windows {

// "账户图表" as the program sees it. The window lives in a module of its own that
// is loaded the first time the charts are opened, so that the chart library is
// not mapped by a program that never draws them; the program reaches it through
// this class only. No Q_OBJECT: the module's and the program's copies of a meta
// object would differ.
class AccountCharts : public QWidget {
public:
    using QWidget::QWidget;

    // The market values of the last quoted summary by stock name, in fen;
    // an empty set when the last summary was not quoted.
    virtual void setQuotedValues(const report::QuotedValues& values, bool quoted) = 0;

    // Reads the ledger again and draws the shown page; each other page is drawn
    // when it is next shown. A ledger that cannot be read leaves the charts as
    // they were and says why under them.
    virtual void refresh() = 0;

    // Copies the chart of the shown page to the clipboard as an image.
    virtual void copyImage() = 0;

    virtual QTabWidget* pages() const = 0;
    // The charts of the three pages: money over time, profit per sell, positions.
    virtual QChartView* moneyView() const = 0;
    virtual QChartView* profitView() const = 0;
    virtual QChartView* positionsView() const = 0;
    // The money-weighted return of each stock and of the account.
    virtual QChartView* returnsView() const = 0;
    // How the profit page counts, under its chart.
    virtual QLabel* profitNote() const = 0;
    virtual QLabel* failure() const = 0;
    // Says that the last 复制图片 copied the shown chart; empty until then.
    virtual QLabel* copiedNote() const = 0;
};

// What the charts module offers: the window, built over the program's ledger.
class AccountChartsModule {
public:
    virtual ~AccountChartsModule() = default;
    virtual AccountCharts* createCharts(sql::Database& db, ledger::LedgerNotifier& notifier,
                                        QWidget* parent) = 0;
};

} // namespace corvanta::windows

#define CORVANTA_ACCOUNT_CHARTS_MODULE_IID "io.github.corvanta.Corvanta.AccountChartsModule/1"
Q_DECLARE_INTERFACE(corvanta::windows::AccountChartsModule, CORVANTA_ACCOUNT_CHARTS_MODULE_IID)
