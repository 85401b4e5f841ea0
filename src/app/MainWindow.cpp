#include "MainWindow.h"

#include "DesktopServices.h"
#include "FeeController.h"
#include "FeeRuleController.h"
#include "LedgerController.h"
#include "LedgerPanel.h"
#include "MainMenus.h"
#include "ParametersPanel.h"
#include "QuoteMenusController.h"
#include "QuoteRefreshController.h"
#include "QuoteSourceController.h"
#include "SellTargetController.h"
#include "SellTargetGroup.h"
#include "SettingsMenuController.h"
#include "StatusBarPanels.h"
#include "TradeFormBinding.h"
#include "TradePanel.h"
#include "TradeUnits.h"
#include "TrayController.h"
#include "TrayPort.h"
#include "app/Version.h"
#include "market/NetworkState.h"
#include "market/QuoteSourceChoice.h"
#include "model/LedgerFocus.h"
#include "model/LiveState.h"
#include "report/SummaryTexts.h"
#include "windows/HelpersFirst.h"
#include "windows/NumericFieldFilter.h"
#include "windows/Prompter.h"
#include "windows/StockInfoLink.h"
#include "windows/StockPicker.h"
#include "windows/WindowPlace.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

constexpr int clientWidth = 558;
constexpr int clientHeight = 560;

QLabel* mottoLabel(QWidget* parent)
{
    auto* motto = new QLabel(u"股市有风险 投资须谨慎"_s, parent);
    QFont font(u"仿宋_GB2312"_s);
    font.setPixelSize(21);
    font.setBold(true);
    motto->setFont(font);
    motto->setStyleSheet(u"color: green;"_s);
    motto->setAlignment(Qt::AlignCenter);
    motto->setGeometry(0, 0, 262, 37);
    return motto;
}

} // namespace

