#include "LedgerPanel.h"

#include "windows/LineBreaks.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

// Keeps a row's colour (buy, monitored buy, sell) readable while it is selected.
class RowColourDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant colour = index.data(Qt::ForegroundRole);
        if (colour.canConvert<QBrush>()) {
            option->palette.setBrush(QPalette::HighlightedText, colour.value<QBrush>());
            option->palette.setColor(QPalette::Highlight, QColor(0xd6, 0xe4, 0xf5));
        }
    }
};

} // namespace

LedgerPanel::LedgerPanel(QWidget* parent) : QGroupBox(u"交易记录"_s, parent)
{
    // Fixed places inside the box, as the rest of the window's layout; both end
    // left of the view selector, which sits on the box's top right corner.
    auto* unit = new QLabel(u"单位:元"_s, this);
    unit->setObjectName(u"unitLabel"_s);
    unit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    unit->setGeometry(400, 0, 68, 16);
    recordLabel = new QLabel(this);
    recordLabel->setObjectName(u"recordLabel"_s);
    recordLabel->setGeometry(200, 0, 196, 16);
    recordLabel->hide();

    ledgerGrid = new QTableView(this);
    ledgerGrid->setObjectName(u"ledgerGrid"_s);
    ledgerGrid->setGeometry(4, 18, 545, 172);
    ledgerGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ledgerGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ledgerGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    ledgerGrid->setItemDelegate(new RowColourDelegate(ledgerGrid));
    QFont gridFont = ledgerGrid->font();
    gridFont.setPixelSize(11);
    ledgerGrid->setFont(gridFont);
    ledgerGrid->verticalHeader()->setDefaultSectionSize(18);
    ledgerGrid->verticalHeader()->setMinimumWidth(12);
    ledgerGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ledgerGrid->setToolTip(
        windows::lineBreaks(u"红色为买入股票,粉色为实时监控列表中股票\r\n蓝色为卖出股票"_s));

    summaryGrid = new QTableView(this);
    summaryGrid->setObjectName(u"summaryGrid"_s);
    summaryGrid->setGeometry(ledgerGrid->geometry());
    summaryGrid->setToolTip(u"交易汇总表"_s);
    summaryGrid->hide();
}

} // namespace corvanta::app
