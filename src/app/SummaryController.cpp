#include "SummaryController.h"

#include "LedgerController.h"
#include "LedgerPanel.h"
#include "MainMenus.h"
#include "MainWindow.h"
#include "SellTargetController.h"
#include "TradeDetailPanel.h"
#include "ledger/LedgerWriter.h"
#include "ledger/MonitorList.h"
#include "ledger/sql/Database.h"
#include "market/FetchOptions.h"
#include "market/NetworkState.h"
#include "market/QuoteLines.h"
#include "market/QuoteService.h"
#include "market/SequentialQuoteRun.h"
#include "model/LedgerFocus.h"
#include "model/TradeForm.h"
#include "report/SummaryQuotedValues.h"
#include "report/SummaryTableModel.h"
#include "report/SummaryTexts.h"
#include "report/TradeDetail.h"
#include "report/TradeDetailModel.h"
#include "windows/LedgerGuard.h"

#include <algorithm>

#include <QBrush>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

constexpr int ledgerIndex = 0;
constexpr int summaryIndex = 1;

QVariant colourBrush(report::CellColour colour)
{
    switch (colour) {
    case report::CellColour::Profit:
        return QBrush(Qt::red);
    case report::CellColour::Loss:
        return QBrush(Qt::blue);
    case report::CellColour::Fixed:
        return QBrush(QColor(0xf0, 0xf0, 0xf0));
    }
    return {};
}

} // namespace

SummaryController::SummaryController(sql::Database& db, ledger::LedgerNotifier& notifier,
                                     market::NetworkState& network, market::QuoteLines& quotes,
                                     MainWindow& window, windows::Prompter& prompter,
                                     market::QuoteService& service, QObject* parent)
    : QObject(parent), m_db(db), m_network(network), m_service(service), m_quotes(quotes),
      m_window(window), m_prompter(prompter), m_panel(window.ledger()),
      m_selector(window.viewSelector()), m_focus(window.focus()),
      m_model(new report::SummaryTableModel(this)),
      m_detailModel(new report::TradeDetailModel(this)),
      m_detail(new TradeDetailPanel(window.centralWidget())),
      m_progress(new QProgressBar(&m_panel)), m_popup(new QMenu(&window))
{
    QTableView* grid = m_panel.summaryGrid;
    m_model->setColourData(colourBrush);
    grid->setModel(m_model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setFont(m_panel.ledgerGrid->font());
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionsMovable(true);
    for (int column = 0; column < report::SummaryColumnCount; ++column)
        grid->setColumnWidth(column, m_model->columnWidths()[std::size_t(column)]);
    connect(grid, &QTableView::clicked, this,
            [this](const QModelIndex& index) { onGridClicked(index.row()); });

    m_detailModel->setColourData(colourBrush);
    m_detail->grid->setModel(m_detailModel);

    m_progress->setObjectName(u"summaryProgress"_s);
    m_progress->setGeometry(200, 1, 196, 14);
    m_progress->setTextVisible(true);
    m_progress->setFormat(u"%v/%m"_s);
    m_progress->hide();

    buildPopup();
    MainMenus& menus = window.menus();
    window.markAvailable(model::Available::StockTrades);
    connect(menus.summary, &QAction::triggered, this, [this] {
        m_focus.selectView(model::LedgerViewKind::Summary);
        requestSummary();
    });
    connect(menus.stockTrades, &QAction::triggered, this, [this] {
        if (const ledger::LedgerRow* row = m_window.ledgerController().currentRow())
            showDetail(row->cells[ledger::NameColumn]);
    });
    // The ledger list's selection, by a click or by the keys, follows into an open
    // detail panel, unless it lists the monitored stocks.
    const auto follow = [this] {
        const ledger::LedgerRow* row = m_window.ledgerController().currentRow();
        if (row && !m_detail->isHidden() && !m_detailModel->locked() &&
            m_detailModel->name() != row->cells[ledger::NameColumn])
            showDetail(row->cells[ledger::NameColumn]);
    };
    connect(m_panel.ledgerGrid, &QTableView::clicked, this, follow);
    connect(&m_window.ledgerController(), &LedgerController::tradeSelected, this, follow);
    window.markAvailable(model::Available::MonitoredStocks);
    connect(menus.monitorShowAll, &QAction::triggered, this,
            &SummaryController::showMonitoredStocks);
    // Closing the panel ends the listing's lock.
    connect(m_detail->closeAction, &QAction::triggered, this,
            [this] { m_detailModel->setLocked(false); });

    connect(&m_selector, &QComboBox::currentIndexChanged, this,
            &SummaryController::onSelectorChanged);
    connect(&notifier, &ledger::LedgerNotifier::changed, this, &SummaryController::onLedgerChanged);
}

SummaryController::~SummaryController() = default;

void SummaryController::buildPopup()
{
    QAction* totals = m_popup->addAction(report::texts::showTotalsAction.toString());
    QAction* charts = m_popup->addAction(u"账户图表"_s);
    QAction* yearly = m_popup->addAction(u"年度对账"_s);
    QAction* ledgerView = m_popup->addAction(report::texts::ledgerAction.toString());
    QAction* detail = m_popup->addAction(report::texts::detailAction.toString());
    connect(totals, &QAction::triggered, this, &SummaryController::totalsReportWanted);
    connect(charts, &QAction::triggered, this, &SummaryController::accountChartsWanted);
    connect(yearly, &QAction::triggered, this, &SummaryController::yearlyStatementWanted);
    connect(ledgerView, &QAction::triggered, this, &SummaryController::showLedger);
    connect(detail, &QAction::triggered, this, [this] {
        const QString name = m_model->stockName(m_panel.summaryGrid->currentIndex().row());
        if (!name.isEmpty())
            showDetail(name);
    });
    QTableView* grid = m_panel.summaryGrid;
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint& at) { m_popup->popup(grid->viewport()->mapToGlobal(at)); });
}

