#include "MonitorWindow.h"
#include "WindowPlace.h"
#include "calc/PlaceholderStock.h"

#include "LedgerGuard.h"
#include "MonitorHeadController.h"
#include "MonitorHeadPanel.h"
#include "MonitorQuotePanels.h"
#include "NumericFieldFilter.h"
#include "StockPicker.h"
#include "model/TradeForm.h"

#include "monitor/MonitorSession.h"
#include "report/MonitorTableModel.h"
#include "report/MonitorTexts.h"
#include "report/TradeDetailModel.h"

#include <QBrush>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

QVariant brushFor(report::CellColour colour)
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

QString colourName(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText).name();
}

} // namespace

MonitorWindow::MonitorWindow(monitor::MonitorSession& session, model::TradeForm& trade,
                             ledger::StockTable& stocks, sql::Database& db, Prompter& prompter,
                             ledger::MonitorFont font, QWidget* parent)
    : QWidget(parent), m_session(session), m_trade(trade), m_db(db), m_prompter(prompter),
      m_font(font)
{
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(u"实时行情监控"_s);
    rememberPlace(this, u"monitor"_s);
    setFont(QFont(u"Tahoma"_s, 8));

    m_head = new MonitorHeadPanel;
    m_quotes = new MonitorQuotePanels;
    m_buyBack = new MonitorBuyBackPanel;
    auto* upper = new QWidget;
    auto* stack = new QStackedLayout(upper);
    stack->setStackingMode(QStackedLayout::StackAll);
    auto* quoteArea = new QWidget;
    auto* quoteLayout = new QVBoxLayout(quoteArea);
    quoteLayout->setContentsMargins(0, 0, 0, 0);
    quoteLayout->setSpacing(2);
    quoteLayout->addWidget(m_quotes);
    quoteLayout->addWidget(m_buyBack);
    stack->addWidget(buildDetailGroup());
    stack->addWidget(quoteArea);
    m_detailGroup->hide(); // shown over the quote panels on request

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_head);
    layout->addWidget(upper);
    layout->addWidget(buildGridGroup(), 1);
    buildMenus();

    m_picker = new StockPicker(stocks, prompter, m_head->code, m_head->picker, m_head->price, this);
    connect(m_picker, &StockPicker::captionChanged, this, [this](const QString& name) {
        setHeadCaption(name);
        if (const auto row = m_picker->current())
            m_quotes->setChartLink(name, row->code);
    });
    connect(m_picker, &StockPicker::quoteWanted, this, &MonitorWindow::setMainCode);
    connect(m_head->picker, &QComboBox::activated, this, [this](int index) {
        m_picker->selectCandidate(index);
        setMainCode(m_head->code->text());
    });
    m_head->code->installEventFilter(this);
    new NumericFieldFilter(m_head->quantity, NumericField::Quantity, m_head->code);
    new NumericFieldFilter(m_head->price, NumericField::Price, m_head->quantity);
    new NumericFieldFilter(m_head->current, NumericField::Price);
    new NumericFieldFilter(m_buyBack->specified, NumericField::Price);
    for (QLineEdit* edit : {m_head->code, m_head->quantity, m_head->price, m_head->current})
        new SelectAllOnEntry(edit);

    m_controller = new MonitorHeadController(trade, *m_head, *m_buyBack, this);
    connect(m_controller, &MonitorHeadController::indexLabelsChanged, this,
            &MonitorWindow::updateIndexLabels);
    connect(m_head->monitoring, &QCheckBox::clicked, this,
            [this](bool checked) { m_session.setMonitoring(checked); });
    connect(m_head->interval, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != m_session.intervalPosition())
            m_session.setIntervalPosition(value);
    });

    // The head stock reaches the session wherever it changes here.
    connect(m_head->code, &QLineEdit::textChanged, &m_session,
            &monitor::MonitorSession::setHeadCode);
    m_session.setHeadCode(m_head->code->text());
    m_session.setHeadName(m_head->title());
    m_session.setCurrentCode(m_trade.stockCode());
    m_session.setNetworkOk(m_networkOk);
    m_session.setFeeSource([this] { return m_controller->snapshot(); });
    wireSession();
    updateIndexLabels();
    setGridFont(font);
    applySwitch();
}

MonitorWindow::~MonitorWindow()
{
    m_session.setFeeSource({});
}

QWidget* MonitorWindow::buildGridGroup()
{
    m_gridGroup = new QGroupBox(u"多股同时监控"_s);
    m_gridGroup->setObjectName(u"gridGroup"_s);
    m_time = new QLabel(u"获取价格时间"_s);
    m_time->setObjectName(u"Label6"_s);
    m_model = new report::MonitorTableModel(this);
    m_model->setColourData(brushFor);
    m_grid = new QTableView;
    m_grid->setObjectName(u"monitorGrid"_s);
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionsMovable(true);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setMinimumSize(486, 153);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_model, &report::MonitorTableModel::columnWidthsChanged, this,
            &MonitorWindow::applyColumnWidths);
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (m_detailGroup->isVisible())
            readDetail(m_model->stockName(index.row()));
    });
    auto* layout = new QVBoxLayout(m_gridGroup);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->setSpacing(1);
    layout->addWidget(m_time);
    layout->addWidget(m_grid, 1);
    return m_gridGroup;
}

