#include "StockEventWindow.h"

#include "LedgerGuard.h"
#include "Prompter.h"
#include "StockEventTableModel.h"
#include "calc/Numbers.h"
#include "ledger/LedgerMessages.h"
#include "ledger/LedgerWriter.h"
#include "ledger/RightsSubscription.h"
#include "report/StockEventList.h"

#include <QDateEdit>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

const QString caption = u"分红送配"_s;

QDateEdit* makeDate(const QString& objectName, QWidget* parent)
{
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(objectName);
    edit->setDisplayFormat(u"yyyy-MM-dd"_s);
    edit->setCalendarPopup(true);
    return edit;
}

QLineEdit* makeRatio(const QString& objectName, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaximumWidth(70);
    return edit;
}

QPushButton* makeButton(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

// A stored ratio back in the form: empty when zero.
QString ratioText(double value)
{
    return value > 0 ? num::general(value) : QString();
}

} // namespace

StockEventWindow::StockEventWindow(sql::Database& db, ledger::LedgerWriter& writer,
                                   Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), m_db(db), m_writer(writer), m_prompter(prompter)
{
    setObjectName(u"StockEventWindow"_s);
    setWindowTitle(caption);

    m_model = new StockEventTableModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(u"eventTable"_s);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    m_record = makeDate(u"recordDate"_s, this);
    m_ex = makeDate(u"exDate"_s, this);
    m_cash = makeRatio(u"cash"_s, this);
    m_bonus = makeRatio(u"bonus"_s, this);
    m_transfer = makeRatio(u"transfer"_s, this);
    m_rights = makeRatio(u"rights"_s, this);
    m_rightsPrice = makeRatio(u"rightsPrice"_s, this);
    m_entitlement = new QLabel(this);
    m_entitlement->setObjectName(u"entitlement"_s);
    m_entitlement->setTextFormat(Qt::PlainText);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(u"股权登记日"_s, this), 0, 0);
    form->addWidget(m_record, 0, 1);
    form->addWidget(new QLabel(u"除权除息日"_s, this), 0, 2);
    form->addWidget(m_ex, 0, 3);
    form->setColumnStretch(5, 1);
    auto* terms = new QHBoxLayout;
    terms->addWidget(new QLabel(u"每10股 派"_s, this));
    terms->addWidget(m_cash);
    terms->addWidget(new QLabel(u"元，送"_s, this));
    terms->addWidget(m_bonus);
    terms->addWidget(new QLabel(u"股，转"_s, this));
    terms->addWidget(m_transfer);
    terms->addWidget(new QLabel(u"股，配"_s, this));
    terms->addWidget(m_rights);
    terms->addWidget(new QLabel(u"股，配股价"_s, this));
    terms->addWidget(m_rightsPrice);
    terms->addWidget(new QLabel(u"元"_s, this));
    terms->addStretch();
    form->addLayout(terms, 1, 0, 1, 6);
    form->addWidget(m_entitlement, 2, 0, 1, 6);

    m_add = makeButton(u"添加(&A)"_s, u"addButton"_s, this);
    m_change = makeButton(u"修改(&M)"_s, u"changeButton"_s, this);
    m_delete = makeButton(u"删除(&D)"_s, u"deleteButton"_s, this);
    m_payRights = makeButton(u"配股缴款"_s, u"payRightsButton"_s, this);
    auto* close = makeButton(u"关闭(&C)"_s, u"closeButton"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_add, m_change, m_delete, m_payRights, close})
        buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(760, 420);

    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &StockEventWindow::onRowSelected);
    for (QDateEdit* date : {m_record, m_ex})
        connect(date, &QDateEdit::dateChanged, this, &StockEventWindow::updateEntitlement);
    for (QLineEdit* ratio : {m_cash, m_bonus, m_transfer, m_rights, m_rightsPrice})
        connect(ratio, &QLineEdit::textChanged, this, &StockEventWindow::updateEntitlement);
    connect(m_add, &QPushButton::clicked, this, [this] { save(0); });
    connect(m_change, &QPushButton::clicked, this, [this] {
        if (const qint64 id = selectedId())
            save(id);
    });
    connect(m_delete, &QPushButton::clicked, this, &StockEventWindow::deleteSelected);
    connect(m_payRights, &QPushButton::clicked, this, &StockEventWindow::payRights);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_writer.notifier(), &ledger::LedgerNotifier::changed, this,
            &StockEventWindow::onLedgerChanged);
    onRowSelected();
}

void StockEventWindow::showFor(const QString& code)
{
    const auto name = withLedger(m_prompter, LedgerAccess::Read,
                                 [&] { return report::stockNameOfCode(m_db, code); });
    if (!name)
        return;
    if (!*name) {
        m_prompter.informOver(parentWidget(), u"没有代码为 "_s + code + u" 的股票。"_s);
        return;
    }
    m_code = code;
    m_name = **name;
    setWindowTitle(caption + u" - "_s + m_name + u"("_s + m_code + u")"_s);
    for (QLineEdit* ratio : {m_cash, m_bonus, m_transfer, m_rights, m_rightsPrice})
        ratio->clear();
    reload();
    show();
    raise();
    activateWindow();
}

