#include "LedgerController.h"

#include "FeeController.h"
#include "LedgerPanel.h"
#include "LedgerTableModel.h"
#include "SellTargetController.h"
#include "TradePanel.h"
#include "calc/PlaceholderStock.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerMessages.h"
#include "ledger/LedgerWriter.h"
#include "ledger/SafetyCopies.h"
#include "ledger/sql/Database.h"
#include "model/LedgerFocus.h"
#include "model/TradeForm.h"
#include "windows/LedgerGuard.h"
#include "windows/Prompter.h"
#include "windows/StockInfoLink.h"
#include "windows/StockPicker.h"

#include <QDateTime>
#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

// The widths of the grid's eleven columns, in pixels.
constexpr int columnWidths[] = {72, 72, 40, 57, 63, 94, 110, 94, 94, 94, 94};

} // namespace

LedgerController::LedgerController(sql::Database& db, ledger::LedgerWriter& writer, Parts parts,
                                   QObject* parent)
    : QObject(parent), m_db(db), m_writer(writer), m_parts(parts), m_ledger(db),
      m_model(new LedgerTableModel(db, this))
{
    QTableView* grid = m_parts.ledger.ledgerGrid;
    grid->setModel(m_model);
    // A header longer than its column's width widens the column.
    for (int column = 0; column < ledger::LedgerColumnCount; ++column)
        grid->setColumnWidth(column, std::max(columnWidths[column],
                                              grid->horizontalHeader()->sectionSizeHint(column)));
    grid->installEventFilter(this);
    connect(grid, &QTableView::clicked, this, [this] { selectCurrentRow(); });
    // The row under the cursor, or its monitor mark, may be another one.
    const auto announce = [this] {
        focusCurrentRow();
    };
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, announce);
    connect(m_model, &QAbstractItemModel::modelReset, this, announce);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, announce);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, announce);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, announce);
    connect(m_model, &QAbstractItemModel::dataChanged, this, announce);
    connect(&m_writer.notifier(), &ledger::LedgerNotifier::changed, this,
            &LedgerController::onLedgerChanged);
}

void LedgerController::focusCurrentRow()
{
    const ledger::LedgerRow* row = currentRow();
    if (!row) {
        m_parts.focus.setRecord(std::nullopt);
        return;
    }
    m_parts.focus.setRecord(model::FocusedRecord{
        row->id, row->code,
        row->colour == ledger::RowColour::Sell ? Direction::Sell : Direction::Buy,
        row->monitor == u"是"_s});
}

ledger::LedgerSortOrder LedgerController::sortOrder() const
{
    return m_parts.focus.sortOrder();
}

bool LedgerController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_parts.ledger.ledgerGrid->viewport() && event->type() == QEvent::Paint) {
        // The grid's first paint at start: the other IDs are read after it.
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, &LedgerController::readRestOfGrid);
        return false;
    }
    if (watched != m_parts.ledger.ledgerGrid)
        return false;
    if (event->type() == QEvent::KeyRelease) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Tab:
            selectCurrentRow();
            break;
        default:
            break;
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (const ledger::LedgerRow* row = currentRow())
            m_currentRecordId = row->id;
    }
    return false;
}

const ledger::LedgerRow* LedgerController::currentRow() const
{
    return m_model->rowAt(currentRowNumber());
}

int LedgerController::currentRowNumber() const
{
    return m_parts.ledger.ledgerGrid->currentIndex().row();
}

void LedgerController::showViewOfLedger()
{
    m_parts.focus.setView(model::LedgerViewKind::Ledger);
}

void LedgerController::onLedgerChanged(ledger::LedgerChanges what)
{
    // The grid shows each row's monitor mark too.
    if (!(what & (ledger::LedgerChange::Trades | ledger::LedgerChange::MonitorList)))
        return;
    // The summary on show refreshes itself; the ledger grid only takes the new rows.
    const std::optional<ledger::TradeRowChange>& row = m_writer.notifier().tradeRowChange();
    if (m_parts.focus.view() == model::LedgerViewKind::Summary)
        reloadRows(row);
    else
        refreshGrid(row);
}

// The grid of trades on show, no row's details shown.
void LedgerController::resetLedgerView()
{
    LedgerPanel& panel = m_parts.ledger;
    panel.setTitle(u"交易记录"_s);
    m_parts.focus.setView(model::LedgerViewKind::Ledger);
    m_parts.focus.setRecordLabel(std::nullopt);
}

void LedgerController::refreshGrid(const std::optional<ledger::TradeRowChange>& row)
{
    resetLedgerView();
    reloadRows(row);
    showViewOfLedger();
}

void LedgerController::startGrid()
{
    resetLedgerView();
    reloadRows(std::nullopt, Read::LastRowsFirst);
    showViewOfLedger();
    if (!m_model->holdsEveryId())
        m_parts.ledger.ledgerGrid->viewport()->installEventFilter(this);
}