MainWindow::MainWindow(sql::Database& db, ledger::StockTable& stocks, ledger::LedgerWriter& writer,
                       market::NetworkState& network, MainWindowServices services,
                       market::QuoteSourceChoice& quoteSources, market::QuoteService& quotes,
                       QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_db(db), m_stocks(stocks), m_writer(writer), m_network(network), m_services(services),
      m_quoteSources(quoteSources), m_quoteService(quotes)
{
    setWindowTitle(u"Corvanta "_s);
    windows::rememberPlace(this, u"main"_s);
    QFont font = this->font();
    font.setPixelSize(12);
    setFont(font);
    m_focus = new model::LedgerFocus(this);
    m_live = new model::LiveState(this);
    buildLayout();
    m_menus = new MainMenus(menuBar(), this);
    m_status = new StatusBarPanels(statusBar(), QString::fromLatin1(CORVANTA_VERSION));
    buildControllers();
    buildQuoteControllers();
    wireMenus();
    wirePopups();
    wireWindowBehaviour();
    wireActionInputs();
    m_settings->loadSettings();
    m_feeRules->load();
    // The code input starts on the placeholder stock: leaving it untouched finds a
    // stock instead of offering to add one.
    m_picker->lookupStock(m_trade->code->text());
    m_ledgerController->startGrid();
    setFixedSize(clientWidth, clientHeight + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow()
{
    windows::deleteHelpersFirst(*this);
}

void MainWindow::buildLayout()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    mottoLabel(central);
    m_parameters = new ParametersPanel(central);
    // Taller than the sell-target groups below it need to give, by the row of the
    // fee-rule choice.
    m_parameters->setGeometry(9, 38, 250, 179);
    m_trade = new TradePanel(central);
    m_trade->setGeometry(266, 7, 288, 331);
    m_profitTargets = new SellTargetGroup(SellTargetGroup::Kind::Profit, central);
    m_profitTargets->setGeometry(4, 218, 261, 59);
    m_lossTargets = new SellTargetGroup(SellTargetGroup::Kind::Loss, central);
    m_lossTargets->setGeometry(4, 278, 261, 59);
    m_ledger = new LedgerPanel(central);
    m_ledger->setGeometry(0, 337, 553, 194);

    m_viewSelector = new QComboBox(central);
    m_viewSelector->setObjectName(u"viewSelector"_s);
    m_viewSelector->addItems({u"交易记录"_s, u"交易汇总"_s});
    m_viewSelector->setToolTip(u"点击显示所有买卖股票数据"_s);
    m_viewSelector->setGeometry(475, 337, 78, 18);
    m_viewSelector->raise();
}

void MainWindow::buildControllers()
{
    // The form follows the panels before any controller reads it.
    m_form = new model::TradeForm(this);
    m_formBinding = new TradeFormBinding(*m_form, *m_parameters, *m_trade, this);
    m_fees = new FeeController(*m_parameters, *m_trade, *m_form, this);
    m_targets = new SellTargetController(*m_form, *m_trade, *m_profitTargets, *m_lossTargets, this);
    m_picker = new windows::StockPicker(m_stocks, m_services.prompter, m_trade->code,
                                        m_trade->candidates, m_trade->quantity, this);
    m_ledgerController = new LedgerController(m_db, m_writer,
                                              {*m_trade, *m_form, *m_ledger, *m_focus, *m_fees,
                                               *m_targets, *m_picker, m_services.prompter},
                                              this);
    m_formBinding->serveRequests(*m_picker, *m_ledgerController);
    m_tray = new TrayController(m_services.tray, *this, *m_menus, *m_trade, *m_live);
    m_settings = new SettingsMenuController(
        m_network, m_db, m_writer, m_services,
        {*this, *m_menus, *m_parameters, *m_trade, *m_status, *m_fees, *m_tray});

    m_feeRules = new FeeRuleController(m_db, m_writer, *this, *m_parameters, *m_menus, *m_fees,
                                       m_services.prompter);

    connect(m_fees, &FeeController::inputsPriced, m_targets, &SellTargetController::enableInputs);
    connect(m_fees, &FeeController::codeFocusWanted, this, &MainWindow::focusCodeInput);
    connect(m_targets, &SellTargetController::codeFocusWanted, this, &MainWindow::focusCodeInput);
    connect(m_ledgerController, &LedgerController::codeFocusWanted, this,
            &MainWindow::focusCodeInput);

    connect(m_picker, &windows::StockPicker::marketInferred, m_fees,
            &FeeController::setMarketFromPicker);
    connect(m_picker, &windows::StockPicker::stampDutyFlagChanged, m_fees,
            &FeeController::setStampDutyFlag);
    connect(m_picker, &windows::StockPicker::captionChanged, m_trade, &QGroupBox::setTitle);
    connect(m_picker, &windows::StockPicker::infoLinkChanged, this,
            [this](const QString& caption, const QUrl& url) {
                m_trade->infoLink->setText(caption);
                m_trade->infoLink->setProperty("url", url);
            });
    connect(m_picker, &windows::StockPicker::addStockRequested, this,
            &MainWindow::stockEditorWanted);
}

void MainWindow::buildQuoteControllers()
{
    m_quotes = new QuoteRefreshController(m_network, m_quoteService,
                                          {*m_trade, *m_form, *m_menus, *m_status, *m_fees,
                                           *m_profitTargets, *m_lossTargets, *m_tray, *m_live},
                                          this);
    m_quoteMenus = new QuoteMenusController(
        m_db, m_writer, m_services,
        {*this, *m_trade, *m_menus, *m_picker, *m_quotes, *m_tray, m_quoteSources}, this);
    m_quoteSourceMenu = new QuoteSourceController(m_writer, m_quoteSources, *m_menus, *m_status,
                                                  m_services.prompter, this);
    connect(m_picker, &windows::StockPicker::quoteWanted, m_quotes,
            &QuoteRefreshController::onQuoteWanted);
    connect(m_picker, &windows::StockPicker::refreshStopRequested, m_quotes,
            &QuoteRefreshController::stopLiveRefresh);
    connect(m_ledgerController, &LedgerController::tradeSelected, m_quotes,
            &QuoteRefreshController::onTradeSelected);
    connect(m_tray, &TrayController::wentToTrayWithStock, m_quotes,
            &QuoteRefreshController::startLiveRefresh);
    connect(m_tray, &TrayController::restored, m_quotes, &QuoteRefreshController::stopLiveRefresh);
    m_available |= model::Available::LiveRefresh | model::Available::StockQuery;
}

void MainWindow::makeStockCurrent(const QString& code, const QString& name)
{
    // The market follows the code, as when it is typed: a saved ChiNext stock
    // must not keep the Shanghai transfer fee of the stock shown before.
    m_picker->inferMarket(code);
    m_picker->setCurrentStock(code, name);
}

void MainWindow::focusCodeInput()
{
    m_trade->code->setFocus(Qt::OtherFocusReason);
}

void MainWindow::wireMenus()
{
    MainMenus& m = *m_menus;
    connect(m.addStock, &QAction::triggered, this,
            [this] { Q_EMIT stockEditorWanted(m_trade->code->text()); });
    connect(m.clearLedger, &QAction::triggered, m_ledgerController, &LedgerController::clearLedger);
    connect(m.exit, &QAction::triggered, this, &QWidget::close);
    connect(m.trayExit, &QAction::triggered, this, [this] {
        m_tray->leaveForExit();
        close();
        // A hidden window's closing does not end the program by itself.
        QCoreApplication::quit();
    });
}

void MainWindow::wirePopups()
{
    MainMenus& m = *m_menus;
    m_trade->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_trade, &QWidget::customContextMenuRequested, this,
            [this, &m](const QPoint& at) { m.tradePopup->popup(m_trade->mapToGlobal(at)); });
    connect(m.directionBuy, &QAction::triggered, this,
            [this] { m_parameters->setDirection(Direction::Buy); });
    connect(m.directionSell, &QAction::triggered, this,
            [this] { m_parameters->setDirection(Direction::Sell); });
    connect(m.marketShenzhen, &QAction::triggered, this,
            [this] { m_parameters->setMarket(MarketKind::ShenzhenA); });
    connect(m.marketShanghai, &QAction::triggered, this,
            [this] { m_parameters->setMarket(MarketKind::ShanghaiA); });
    connect(m.marketWarrant, &QAction::triggered, this,
            [this] { m_parameters->setMarket(MarketKind::WarrantOrFund); });
    connect(m.popupRecordSell, &QAction::triggered, m_ledgerController,
            &LedgerController::recordSell);
    connect(m.popupRecordBuy, &QAction::triggered, m_ledgerController,
            &LedgerController::recordBuy);

    QTableView* grid = m_ledger->ledgerGrid;
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [grid, &m](const QPoint& at) {
        m.ledgerPopup->popup(grid->viewport()->mapToGlobal(at));
    });
    connect(m.sortByName, &QAction::triggered, this,
            [this] { m_ledgerController->setSortOrder(ledger::LedgerSortOrder::ByName); });
    connect(m.sortByDate, &QAction::triggered, this,
            [this] { m_ledgerController->setSortOrder(ledger::LedgerSortOrder::ByDate); });
    connect(m.popupDelete, &QAction::triggered, m_ledgerController,
            &LedgerController::deleteCurrentTrade);
}