void StockEventWindow::onLedgerChanged(ledger::LedgerChanges what)
{
    // A trade before a record date changes what the event brought.
    if (isVisible() && (what & (ledger::LedgerChange::Events | ledger::LedgerChange::Trades |
                                ledger::LedgerChange::Stocks)))
        reload();
}

void StockEventWindow::reload()
{
    const qint64 selected = selectedId();
    const auto rows =
        withLedger(m_prompter, LedgerAccess::Read, [&] { return report::eventList(m_db, m_name); });
    if (!rows)
        return;
    m_model->setRows(*rows);
    if (const int row = m_model->rowOf(selected); row >= 0)
        m_table->selectRow(row);
    onRowSelected();
}

qint64 StockEventWindow::selectedId() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : m_model->row(rows.first().row()).event.terms.id;
}

// A selected event's terms come into the form, to be changed or deleted.
void StockEventWindow::onRowSelected()
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    m_change->setEnabled(!rows.isEmpty());
    m_delete->setEnabled(!rows.isEmpty());
    m_payRights->setEnabled(false);
    if (rows.isEmpty()) {
        updateEntitlement();
        return;
    }
    const report::EventListRow& row = m_model->row(rows.first().row());
    const calc::StockEvent& terms = row.event.terms;
    // Rights offered to the holding of the record date can be paid for.
    m_payRights->setEnabled(terms.rightsPrice > 0 && row.outcome.rightsOffered > 0);
    const QSignalBlocker recordBlocker(m_record), exBlocker(m_ex);
    m_record->setDate(terms.record);
    m_ex->setDate(terms.ex);
    m_cash->setText(ratioText(terms.cash));
    m_bonus->setText(ratioText(terms.bonus));
    m_transfer->setText(ratioText(terms.transfer));
    m_rights->setText(ratioText(terms.rights));
    m_rightsPrice->setText(ratioText(terms.rightsPrice));
    updateEntitlement();
}

ledger::EventEntry StockEventWindow::entryFromForm() const
{
    return {m_code,
            m_name,
            m_record->date(),
            m_ex->date(),
            m_cash->text().trimmed(),
            m_bonus->text().trimmed(),
            m_transfer->text().trimmed(),
            m_rights->text().trimmed(),
            m_rightsPrice->text().trimmed(),
            {}};
}

// What the terms typed would bring, or why they are refused, as the ledger says.
void StockEventWindow::updateEntitlement()
{
    if (m_name.isEmpty())
        return;
    const ledger::EventEntry entry = entryFromForm();
    const qint64 changing = selectedId();
    const auto inspection = withLedger(m_prompter, LedgerAccess::Read,
                                       [&] { return m_writer.inspectEvent(entry, changing); });
    if (!inspection)
        return;
    m_entitlement->setText(inspection->refusal.isEmpty() ? inspection->entitlement
                                                         : inspection->refusal);
}

void StockEventWindow::save(qint64 changing)
{
    const ledger::EventEntry entry = entryFromForm();
    const auto write = [&](bool confirmed) {
        return withLedger(m_prompter, LedgerAccess::Write, [&] {
            return changing ? m_writer.changeEvent(changing, entry, confirmed)
                            : m_writer.addEvent(entry, confirmed);
        });
    };
    auto outcome = write(false);
    if (outcome && outcome->status == ledger::EventSaveOutcome::Status::NeedsConfirmation) {
        if (!m_prompter.askOver(this, caption, outcome->message, Prompter::Default::No))
            return;
        outcome = write(true);
    }
    if (!outcome)
        return;
    if (!outcome->saved()) {
        m_prompter.informOver(this, outcome->message);
        return;
    }
    // The form's preview of a selected row is that of changing it: after an
    // addition the next terms typed are another addition.
    if (!changing)
        m_table->clearSelection();
}

void StockEventWindow::deleteSelected()
{
    const qint64 id = selectedId();
    if (!id)
        return;
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    const QString scheme = report::eventScheme(m_model->row(rows.first().row()).event.terms);
    if (!m_prompter.askOver(this, caption, u"删除分红送配 "_s + scheme + u" 吗？"_s,
                            Prompter::Default::No))
        return;
    const auto outcome =
        withLedger(m_prompter, LedgerAccess::Write, [&] { return m_writer.deleteEvent(id); });
    if (outcome && !outcome->saved())
        m_prompter.informOver(this, outcome->message);
}

void StockEventWindow::payRights()
{
    const qint64 id = selectedId();
    if (!id)
        return;
    const auto offer =
        withLedger(m_prompter, LedgerAccess::Read, [&] { return ledger::rightsOffer(m_db, id); });
    if (!offer)
        return;
    if (!*offer || (*offer)->paid) {
        m_prompter.informOver(this, *offer ? ledger::messages::events::rightsPaid.toString()
                                           : ledger::messages::events::noRights.toString());
        return;
    }
    if (!m_prompter.askOver(this, u"配股缴款"_s, ledger::rightsQuestion(**offer),
                            Prompter::Default::No))
        return;
    const auto outcome =
        withLedger(m_prompter, LedgerAccess::Write, [&] { return m_writer.subscribeRights(id); });
    if (outcome && !outcome->recorded())
        m_prompter.informOver(this, outcome->refusal);
}

} // namespace corvanta::windows