void LedgerController::readRestOfGrid()
{
    try {
        m_model->readEveryId();
    } catch (const sql::Error&) {
        // Told by the start's check of the ledger's pages; the grid reads them
        // again when a row among them is wanted.
    }
}

void LedgerController::reloadRows(const std::optional<ledger::TradeRowChange>& row, Read read)
{
    QStringList states;
    windows::withLedger(m_parts.prompter, windows::LedgerAccess::Read, [&] {
        // A long ledger's grid shows its end before every ID has been read.
        if (read == Read::LastRowsFirst)
            m_model->readLast(m_parts.focus.sortOrder());
        // One trade recorded or deleted is put in or taken out at its place:
        // a long ledger's IDs are not read again for it.
        else if (!row || !m_model->take(*row, m_parts.focus.sortOrder()))
            m_model->reload(m_parts.focus.sortOrder());
        states = ledger::ledgerStateTexts(m_db);
    });
    fitStateColumn(states);
    moveToRow(m_model->rowCount() - 1);
}

// The column is as wide as the longest of its texts, never narrower than at start.
void LedgerController::fitStateColumn(const QStringList& states)
{
    QTableView* grid = m_parts.ledger.ledgerGrid;
    const int padding =
        2 * grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 6;
    int needed = 0;
    for (const QString& state : states)
        needed = std::max(needed, grid->fontMetrics().horizontalAdvance(state) + padding);
    if (needed > grid->columnWidth(ledger::StateColumn))
        grid->setColumnWidth(ledger::StateColumn, needed);
}

void LedgerController::moveToRow(int row)
{
    QTableView* grid = m_parts.ledger.ledgerGrid;
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    grid->setCurrentIndex(index);
    grid->scrollTo(index);
}

void LedgerController::moveTo(qint64 id)
{
    moveToRow(m_model->rowOf(id));
}

void LedgerController::setSortOrder(ledger::LedgerSortOrder order)
{
    m_parts.focus.setSortOrder(order);
    refreshGrid();
    moveTo(m_currentRecordId);
}

void LedgerController::clearTradeInputs()
{
    m_parts.fees.clearInputs();
    m_parts.targets.reset();
}

// The amounts are the form's, in 元 whatever unit the panel shows them in.
ledger::TradeEntry LedgerController::entryFromForm(Direction direction) const
{
    using model::TradeText;
    const model::TradeForm& form = m_parts.form;
    ledger::TradeEntry entry;
    entry.date = form.tradeDate();
    entry.code = form.stockCode();
    entry.name = form.stockName();
    entry.direction = direction;
    entry.quantity = form.quantity();
    entry.unitMultiplier = form.feeSnapshot().unitMultiplier;
    entry.price = form.price();
    entry.totalFees = form.totalFees();
    entry.total = form.total();
    entry.stampDuty = form.text(TradeText::StampDuty);
    entry.commission = form.text(TradeText::Commission);
    entry.transferAndOther = form.transferAndOther();
    entry.breakEven = form.breakEven();
    entry.otherFee = form.text(TradeText::OtherFee);
    entry.stampRate = form.text(TradeText::StampRate);
    entry.commissionRate = form.text(TradeText::CommissionRate);
    return entry;
}

void LedgerController::recordBuy()
{
    record(Direction::Buy);
}

void LedgerController::recordSell()
{
    record(Direction::Sell);
}

void LedgerController::record(Direction direction)
{
    const QString& name = m_parts.form.stockName();
    if (name.isEmpty() || name == placeholderName || m_parts.form.stockCode().isEmpty()) {
        m_parts.prompter.inform(ledger::messages::noName.toString());
        return;
    }
    // A code still being typed (recording from the popup) is completed first, so
    // the stored code is the stock's whole code.
    m_parts.picker.completeCode();
    m_parts.fees.withdrawRecording(direction);
    // The form keeps 元 whatever is shown; the panel shows 元 again after a record.
    m_parts.fees.ensureAmountsInYuan();
    const auto recorded = windows::withLedger(m_parts.prompter, windows::LedgerAccess::Write, [&] {
        return m_writer.record(entryFromForm(direction));
    });
    if (!recorded)
        return;
    const ledger::RecordOutcome& outcome = *recorded;
    if (!outcome.recorded()) {
        m_parts.prompter.inform(outcome.refusal);
        return;
    }
    m_currentRecordId = outcome.id;
    clearTradeInputs();
    moveTo(outcome.id);
    Q_EMIT codeFocusWanted();
}