QWidget* MonitorWindow::buildDetailGroup()
{
    m_detailGroup = new QGroupBox(u"交易明细"_s);
    m_detailGroup->setObjectName(u"detailPanel"_s);
    // Shown over the quote panels: their captions and the chart link must not show
    // through it.
    m_detailGroup->setAutoFillBackground(true);
    m_detailModel = new report::TradeDetailModel(this);
    m_detailModel->setColourData(brushFor);
    m_detailGrid = new QTableView;
    m_detailGrid->setModel(m_detailModel);
    m_detailGrid->verticalHeader()->hide();
    m_detailGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_detailGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* close = new QAction(u"关闭(&C)"_s, m_detailGrid);
    connect(close, &QAction::triggered, m_detailGroup, &QWidget::hide);
    m_detailGrid->addAction(close);
    auto* layout = new QVBoxLayout(m_detailGroup);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->addWidget(m_detailGrid);
    return m_detailGroup;
}

void MonitorWindow::buildMenus()
{
    auto* bar = new QMenuBar(this);
    m_tools = bar->addMenu(u"工具(&T)"_s);
    m_tools->addAction(u"字体(F)"_s, this, &MonitorWindow::fontWindowRequested);
    m_tools->addAction(u"计算器(&C)"_s, this, &MonitorWindow::calculatorRequested);
    m_tools->addSeparator();
    m_tools->addAction(u"悬浮窗口(&W)"_s, this, &MonitorWindow::switchToFloatingBar);
    layout()->setMenuBar(bar);

    m_popup = new QMenu(this);
    m_popup->addAction(u"悬浮窗显示"_s, this, &MonitorWindow::switchToFloatingBar);
    m_popup->addAction(u"交易明细(&L)"_s, this, &MonitorWindow::showTradeDetail);
    for (QWidget* target : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_head),
                            static_cast<QWidget*>(m_grid)}) {
        target->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(target, &QWidget::customContextMenuRequested, this,
                [this, target](const QPoint& at) { m_popup->popup(target->mapToGlobal(at)); });
    }
}

void MonitorWindow::wireSession()
{
    using S = monitor::MonitorSession;
    connect(&m_session, &S::gridChanged, this, &MonitorWindow::applyGrid);
    connect(&m_session, &S::frameCaptionChanged, m_gridGroup, &QGroupBox::setTitle);
    connect(&m_session, &S::timeLabelChanged, m_time, &QLabel::setText);
    connect(&m_session, &S::headPriced, this, [this](const QString& price) {
        m_head->current->setText(price);
        m_controller->computeGain();
    });
    connect(&m_session, &S::headQuoted, m_quotes, &MonitorQuotePanels::show);
    connect(&m_session, &S::indexQuoted, this,
            [this](const report::TickerLabel& shanghai, const report::TickerLabel& shenzhen) {
                for (const auto& [label, index] : {std::pair{m_buyBack->firstIndex, &shanghai},
                                                   std::pair{m_buyBack->secondIndex, &shenzhen}}) {
                    label->setText(index->text);
                    label->setStyleSheet(u"color: "_s + index->colour + u";"_s);
                }
            });
    connect(&m_session, &S::progressFailed, m_head->progress, &QLabel::setText);
    connect(&m_session, &S::switchChanged, this, &MonitorWindow::applySwitch);
    connect(&m_session, &S::intervalChanged, this, &MonitorWindow::applySwitch);
    connect(&m_session, &S::ticked, this, [this] { m_controller->tick(m_session.hasStarted()); });
}

void MonitorWindow::applySwitch()
{
    const bool on = m_session.isMonitoring();
    m_head->monitoring->setChecked(on);
    m_head->monitoring->setEnabled(m_session.isSwitchEnabled() && m_networkOk);
    m_head->monitoring->setText(monitor::MonitorSession::switchCaption(on));
    m_head->progress->setVisible(on || !m_networkOk);
    m_head->interval->setEnabled(m_session.isIntervalEnabled() && m_networkOk);
    m_head->interval->setValue(m_session.intervalPosition());
    m_head->intervalText->setText(m_session.intervalText());
}

void MonitorWindow::applyGrid()
{
    m_model->setGrid(m_session.grid());
}

int MonitorWindow::pixelsPerByte() const
{
    // A font wider than the one the widths were made for widens the columns,
    // so the texts are never cut.
    const QFontMetrics metrics(m_grid->font());
    return std::max(6, (metrics.horizontalAdvance(u"0123456789"_s) + 9) / 10 + 1);
}

