#include "CodeLookupWindow.h"

#include "LedgerGuard.h"
#include "MonitorWindow.h"
#include "StockPicker.h"
#include "calc/PlaceholderStock.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

constexpr int maxCandidates = 20;

} // namespace

CodeLookupWindow::CodeLookupWindow(ledger::StockTable& stocks, MonitorWindow& monitor,
                                   Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_stocks(stocks), m_monitor(monitor), m_prompter(prompter)
{
    setWindowTitle(u"代码"_s);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    m_code = new QLineEdit;
    m_code->setObjectName(u"code"_s);
    m_code->setMaxLength(6);
    m_name = new QLineEdit;
    m_name->setObjectName(u"name"_s);
    m_name->setReadOnly(true);
    m_name->setMaxLength(8);
    m_list = new QListWidget;
    m_list->setObjectName(u"candidates"_s);
    m_list->setMaximumHeight(120);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(u"股票代码"_s), 0, 0);
    grid->addWidget(m_code, 0, 1);
    grid->addWidget(new QLabel(u"股票名称"_s), 1, 0);
    grid->addWidget(m_name, 1, 1);
    grid->addWidget(m_list, 2, 1);
    m_code->installEventFilter(this);
    m_list->installEventFilter(this);
    connect(m_code, &QLineEdit::textEdited, this, &CodeLookupWindow::lookUp);
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { choose(m_list->row(item)); });
}

void CodeLookupWindow::openBeside(const QPoint& barTopLeft)
{
    move(barTopLeft + QPoint(30, 30));
    m_code->clear();
    m_name->clear();
    m_list->clear();
    m_rows.clear();
    show();
    raise();
    m_code->setFocus();
}

void CodeLookupWindow::lookUp()
{
    const QString text = m_code->text().trimmed();
    const auto found = text.isEmpty() ? std::optional(QList<ledger::StockRow>{})
                                      : withLedger(m_prompter, LedgerAccess::Read, [&] {
                                            return m_stocks.lookup(text, maxCandidates);
                                        });
    if (!found)
        return; // the candidates stay as they were
    m_rows = *found;
    m_list->clear();
    for (const ledger::StockRow& row : std::as_const(m_rows))
        m_list->addItem(row.name);
    // The monitor's candidate list offers the same stocks as they are typed.
    m_monitor.picker()->offerCandidates(m_rows);
    if (m_rows.isEmpty()) {
        m_name->clear();
        return;
    }
    m_list->setCurrentRow(0);
    const ledger::StockRow& first = m_rows.first();
    if (first.name.isEmpty() || first.name == placeholderName) {
        m_name->clear();
        return;
    }
    m_name->setText(first.name);
    // A whole code makes the stock the head stock at once.
    if (text.size() > 5) {
        m_monitor.setHeadStock(first.code, first.name);
        m_code->selectAll();
    }
}

void CodeLookupWindow::choose(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    const ledger::StockRow& chosen = m_rows[row];
    m_code->setText(chosen.code);
    m_name->setText(chosen.name == placeholderName ? QString() : chosen.name);
    m_monitor.setHeadStock(chosen.code, chosen.name);
}

void CodeLookupWindow::complete()
{
    const QString text = m_code->text();
    const bool partial = text.isEmpty() || !text.front().isDigit() || text.size() < 6;
    if (partial && !m_rows.isEmpty())
        m_code->setText(m_rows[std::max(0, m_list->currentRow())].code);
}

bool CodeLookupWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_code && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (!m_name->text().trimmed().isEmpty()) {
                complete();
                choose(std::max(0, m_list->currentRow()));
                Q_EMIT refreshRequested();
            }
            m_code->selectAll();
            return true;
        }
    }
    if (watched == m_code && event->type() == QEvent::FocusOut)
        complete();
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            m_code->setFocus();
        return true; // typed keys are discarded
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace corvanta::windows
