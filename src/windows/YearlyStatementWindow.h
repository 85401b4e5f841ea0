#pragma once

#include "ledger/LedgerChanges.h"

#include <QWidget>

class QLabel;
class QStandardItemModel;
class QTableView;

namespace corvanta::sql {
class Database;
}

namespace corvanta::windows {

// "年度对账": a row per calendar year and the total row, from the yearly
// statement. Reads the ledger again when the trades change while it shows.
class YearlyStatementWindow : public QWidget {
    Q_OBJECT
public:
    YearlyStatementWindow(sql::Database& db, ledger::LedgerNotifier& notifier,
                          QWidget* parent = nullptr);

    // A ledger that cannot be read leaves the table as it was and says why.
    void refresh();

    QTableView* table() const { return m_table; }
    QLabel* failure() const { return m_failure; }

private:
    sql::Database& m_db;
    QStandardItemModel* m_model;
    QTableView* m_table;
    QLabel* m_failure;
};

} // namespace corvanta::windows