void MainWindow::wireWindowBehaviour()
{
    connect(m_parameters->opacitySlider, &QSlider::valueChanged, this,
            [this](int position) { setWindowOpacity((255 - position) / 255.0); });
    connect(m_trade->recordBuyButton, &QPushButton::clicked, m_ledgerController,
            &LedgerController::recordBuy);
    connect(m_trade->recordSellButton, &QPushButton::clicked, m_ledgerController,
            &LedgerController::recordSell);
    connect(m_trade->deleteButton, &QPushButton::clicked, m_ledgerController,
            &LedgerController::deleteCurrentTrade);
    connect(m_trade->clearButton, &QPushButton::clicked, this, &MainWindow::clearAll);
    m_trade->infoLink->installEventFilter(this);
    m_trade->todayOpen->installEventFilter(this);
    new windows::SelectAllOnEntry(m_trade->todayOpen);
    m_trade->gainLabel->installEventFilter(this);
    for (QWidget* input : liveRefreshStoppers())
        input->installEventFilter(this);
    m_ledger->ledgerGrid->installEventFilter(this);
}

// Entering one of these inputs means the user is about to type a figure of their
// own, which the next quote of the live refresh would otherwise overwrite.
QList<QWidget*> MainWindow::liveRefreshStoppers() const
{
    return {m_trade->quantity, m_trade->price, m_trade->code, m_trade->currentPrice,
            m_parameters->tradeDate};
}