void LedgerController::selectCurrentRow()
{
    const ledger::LedgerRow* row = currentRow();
    if (!row)
        return;
    const auto selected = windows::withLedger(m_parts.prompter, windows::LedgerAccess::Read,
                                              [&] { return ledger::selectTrade(m_db, row->id); });
    if (!selected || !*selected)
        return;
    const std::optional<ledger::TradeSelection>& selection = *selected;
    TradePanel& t = m_parts.trade;
    model::TradeForm& form = m_parts.form;
    // The row's amounts are in 元 and belong to no pricing of the inputs.
    m_parts.fees.ensureAmountsInYuan();
    m_parts.fees.withdrawRecording(Direction::Buy);
    m_parts.fees.withdrawRecording(Direction::Sell);
    m_parts.focus.setRecordLabel(selection->recordLabel);
    m_currentRecordId = selection->id;

    m_parts.picker.setCurrentStock(selection->code, selection->name);
    // A buy that has grown by bonus and transfer shares is shown as the shares it
    // has become: break-even, sell targets and the ladder read these inputs.
    const auto& after = selection->afterEvents;
    const QString& quantity = after ? after->quantity : selection->quantity;
    using model::TradeText;
    form.setQuantity(quantity);
    form.setPrice(after ? after->price : selection->price);
    form.setText(TradeText::TradeAmount, selection->tradeAmount);
    form.setText(TradeText::Total, selection->total);
    form.setText(TradeText::TotalFees, selection->totalFees);
    form.setText(TradeText::StampDuty, selection->stampDuty);
    form.setText(TradeText::Commission, selection->commission);
    form.setText(TradeText::TransferAndOther, selection->transferAndOther);
    form.setText(TradeText::OtherFee, selection->otherFee);
    m_parts.ledger.setTitle(ledger::selectedRecordCaption(currentRowNumber() + 1));
    t.infoLink->setText(selection->infoLinkCaption);
    t.infoLink->setProperty("url", windows::stockInfoUrl(selection->code));

    m_parts.fees.loadDirectionAndMarket(selection->direction, selection->market);
    if (selection->date.isValid())
        form.setTradeDate(selection->date);
    // With the row's side, market and date in place, as its sell would be priced.
    m_parts.fees.showRecordedPerShare(selection->total, selection->transferAndOther, quantity);
    m_parts.fees.withdrawRecording(Direction::Buy);
    m_parts.fees.withdrawRecording(Direction::Sell);
    if (selection->direction == Direction::Buy)
        m_parts.targets.enableInputs();
    else
        m_parts.targets.reset();
    Q_EMIT tradeSelected(selection->code);
}

void LedgerController::deleteCurrentTrade()
{
    const ledger::LedgerRow* row = currentRow();
    if (!row)
        return;
    const int recordNumber = currentRowNumber() + 1;
    const qint64 id = row->id;
    const auto question = windows::withLedger(m_parts.prompter, windows::LedgerAccess::Read,
                                              [&] { return m_ledger.deleteQuestion(id); });
    if (!question || !*question)
        return;
    if (!m_parts.prompter.askYesNo(ledger::messages::deleteCaption.toString(), **question))
        return;
    const auto deleted = windows::withLedger(m_parts.prompter, windows::LedgerAccess::Write,
                                             [&] { return m_writer.deleteTrade(id); });
    if (!deleted)
        return;
    const ledger::DeleteOutcome& outcome = *deleted;
    if (outcome.status == ledger::DeleteOutcome::Status::NotFound)
        refreshGrid(); // the trade was gone already: the grid was out of date
    if (outcome.status == ledger::DeleteOutcome::Status::Refused) {
        // Nothing changed: the grid keeps its rows and shows the ledger again.
        resetLedgerView();
        showViewOfLedger();
        moveToRow(recordNumber - 1);
        Q_EMIT codeFocusWanted();
        m_parts.prompter.inform(outcome.refusal);
        return;
    }
    if (recordNumber >= 2)
        moveToRow(recordNumber - 2);
    Q_EMIT codeFocusWanted();
}

void LedgerController::clearLedger()
{
    if (!m_parts.prompter.askYesNo(ledger::messages::clearCaption.toString(),
                                   ledger::messages::clearQuestion.toString()))
        return;
    // The ledger as it was stays one restore away, as before a restore or an import.
    QString copy;
    try {
        const auto made = windows::withLedger(m_parts.prompter, windows::LedgerAccess::Read, [&] {
            return ledger::SafetyCopies(m_db.path()).make(m_db, QDateTime::currentDateTime());
        });
        if (!made)
            return;
        copy = *made;
    } catch (const ledger::BackupError& error) {
        m_parts.prompter.inform(ledger::messages::clearNotDone.toString() + error.message());
        return;
    }
    if (!windows::withLedger(m_parts.prompter, windows::LedgerAccess::Write,
                             [&] { m_writer.clearLedger(); }))
        return;
    m_parts.prompter.inform(ledger::messages::clearDone.toString() + u'\n' +
                            ledger::messages::clearCopyKept.toString() + u'\n' +
                            QDir::toNativeSeparators(copy));
    showViewOfLedger();
}

} // namespace corvanta::app