bool SummaryController::isFetching() const
{
    return m_run && m_run->isRunning();
}

QString SummaryController::marketValueText() const
{
    return m_model->index(report::SummaryTableModel::totalsRow, 6).data().toString();
}

void SummaryController::onSelectorChanged(int index)
{
    m_focus.selectView(index == summaryIndex ? model::LedgerViewKind::Summary
                                             : model::LedgerViewKind::Ledger);
    if (index == summaryIndex)
        requestSummary();
    else
        showLedger();
}

void SummaryController::requestSummary()
{
    if (isFetching())
        return;
    if (!m_network.networkOk()) {
        summarise({});
        return;
    }
    const auto codes = windows::withLedger(m_prompter, windows::LedgerAccess::Read,
                                           [&] { return report::ledgerQuoteCodes(m_db); });
    if (!codes) {
        setSelector(ledgerIndex);
        return;
    }
    startQuoted(*codes);
}

void SummaryController::startQuoted(const QStringList& codes)
{
    Q_EMIT quotedSummaryStarted();
    m_quotes.setLatestQuoteTime(market::QuoteLines::noQuoteTime);
    m_quotes.clearMonitorLines();
    setCaption(report::texts::fetchingQuotes.toString());
    m_fetchFailed = false;
    m_abandoned = false;

    // Each run keeps the source chosen when it starts.
    auto* run = new market::SequentialQuoteRun(m_service, market::QuoteUse::Summary,
                                               market::summaryPause, this);
    m_run = run;
    // A code already in a fetched line (another name of the same stock) is not asked twice.
    run->setSkip([this](const QStringList& batch) {
        return std::all_of(batch.begin(), batch.end(),
                           [this](const QString& code) { return m_quotes.holdsCode(code); });
    });
    m_progress->setRange(0, int(codes.size()));
    m_progress->setValue(0);
    m_progress->setVisible(!codes.isEmpty());
    m_progress->raise();
    connect(run, &market::SequentialQuoteRun::requestFinished, this,
            &SummaryController::onQuoteRequest);
    connect(run, &market::SequentialQuoteRun::finished, this, [this, run](bool completed) {
        run->deleteLater();
        onQuotesDone(completed);
    });
    run->start(codes);
}

void SummaryController::onQuoteRequest(const QStringList& codes, const market::QuoteResult& result)
{
    if (!result.ok()) {
        m_fetchFailed = true;
        m_run->stop();
        return;
    }
    m_quotes.appendMonitorLines(result.records);
    Q_EMIT quotesArrived(result.records);
    m_progress->setValue(std::min(m_progress->maximum(), m_progress->value() + int(codes.size())));
}

void SummaryController::onQuotesDone(bool completed)
{
    m_progress->hide();
    if (m_abandoned) {
        m_abandoned = false;
        Q_EMIT summaryFinished(false);
        return;
    }
    if (!completed || m_fetchFailed) {
        // The summary ends here; the grids stay as they were.
        setCaption(report::texts::fetchTimedOut.toString());
        setSelector(m_shown ? summaryIndex : ledgerIndex);
        Q_EMIT summaryFinished(false);
        return;
    }
    report::SummaryRequest request;
    request.quotes = report::QuotedPricing{report::pricesFromLines(m_quotes.monitorLines()),
                                           m_window.tradeForm().feeSnapshot()};
    summarise(std::move(request));
    m_quotes.setLatestQuoteTime(market::QuoteLines::noQuoteTime);
}

