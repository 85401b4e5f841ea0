#pragma once

#include "ledger/EventEntry.h"
#include "ledger/LedgerChanges.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerWriter;
}

namespace corvanta::windows {

class Prompter;
class StockEventTableModel;

// "分红送配": one stock's corporate actions and what each brought, with adding,
// changing and deleting them through the ledger writer. The entitlement the
// ledger computes for the terms typed shows under the form before anything is
// saved. A selected rights issue can be paid for (配股缴款): after a Yes it is
// recorded as a buy through the ledger writer. The list reads the ledger again on every announced
// change of events or trades while the window shows.
class StockEventWindow : public QWidget {
    Q_OBJECT
public:
    StockEventWindow(sql::Database& db, ledger::LedgerWriter& writer, Prompter& prompter,
                     QWidget* parent = nullptr);

    // Shows the events of the stock of that code; says so and stays hidden when
    // the code names no stock.
    void showFor(const QString& code);

    QString stockName() const { return m_name; }

private:
    void reload();
    void onLedgerChanged(ledger::LedgerChanges what);
    void onRowSelected();
    void updateEntitlement();
    ledger::EventEntry entryFromForm() const;
    qint64 selectedId() const;
    void save(qint64 changing);
    void deleteSelected();
    void payRights();

    sql::Database& m_db;
    ledger::LedgerWriter& m_writer;
    Prompter& m_prompter;
    QString m_code;
    QString m_name;
    StockEventTableModel* m_model;
    QTableView* m_table;
    QDateEdit* m_record;
    QDateEdit* m_ex;
    QLineEdit* m_cash;
    QLineEdit* m_bonus;
    QLineEdit* m_transfer;
    QLineEdit* m_rights;
    QLineEdit* m_rightsPrice;
    QLabel* m_entitlement;
    QPushButton* m_add;
    QPushButton* m_change;
    QPushButton* m_delete;
    QPushButton* m_payRights;
};

} // namespace corvanta::windows
