#pragma once

#include "ledger/LedgerChanges.h"
#include "report/PositionSummary.h"

#include <QObject>
#include <QPointer>

#include <optional>

class QComboBox;
class QMenu;
class QProgressBar;

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerNotifier;
}
namespace corvanta::market {
class NetworkState;
class QuoteLines;
class QuoteService;
class SequentialQuoteRun;
struct QuoteResult;
} // namespace corvanta::market
namespace corvanta::windows {
class Prompter;
}
namespace corvanta::model {
class LedgerFocus;
}
namespace corvanta::report {
class SummaryTableModel;
class TradeDetailModel;
} // namespace corvanta::report

namespace corvanta::app {

class LedgerController;
class LedgerPanel;
class MainWindow;
class TradeDetailPanel;

// The summary view of the ledger box and the trade-detail panel: switching the
// view selector to the summary builds it, in the quoted mode (quotes fetched one
// stock after another first) while the network is up, in the plain mode
// otherwise. While on show it follows every change of the trades at once, in the
// plain mode. Switching back shows the ledger grid as it was left.
class SummaryController : public QObject {
    Q_OBJECT
public:
    // The quoted mode fetches through the program's quote service.
    SummaryController(sql::Database& db, ledger::LedgerNotifier& notifier,
                      market::NetworkState& network, market::QuoteLines& quotes, MainWindow& window,
                      windows::Prompter& prompter, market::QuoteService& service,
                      QObject* parent = nullptr);
    ~SummaryController() override;

    // Builds the summary and shows it; quietly nothing while quotes are being fetched.
    void requestSummary();
    // Shows the ledger grid again, as it was.
    void showLedger();
    // Lists the trades of a stock name in the detail panel.
    void showDetail(const QString& name);
    // Lists the monitored stocks in the detail panel, which keeps them while ledger
    // rows are selected ("显示所有被实时监控股票(&S)").
    void showMonitoredStocks();

    bool isFetching() const;
    bool isShown() const { return m_shown; }
    // The summary on show; empty once the ledger is shown again.
    const report::Summary& summary() const { return m_summary; }
    // The market values of the last summary built, when it was quoted: the charts
    // value the holdings at them. Kept when the summary's rows are let go of.
    const std::optional<report::QuotedValues>& lastMarketValues() const
    {
        return m_lastMarketValues;
    }
    // The totals row's market value as the grid shows it.
    QString marketValueText() const;
    report::SummaryTableModel& model() const { return *m_model; }
    report::TradeDetailModel& detailModel() const { return *m_detailModel; }
    TradeDetailPanel& detailPanel() const { return *m_detail; }
    QProgressBar& progress() const { return *m_progress; }
    QMenu& popup() const { return *m_popup; }

Q_SIGNALS:
    // "显示汇总金额(&S)" was picked.
    void totalsReportWanted();
    // "账户图表" was picked.
    void accountChartsWanted();
    // "年度对账" was picked.
    void yearlyStatementWanted();
    // A quoted summary begins fetching: the single stock's own refresh stops.
    void quotedSummaryStarted();
    // A summary was shown (plain or quoted) or a quote fetch ended it early.
    void summaryFinished(bool shown);
    // A quote request brought these record lines (the journal's targets watch them).
    void quotesArrived(const QStringList& records);

private:
    void buildPopup();
    void onSelectorChanged(int index);
    void onLedgerChanged(ledger::LedgerChanges what);
    void startQuoted(const QStringList& codes);
    void onQuoteRequest(const QStringList& codes, const market::QuoteResult& result);
    void onQuotesDone(bool completed);
    void summarise(report::SummaryRequest request);
    void show(const report::Summary& summary);
    void setSelector(int index);
    void setCaption(const QString& caption);
    void onGridClicked(int row);

    sql::Database& m_db;
    market::NetworkState& m_network;
    market::QuoteService& m_service;
    market::QuoteLines& m_quotes;
    MainWindow& m_window;
    windows::Prompter& m_prompter;
    LedgerPanel& m_panel;
    QComboBox& m_selector; // read only: the main window shows the focus's view
    model::LedgerFocus& m_focus;
    report::SummaryTableModel* m_model;
    report::TradeDetailModel* m_detailModel;
    TradeDetailPanel* m_detail;
    QProgressBar* m_progress;
    QMenu* m_popup;
    QPointer<market::SequentialQuoteRun> m_run;
    bool m_fetchFailed = false;
    bool m_abandoned = false; // the user went back to the ledger during the fetch
    report::Summary m_summary;
    // The market values of the last quoted summary, until the trades change: a
    // plain summary's returns value the holdings at them.
    std::optional<report::QuotedValues> m_heldAtMarket;
    std::optional<report::QuotedValues> m_lastMarketValues;
    bool m_shown = false;
};

} // namespace corvanta::app
