#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

namespace corvanta::sql {
class Database;
}

namespace corvanta::app {

// A table to write: its titles, then its rows, then those `moreRows` gives one by
// one (it returns false after the last), read while the table is written, so a
// table of any length is written in the same memory.
struct CsvTable {
    QStringList titles;
    QList<QStringList> rows;
    std::function<bool(QStringList& row)> moreRows;
};

class CsvExportError : public std::runtime_error {
public:
    explicit CsvExportError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Every ledger row (open positions included) in the order of its id, with the
// ledger's column names; the rows are read while the table is written.
CsvTable ledgerTable(sql::Database& db);

// The ledger's rows, then, when it has any, its 分红送配 with what each brought
// (a second table after an empty line).
QList<CsvTable> ledgerTables(sql::Database& db);
// The plain summary (no quotes): a row per stock, then the totals row.
CsvTable summaryTable(sql::Database& db);

// The text of a table as CSV (its rows read to the end): UTF-8 with its mark (so spreadsheets read
// the Chinese texts), CR LF line ends, fields quoted when they hold a comma, a quote or a line end.
QByteArray csvText(const CsvTable& table);
// Tables one after another, an empty line between them.
QByteArray csvText(const QList<CsvTable>& tables);

// Writes the CSV whole or not at all. Throws CsvExportError naming the reason.
void writeCsv(const QString& path, const CsvTable& table);
void writeCsvTables(const QString& path, const QList<CsvTable>& tables);

} // namespace corvanta::app
