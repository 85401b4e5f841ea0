#include "ProfitLossWindow.h"

#include "CurrentPriceGroup.h"
#include "DetailRefresh.h"
#include "DetailRefreshController.h"
#include "GainControllers.h"
#include "HelpersFirst.h"
#include "PriceLadderModel.h"
#include "ProfitLossMenu.h"
#include "SellTargetBinder.h"
#include "SellTargetBoxes.h"
#include "model/TradeForm.h"

#include "calc/PriceLadder.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

constexpr int gridFullHeight = 393;
constexpr int gridFoldedHeight = 93;
constexpr int groupFullHeight = 513;
constexpr int groupFoldedHeight = 213;
constexpr int columnWidths[ladderColumns] = {90, 85, 50, 90, 85, 50};

} // namespace

ProfitLossWindow::~ProfitLossWindow()
{
    deleteHelpersFirst(*this);
}

ProfitLossWindow::ProfitLossWindow(model::TradeForm& trade, QWidget* parent)
    : QWidget(parent), m_trade(trade)
{
    setWindowFlag(Qt::Window); // its own window even when given an owner
    setWindowTitle(u"盈亏明细表窗口"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(buildHeaderGroup(), 1);
    layout->addWidget(buildLadderGroup());

    m_targets = new SellTargetBinder(trade, *m_profit, *m_loss, this);
    m_gain = new CurrentGainController(trade, *m_current, *m_buyBack, this);
    m_buyBackGain = new BuyBackController(trade, *m_current, *m_buyBack, *m_header, this);
    m_refresh = new DetailRefreshController(*m_headerGroup, *m_ladderGroup, this);
    connect(m_refresh, &DetailRefreshController::refreshDue, this, &ProfitLossWindow::refresh);
    m_menu = new ProfitLossMenu(this);
    wireMenu();

    setFixedWidth(540);
    setFolded(false);
}

QWidget* ProfitLossWindow::buildHeaderGroup()
{
    m_headerGroup = new QGroupBox;
    m_headerGroup->setObjectName(u"grp2"_s);
    m_headerGroup->setStyleSheet(u"color: green;"_s);
    m_header = new QLabel(u"价格"_s);
    m_header->setObjectName(u"Label1"_s);
    m_ladderNote = new QLabel;
    m_ladderNote->setObjectName(u"ladderNote"_s);
    m_ladderNote->setStyleSheet(u"color: red;"_s);
    m_ladderNote->hide();
    auto* layout = new QVBoxLayout(m_headerGroup);
    layout->setContentsMargins(4, 0, 4, 1);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_ladderNote);
    layout->addStretch();
    return m_headerGroup;
}

QWidget* ProfitLossWindow::buildLadderGroup()
{
    m_ladderGroup = new QGroupBox(ladderGroupCaption());
    m_ladderGroup->setObjectName(u"grp1"_s);
    m_current = new CurrentPriceGroup;
    m_buyBack = new BuyBackGroup;
    m_profit = new SellTargetBoxes(SellTargetBoxes::Kind::Profit);
    m_loss = new SellTargetBoxes(SellTargetBoxes::Kind::Loss);

    m_model = new PriceLadderModel(this);
    m_grid = new QTableView;
    m_grid->setObjectName(u"ladderGrid"_s);
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(18);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setStyleSheet(u"QTableView { gridline-color: #c0dcc0; }"_s); // money green
    fitColumns();

    auto* layout = new QGridLayout(m_ladderGroup);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->setSpacing(1);
    layout->addWidget(m_current, 0, 0);
    layout->addWidget(m_buyBack, 0, 1);
    layout->addWidget(m_profit, 1, 0);
    layout->addWidget(m_loss, 1, 1);
    layout->addWidget(m_grid, 2, 0, 1, 2);
    return m_ladderGroup;
}

void ProfitLossWindow::wireMenu()
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_menu->popup(mapToGlobal(pos)); });
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_menu->popup(m_grid->viewport()->mapToGlobal(pos)); });
    connect(m_menu->copyAction, &QAction::triggered, this, &ProfitLossWindow::copyLadder);
    connect(m_menu->foldAction, &QAction::triggered, this, &ProfitLossWindow::toggleFold);
    connect(m_menu, &ProfitLossMenu::intervalChosen, m_refresh, &DetailRefreshController::start);
    connect(m_menu->stopAction, &QAction::triggered, m_refresh, &DetailRefreshController::stop);
    connect(m_menu, &ProfitLossMenu::hideMainWindowChosen, this,
            &ProfitLossWindow::hideMainWindowRequested);
    connect(m_menu, &ProfitLossMenu::showMainWindowChosen, this,
            &ProfitLossWindow::showMainWindowRequested);
}

void ProfitLossWindow::open(const QRect& anchor)
{
    if (anchor.isValid())
        move(anchor.center() - QPoint(width() / 2, height() / 2));
    show();
    raise();
    activateWindow();
}

void ProfitLossWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        rebuild();
}

void ProfitLossWindow::closeEvent(QCloseEvent* event)
{
    m_refresh->reset();
    Q_EMIT showMainWindowRequested();
    QWidget::closeEvent(event);
}

void ProfitLossWindow::rebuild()
{
    m_gain->takeMainWindowPrice();
    m_targets->followMainWindowEnabling();
    rebuildHeader();
    rebuildLadder();
}

void ProfitLossWindow::refresh()
{
    // The fetch answers later: its price reaches this window at a later tick.
    m_trade.askForQuote();
    m_gain->takeMainWindowPrice();
    rebuildHeader();
}

namespace {

LadderInputs ladderInputs(const model::TradeForm& trade)
{
    LadderInputs in;
    in.trade = trade.feeSnapshot();
    in.total = trade.total();
    in.code = trade.stockCode();
    in.name = trade.stockName();
    in.open = trade.todayOpen();
    in.prevClose = trade.lastClose();
    in.bestBid = trade.bestBid();
    in.bestAsk = trade.bestAsk();
    in.current = trade.currentPrice();
    return in;
}

} // namespace

void ProfitLossWindow::rebuildHeader()
{
    const LadderHeader header = ladderHeader(ladderInputs(m_trade));
    m_header->setText(header.first + u"\n"_s + header.second);
}

void ProfitLossWindow::rebuildLadder()
{
    // The form's total is yuan whatever unit the main window shows.
    PriceLadder ladder = buildPriceLadder(ladderInputs(m_trade));
    m_ladderNote->setText(ladder.problem.value_or(QString()));
    m_ladderNote->setVisible(ladder.problem.has_value());
    m_model->setLadder(std::move(ladder));
    fitColumns();
}

// The set widths suit a narrow font; a wider one must not cut a level's caption.
void ProfitLossWindow::fitColumns()
{
    for (int col = 0; col < ladderColumns; ++col) {
        m_grid->resizeColumnToContents(col);
        m_grid->setColumnWidth(col, std::max(columnWidths[col], m_grid->columnWidth(col)));
    }
}

void ProfitLossWindow::copyLadder()
{
    QGuiApplication::clipboard()->setText(ladderCopyText(m_model->ladder()));
}

void ProfitLossWindow::toggleFold()
{
    setFolded(height() == fullHeight);
}

void ProfitLossWindow::setFolded(bool folded)
{
    m_grid->setFixedHeight(folded ? gridFoldedHeight : gridFullHeight);
    m_ladderGroup->setFixedHeight(folded ? groupFoldedHeight : groupFullHeight);
    setFixedHeight(folded ? foldedHeight : fullHeight);
}

} // namespace corvanta::windows