// Focus that moves because a window was switched or a popup opened is not the user
// entering an input or leaving the grid.
static bool movedByTheUser(QEvent* event)
{
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_parameters->directionBox && event->type() == QEvent::EnabledChange)
        changeTradeFlags([this](model::TradeFlags& in) {
            in.directionChoiceEnabled = m_parameters->directionBox->isEnabled();
        });
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_trade->infoLink) {
            const QUrl url = m_trade->infoLink->property("url").toUrl();
            if (url.isValid() && !m_services.desktop.openUrl(url))
                m_services.prompter.inform(browserFailedMessage(url));
        } else if (watched == m_trade->todayOpen) {
            // The opening price can be typed in when no quote gives it.
            const bool editable = m_trade->todayOpen->isReadOnly();
            m_trade->todayOpen->setReadOnly(!editable);
            m_trade->todayOpen->setStyleSheet(editable ? u"color: green;"_s : QString());
        } else if (watched == m_trade->gainLabel) {
            m_network.setQuoteFetchIdle(true);
        }
    } else if (event->type() == QEvent::FocusOut && watched == m_trade->todayOpen) {
        m_trade->todayOpen->setReadOnly(true);
        m_trade->todayOpen->setStyleSheet(QString());
    }
    if (event->type() == QEvent::FocusIn && movedByTheUser(event) &&
        liveRefreshStoppers().contains(static_cast<QWidget*>(watched)))
        m_quotes->stopLiveRefresh();
    if (event->type() == QEvent::FocusOut && movedByTheUser(event) &&
        watched == m_ledger->ledgerGrid)
        m_quotes->stopLiveRefresh();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::clearAll()
{
    m_ledgerController->clearTradeInputs();
    m_trade->currentPrice->setText(u"0"_s);
    m_parameters->setDirection(Direction::Buy);
    // The unit's handler sets the quantity back to shares.
    m_trade->unitGroup->button(int(QuantityUnit::Shares))->setChecked(true);
    m_parameters->tradeDate->setDate(QDate::currentDate());
    focusCodeInput();
}

// Each fact comes from the object that owns it; the items follow at once.
void MainWindow::wireActionInputs()
{
    connect(m_fees, &FeeController::pricingChanged, this, [this] {
        const FeeController::Pricing& p = m_fees->pricing();
        changeTradeFlags([&p](model::TradeFlags& in) {
            in.buyPriced = p.buyRecordable;
            in.sellPriced = p.sellRecordable;
            in.amountsPriced = p.amountsPriced;
        });
    });
    connect(m_fees, &FeeController::feeRuleChanged, this, [this] {
        changeTradeFlags([this](model::TradeFlags& in) {
            in.feesByTradeDate = m_fees->feeRule().choice == FeeRuleChoice::ByTradeDate;
        });
    });
    connect(m_targets, &SellTargetController::inputsStateChanged, this, [this] {
        changeTradeFlags(
            [this](model::TradeFlags& in) { in.sellTargets = m_targets->inputsState(); });
    });
    connect(&m_network, &market::NetworkState::changed, m_live,
            [this] { m_live->setNetworkOk(m_network.networkOk()); });
    connect(m_focus, &model::LedgerFocus::recordChanged, this, &MainWindow::refreshActionInputs);
    connect(m_focus, &model::LedgerFocus::viewChanged, this, &MainWindow::showFocusedView);
    connect(m_focus, &model::LedgerFocus::recordLabelChanged, this, &MainWindow::showRecordLabel);
    connect(m_live, &model::LiveState::changed, this, &MainWindow::refreshActionInputs);
    m_parameters->directionBox->installEventFilter(this);
    m_live->setNetworkOk(m_network.networkOk());
    m_tradeFlags.feesByTradeDate = m_fees->feeRule().choice == FeeRuleChoice::ByTradeDate;
    m_tradeFlags.directionChoiceEnabled = m_parameters->directionBox->isEnabled();
    // Sources that publish no quote endpoint are never chosen.
    if (market::quoteSourceOfName(u"搜狐"_s))
        m_available |= model::Available::SohuEndpoint;
    if (market::quoteSourceOfName(u"和讯"_s))
        m_available |= model::Available::HexunEndpoint;
    showFocusedView();
    m_actionInputs = model::actionInputsOf(*m_focus, *m_live, m_tradeFlags, m_available);
    updateActions();
}

void MainWindow::showFocusedView()
{
    const bool summary = m_focus->view() == model::LedgerViewKind::Summary;
    {
        const QSignalBlocker quiet(m_viewSelector);
        m_viewSelector->setCurrentIndex(
            m_focus->selectedView() == model::LedgerViewKind::Summary ? 1 : 0);
    }
    m_viewSelector->setToolTip(summary ? report::texts::selectorHintSummary.toString()
                                       : report::texts::selectorHintLedger.toString());
    m_ledger->ledgerGrid->setVisible(!summary);
    m_ledger->summaryGrid->setVisible(summary);
    refreshActionInputs();
}

void MainWindow::showRecordLabel()
{
    const std::optional<QString>& label = m_focus->recordLabel();
    m_ledger->recordLabel->setText(label.value_or(QString()));
    m_ledger->recordLabel->setVisible(label.has_value());
}

void MainWindow::markAvailable(model::Availability what)
{
    m_available |= what;
    refreshActionInputs();
}