void SummaryController::summarise(report::SummaryRequest request)
{
    if (!request.quotes) {
        setCaption(report::texts::summarisingPlain.toString());
        request.heldAtMarket = m_heldAtMarket;
    }
    const auto built = windows::withLedger(m_prompter, windows::LedgerAccess::Read,
                                           [&] { return report::buildSummary(m_db, request); });
    if (!built) {
        setSelector(m_shown ? summaryIndex : ledgerIndex);
        Q_EMIT summaryFinished(false);
        return;
    }
    const report::Summary& summary = *built;
    m_summary = summary;
    if (request.quotes)
        m_heldAtMarket = report::quotedValues(summary);
    if (summary.quoted && !summary.ledgerEmpty)
        m_lastMarketValues = report::quotedValues(summary);
    else
        m_lastMarketValues.reset();
    if (summary.ledgerEmpty) {
        // Nothing to summarise: the ledger stays on show.
        setCaption(report::texts::summarising.toString());
        setSelector(ledgerIndex);
        Q_EMIT summaryFinished(false);
        return;
    }
    show(summary);
    Q_EMIT summaryFinished(true);
}

void SummaryController::show(const report::Summary& summary)
{
    QTableView* grid = m_panel.summaryGrid;
    m_model->setSummary(summary);
    // The widths fit the texts by their byte length; the view's cell margins and
    // font may need a little more, which the content's own width then gives.
    grid->setColumnWidth(0, summary.columnWidths[0]);
    for (int column = 1; column < report::SummaryColumnCount; ++column) {
        grid->resizeColumnToContents(column);
        grid->setColumnWidth(
            column, std::max(summary.columnWidths[std::size_t(column)], grid->columnWidth(column)));
    }
    grid->setToolTip(summary.hint.isEmpty() ? report::texts::gridHint.toString() : summary.hint);
    m_focus.setView(model::LedgerViewKind::Summary);
    m_window.sellTargets().reset();
    setCaption(summary.caption);
    m_shown = true;
}

void SummaryController::showLedger()
{
    // Back to the ledger while quotes come in: the summary is no longer wanted.
    if (isFetching()) {
        m_abandoned = true;
        m_run->stop();
    }
    m_shown = false;
    m_focus.setView(model::LedgerViewKind::Ledger);
    setCaption(report::texts::ledgerCaption.toString());
    // The summary is built again whenever it is shown: its rows need not stay.
    m_summary = report::Summary{};
    m_model->setSummary(m_summary);
}

void SummaryController::showDetail(const QString& name)
{
    const auto rows = windows::withLedger(m_prompter, windows::LedgerAccess::Read,
                                          [&] { return report::tradeDetailRows(m_db, name); });
    if (!rows)
        return;
    m_detailModel->setLocked(false);
    m_detailModel->setRows(name, *rows);
    m_detail->setTitle(report::texts::detailCaption.toString());
    m_detail->show();
    m_detail->raise();
}

void SummaryController::showMonitoredStocks()
{
    const auto rows = windows::withLedger(m_prompter, windows::LedgerAccess::Read, [&] {
        return report::monitoredStockRows(ledger::monitoredStocks(m_db));
    });
    if (!rows)
        return;
    m_detailModel->setMonitoredStocks(*rows);
    m_detail->setTitle(report::texts::monitoredStocksCaption.toString());
    m_detail->grid->resizeColumnsToContents();
    m_detail->show();
    m_detail->raise();
}

void SummaryController::onGridClicked(int row)
{
    const QString name = m_model->stockName(row);
    if (!m_detail->isHidden() && !name.isEmpty() && name != m_detailModel->name())
        showDetail(name);
}

void SummaryController::onLedgerChanged(ledger::LedgerChanges what)
{
    const bool listShown = !m_detail->isHidden() && m_detailModel->showsMonitoredStocks();
    // The listing of the monitored stocks follows their marks and their buys.
    if (listShown && (what & (ledger::LedgerChange::Trades | ledger::LedgerChange::MonitorList)))
        showMonitoredStocks();
    if (!what.testFlag(ledger::LedgerChange::Trades))
        return;
    m_heldAtMarket.reset();
    // The open panel listing a stock's trades follows them.
    if (!listShown && !m_detail->isHidden() && !m_detailModel->locked() &&
        !m_detailModel->name().isEmpty())
        showDetail(m_detailModel->name());
    // Quotes being fetched: the summary they lead to reads the ledger as it is then.
    if (m_shown && !isFetching())
        summarise({});
}

// The selector names the view without showing it: the grids stay as they are.
void SummaryController::setSelector(int index)
{
    m_focus.selectView(index == summaryIndex ? model::LedgerViewKind::Summary
                                             : model::LedgerViewKind::Ledger);
}

void SummaryController::setCaption(const QString& caption)
{
    m_panel.setTitle(caption);
}

} // namespace corvanta::app
