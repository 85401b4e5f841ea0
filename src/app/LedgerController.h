#pragma once

#include "AppState.h"
#include "ledger/LedgerView.h"
#include "ledger/TradeLedger.h"

#include <QObject>

class QComboBox;

namespace corvanta::sql {
class Database;
}
namespace corvanta::windows {
class Prompter;
class StockPicker;
} // namespace corvanta::windows

namespace corvanta::app {

class FeeController;
class LedgerPanel;
class LedgerTableModel;
class ParametersPanel;
class SellTargetController;
class TradePanel;

// Everything the ledger grid and the record buttons do: recording a priced trade,
// loading a row back, deleting it, clearing the ledger and refreshing the grid.
class LedgerController : public QObject {
    Q_OBJECT
public:
    struct Parts {
        ParametersPanel& parameters;
        TradePanel& trade;
        LedgerPanel& ledger;
        QComboBox& viewSelector;
        FeeController& fees;
        SellTargetController& targets;
        windows::StockPicker& picker;
        windows::Prompter& prompter;
    };
    LedgerController(SessionState& state, sql::Database& db, Parts parts,
                     QObject* parent = nullptr);

    void recordBuy();
    void recordSell();
    void selectCurrentRow();
    void deleteCurrentTrade();
    void clearLedger();
    void refreshGrid();
    void setSortOrder(int order);
    // Puts the grid's current row on the trade of that ID, when it is shown.
    void moveTo(qint64 id);
    // Resets the trade inputs and the sell targets.
    void clearTradeInputs();
    // The trade of the grid's current row, if any.
    const ledger::LedgerRow* currentRow() const;

Q_SIGNALS:
    void codeFocusWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void record(Direction direction);
    ledger::TradeEntry entryFromInputs(Direction direction) const;
    void showViewOfLedger();
    void moveToRow(int row);
    int currentRowNumber() const;

    SessionState& m_state;
    sql::Database& m_db;
    Parts m_parts;
    ledger::TradeLedger m_ledger;
    LedgerTableModel* m_model;
};

} // namespace corvanta::app