void MonitorWindow::applyColumnWidths()
{
    const report::MonitorWidths widths = m_model->columnWidths(pixelsPerByte());
    for (int column = 0; column < report::MonitorColumnCount; ++column)
        m_grid->setColumnWidth(column, widths[column]);
}

void MonitorWindow::setNetworkOk(bool ok)
{
    m_networkOk = ok;
    m_session.setNetworkOk(ok);
    applySwitch();
}

void MonitorWindow::setGridFont(ledger::MonitorFont font)
{
    m_font = font;
    const report::MonitorFontMetrics metrics = report::monitorFontMetrics(font.sizeIndex);
    QFont gridFont = m_grid->font();
    gridFont.setPointSize(std::max(1, metrics.pointSize));
    gridFont.setBold(font.bold);
    m_grid->setFont(gridFont);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setDefaultSectionSize(metrics.rowHeight);
    m_model->setExtraWidth(metrics.extraWidth);
    applyColumnWidths();
}

void MonitorWindow::setHeadCaption(const QString& name)
{
    m_head->setTitle(name);
    m_quotes->setStockName(name);
    m_session.setHeadName(name);
}

void MonitorWindow::setMainCode(const QString& code)
{
    const QString before = m_trade.stockCode();
    m_trade.chooseStock(code);
    if (m_trade.stockCode() != before) {
        m_trade.askToClear();
        clearHeadTrade();
    }
    m_session.setCurrentCode(m_trade.stockCode());
}

void MonitorWindow::clearHeadTrade()
{
    for (QLineEdit* field : {m_head->quantity, m_head->price, m_head->fees, m_head->paid,
                             m_head->current, m_buyBack->specified})
        field->clear();
    clearHeadGains();
}

void MonitorWindow::clearHeadGains()
{
    m_head->gain->setText(u"当前价格盈亏:"_s);
    m_head->gain->setStyleSheet(u"color: red;"_s);
    m_buyBack->gain->clear();
}

void MonitorWindow::setHeadStock(const QString& code, const QString& name)
{
    m_head->code->setText(code);
    m_picker->setCurrentStock(code, name);
    setHeadCaption(name);
    m_quotes->setChartLink(name, code);
    setMainCode(code);
    if (!name.isEmpty() && name != placeholderName)
        m_session.ticker().resetHead();
}

void MonitorWindow::leaveCode()
{
    m_picker->completeCode();
    setMainCode(m_head->code->text());
}

bool MonitorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_head->code && event->type() == QEvent::FocusOut)
        setMainCode(m_head->code->text());
    return QWidget::eventFilter(watched, event);
}

void MonitorWindow::takeMainTrade()
{
    // The gains shown were worked out for another stock's trade.
    if (m_head->code->text() != m_trade.stockCode())
        clearHeadGains();
    m_session.setCurrentCode(m_trade.stockCode());
    m_head->code->setText(m_trade.stockCode());
    m_head->price->setText(m_trade.price());
    m_head->quantity->setText(m_trade.quantity());
    m_head->fees->setText(m_trade.totalFees());
    m_head->paid->setText(m_trade.total());
    m_head->current->setText(m_trade.currentPrice());
}

void MonitorWindow::showEvent(QShowEvent* event)
{
    Q_EMIT mainTimerStopRequested();
    takeMainTrade();
    m_session.ticker().setActive(false);
    m_session.ticker().rebuildIfPending();
    const QString name = m_trade.stockName();
    setHeadCaption(name);
    m_quotes->setChartLink(name, m_head->code->text());
    if (!name.isEmpty() && name != placeholderName)
        m_picker->setCurrentStock(m_head->code->text(), name);
    if (!m_networkOk) {
        m_session.waitForNetwork();
        m_head->progress->setText(u"网络未连接,无数据"_s);
    }
    applySwitch();
    QWidget::showEvent(event);
}

void MonitorWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous() || m_session.ticker().isActive())
        return;
    m_session.stopMonitoring();
    Q_EMIT mainWindowRestoreRequested();
}

void MonitorWindow::switchToFloatingBar()
{
    m_session.ticker().setActive(true);
    hide();
    Q_EMIT floatingBarRequested();
}

void MonitorWindow::updateIndexLabels()
{
    m_session.setIndexLabels({m_buyBack->firstIndex->text(), colourName(m_buyBack->firstIndex)},
                             {m_buyBack->secondIndex->text(), colourName(m_buyBack->secondIndex)});
}

void MonitorWindow::showTradeDetail()
{
    const QModelIndex current = m_grid->currentIndex();
    readDetail(m_model->stockName(current.isValid() ? current.row() : -1));
    m_detailGroup->show();
    m_detailGroup->raise();
}

void MonitorWindow::readDetail(const QString& name)
{
    if (name.isEmpty()) {
        m_detailModel->setRows(name, {});
        return;
    }
    if (const auto rows = withLedger(m_prompter, LedgerAccess::Read,
                                     [&] { return report::tradeDetailRows(m_db, name); }))
        m_detailModel->setRows(name, *rows);
}

} // namespace corvanta::windows
