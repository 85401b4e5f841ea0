#include "TradeDetailPanel.h"

#include "report/SummaryTexts.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace corvanta::app {

TradeDetailPanel::TradeDetailPanel(QWidget* parent)
    : QGroupBox(report::texts::detailCaption.toString(), parent)
{
    setObjectName(u"tradeDetailPanel"_s);
    setGeometry(0, 196, 553, 142);
    // It lies over the sell-target boxes: their texts must not show through.
    setAutoFillBackground(true);
    grid = new QTableView(this);
    grid->setObjectName(u"detailGrid"_s);
    grid->setGeometry(4, 18, 545, 120);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont gridFont = grid->font();
    gridFont.setPixelSize(11);
    grid->setFont(gridFont);
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->hide();

    popup = new QMenu(this);
    closeAction = popup->addAction(report::texts::detailCloseAction.toString());
    connect(closeAction, &QAction::triggered, this, &QWidget::hide);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup->popup(grid->viewport()->mapToGlobal(at)); });
    hide();
}

} // namespace corvanta::app
