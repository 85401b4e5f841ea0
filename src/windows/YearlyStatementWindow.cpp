#include "YearlyStatementWindow.h"

#include "DatabaseFailure.h"
#include "ledger/sql/Database.h"
#include "report/YearlyStatement.h"

#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace corvanta::windows {

YearlyStatementWindow::YearlyStatementWindow(sql::Database& db, ledger::LedgerNotifier& notifier,
                                             QWidget* parent)
    : QWidget(parent, Qt::Window), m_db(db), m_model(new QStandardItemModel(this)),
      m_table(new QTableView(this)), m_failure(new QLabel(this))
{
    setWindowTitle(QStringLiteral("年度对账"));
    resize(1000, 360);
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* note = new QLabel(
        QStringLiteral("金额单位：元。已实现盈亏 = 卖出所得（扣除费用）− 所卖股数的平均成本；"
                       "年末持仓成本为年末未卖股票的平均成本。合计行的买入支付、卖出收入、费用合计"
                       "与交易汇总一致，"
                       "没有分红送配时已实现盈亏减年末持仓成本等于汇总（不取行情）的盈亏金额。"
                       "分红派息为除权除息日到账的税前现金红利，红利税为派息时或卖出时扣缴的"
                       "股息红利税；送转的新股不计成本，摊低每股平均成本。"),
        this);
    note->setWordWrap(true);
    m_failure->setWordWrap(true);
    m_failure->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(note);
    layout->addWidget(m_failure);
    connect(&notifier, &ledger::LedgerNotifier::changed, this, [this](ledger::LedgerChanges what) {
        if (what.testFlag(ledger::LedgerChange::Trades) && isVisible())
            refresh();
    });
}

void YearlyStatementWindow::refresh()
{
    QList<QStringList> rows;
    try {
        rows = report::yearlyStatementRows(report::yearlyStatement(m_db));
    } catch (const sql::Error& error) {
        m_failure->setText(databaseFailureText(LedgerAccess::Read, error));
        m_failure->show();
        return;
    }
    m_failure->hide();
    m_model->clear();
    m_model->setHorizontalHeaderLabels(report::yearlyStatementTitles());
    for (const QStringList& row : rows) {
        QList<QStandardItem*> items;
        for (qsizetype column = 0; column < row.size(); ++column) {
            auto* item = new QStandardItem(row[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            items.append(item);
        }
        m_model->appendRow(items);
    }
}

} // namespace corvanta::windows