template <typename Change> void MainWindow::changeTradeFlags(Change change)
{
    change(m_tradeFlags);
    refreshActionInputs();
}

void MainWindow::refreshActionInputs()
{
    const model::ActionInputs next =
        model::actionInputsOf(*m_focus, *m_live, m_tradeFlags, m_available);
    if (next == m_actionInputs)
        return;
    m_actionInputs = next;
    updateActions();
}

// The one place that enables and disables the window's items and buttons.
void MainWindow::updateActions()
{
    const model::ActionStates s = model::actionStates(m_actionInputs);
    m_trade->recordBuyButton->setEnabled(s.recordBuy);
    m_trade->recordSellButton->setEnabled(s.recordSell);
    m_trade->deleteButton->setEnabled(s.deleteRecord);
    m_trade->amountUnit->setEnabled(s.amountUnit);
    m_trade->currentPrice->setEnabled(s.currentPrice);
    m_parameters->stampRate->setEnabled(s.stampRate);
    for (const SellTargetGroup* group : {m_profitTargets, m_lossTargets}) {
        group->price->setEnabled(s.targetPrices);
        group->amount->setEnabled(s.targetAmounts);
        group->percent->setEnabled(s.targetAmounts);
    }
    m_form->setSellTargetInputs(s.targetPrices, s.targetAmounts);
    MainMenus& m = *m_menus;
    m.tradeMonitor->setEnabled(s.monitor);
    m.ledgerMonitor->setEnabled(s.monitor);
    m.floatingBar->setEnabled(s.floatingBar);
    m.commissionMinimum->setEnabled(s.commissionMinimum);
    m.directionMenu->setEnabled(s.directionMenu);
    m.fetchPrice->setEnabled(s.fetchPrice);
    m.popupRecordBuy->setEnabled(s.popupRecordBuy);
    m.popupRecordSell->setEnabled(s.popupRecordSell);
    m.tradeSave->setEnabled(s.popupSave);
    m.summary->setEnabled(s.summary);
    m.popupDelete->setEnabled(s.popupDelete);
    m.monitorListMenu->setEnabled(s.monitorListMenu);
    m.monitorAdd->setEnabled(s.monitorAdd);
    m.monitorRemove->setEnabled(s.monitorRemove);
    m.updateNames->setEnabled(s.refreshCodeNames);
    m.trayRealtime->setEnabled(s.trayRealtime);
    m.trayFloating->setEnabled(s.trayFloating);
    m.monitorFont->setEnabled(s.monitorFont);
    m.tutorial->setEnabled(s.tutorial);
    m.backup->setEnabled(s.backup);
    m.brokerImport->setEnabled(s.brokerImport);
    for (QAction* item : {m.tradeDetail, m.ledgerDetail, m.trayDetail})
        item->setEnabled(s.profitLoss);
    for (QAction* item :
         {m.tradeJournalAdd, m.ledgerJournalAdd, m.tradeJournalView, m.ledgerJournalView})
        item->setEnabled(s.journal);
    m.stockTrades->setEnabled(s.stockTrades);
    for (QAction* item :
         {m.monitorAddAll, m.monitorRemoveAll, m.monitorAddUnsold, m.monitorAddRange})
        item->setEnabled(s.monitorListCommands);
    m.monitorShowAll->setEnabled(s.monitoredStocks);
    m.tradeRefresh->setEnabled(s.liveRefresh);
    m.trayRefresh->setEnabled(s.liveRefresh);
    m.trayQuery->setEnabled(s.stockQuery);
    for (QAction* source : m.dataSources->actions()) {
        if (source->text() == u"搜狐"_s)
            source->setEnabled(s.sohuSource);
        else if (source->text() == u"和讯"_s)
            source->setEnabled(s.hexunSource);
    }
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        onActivated();
    QMainWindow::changeEvent(event);
}

void MainWindow::onActivated()
{
    m_quotes->checkConnectionNow();
    m_settings->applyProxy();
    // The info link follows the ledger's current row.
    if (const ledger::LedgerRow* row = m_ledgerController->currentRow()) {
        m_trade->infoLink->setText(windows::stockInfoCaption(row->cells[ledger::NameColumn]));
        m_trade->infoLink->setProperty("url", windows::stockInfoUrl(row->code));
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    m_closing = true;
    Q_EMIT closing();
    m_services.tray.hide();
    QMainWindow::closeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // Enter that no control took moves on to the code input.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusCodeInput();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace corvanta::app
