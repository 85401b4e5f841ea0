#pragma once

#include "ledger/LedgerChanges.h"
#include "ledger/LedgerView.h"
#include "ledger/TradeLedger.h"

#include <QObject>

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerWriter;
}
namespace corvanta::model {
class LedgerFocus;
class TradeForm;
} // namespace corvanta::model
namespace corvanta::windows {
class Prompter;
class StockPicker;
} // namespace corvanta::windows

namespace corvanta::app {

class FeeController;
class LedgerPanel;
class LedgerTableModel;
class SellTargetController;
class TradePanel;

// Everything the ledger grid and the record buttons do: recording a priced trade,
// loading a row back, deleting it and clearing the ledger. Changes go through the
// ledger writer; the grid reloads when the writer announces a change of the trades,
// whoever made it. It keeps the ledger focus's current record and sort order.
class LedgerController : public QObject {
    Q_OBJECT
public:
    struct Parts {
        TradePanel& trade;
        // The trade being typed: what is recorded is read from it.
        model::TradeForm& form;
        LedgerPanel& ledger;
        model::LedgerFocus& focus;
        FeeController& fees;
        SellTargetController& targets;
        windows::StockPicker& picker;
        windows::Prompter& prompter;
    };
    LedgerController(sql::Database& db, ledger::LedgerWriter& writer, Parts parts,
                     QObject* parent = nullptr);

    void recordBuy();
    void recordSell();
    void selectCurrentRow();
    void deleteCurrentTrade();
    void clearLedger();
    // Shows the ledger view and reloads its rows (at start, on a new sort order
    // and on every announced change of the trades); a change of one trade is
    // taken at its place.
    void refreshGrid(const std::optional<ledger::TradeRowChange>& row = std::nullopt);
    // Shows the ledger view at start: the grid reads the last rows' IDs only and
    // the others once it has painted, as a job of the event loop (or before, when
    // a row among them is wanted or the rows change).
    void startGrid();
    void setSortOrder(ledger::LedgerSortOrder order);
    ledger::LedgerSortOrder sortOrder() const;
    // The ID of the trade last recorded, selected or entered in the grid.
    qint64 currentRecordId() const { return m_currentRecordId; }
    // Puts the grid's current row on the trade of that ID, when it is shown.
    void moveTo(qint64 id);
    // Resets the trade inputs and the sell targets.
    void clearTradeInputs();
    // The trade of the grid's current row, if any.
    const ledger::LedgerRow* currentRow() const;

Q_SIGNALS:
    void codeFocusWanted();
    // A row's trade was loaded into the inputs; its stock's quote is wanted.
    void tradeSelected(const QString& code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void record(Direction direction);
    ledger::TradeEntry entryFromForm(Direction direction) const;
    void showViewOfLedger();
    // The focus's record follows the grid's current row and its monitor mark.
    void focusCurrentRow();
    void resetLedgerView();
    void onLedgerChanged(ledger::LedgerChanges what);
    enum class Read { EveryId, LastRowsFirst };
    void reloadRows(const std::optional<ledger::TradeRowChange>& row = std::nullopt,
                    Read read = Read::EveryId);
    void readRestOfGrid();
    void fitStateColumn(const QStringList& states);
    void moveToRow(int row);
    int currentRowNumber() const;

    sql::Database& m_db;
    ledger::LedgerWriter& m_writer;
    Parts m_parts;
    ledger::TradeLedger m_ledger; // the questions asked before a change
    LedgerTableModel* m_model;
    qint64 m_currentRecordId = 0;
};

} // namespace corvanta::app
