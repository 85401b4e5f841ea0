#pragma once

#include "StatementColumns.h"
#include "StatementParser.h"
#include "StatementTable.h"
#include "calc/FeeRates.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Any broker's statement, read by its column names rather than by a fixed layout.
// What it gives is a ParsedStatement like the fixed layouts', imported the same way.
namespace corvanta::exchange {

// The first row that names a date, a code or name, an operation and a quantity;
// -1 when none does.
int findHeaderRow(const QList<QStringList>& rows);

// What the reader made of the file: the table, its header and mapping, and the
// trades with the lines left out.
struct GenericStatement {
    StatementTable table;
    int headerRow = -1;          // from 0; -1 when the file has no header
    ColumnMapping detected;      // as the header names gave it
    ColumnMapping mapping;       // as used: detected, or as the user changed it
    QList<LineIssue> titleLines; // lines before the header, and what they say
    QList<LineIssue> warnings;   // trades stored with a remark (net amount off)
    ParsedStatement parsed;      // trades; skipped and refused lines with why

    QStringList header() const { return headerRow >= 0 ? table.rows.at(headerRow) : QStringList(); }
};

// Reads a table with the detected mapping, or with `mapping` when given. Fees
// a file has no column for are priced with `rates` as the fee calculator does.
GenericStatement readGenericStatement(StatementTable table, const FeeRates& rates,
                                      const std::optional<ColumnMapping>& mapping = std::nullopt);
GenericStatement readGenericStatement(const QByteArray& bytes, const FeeRates& rates,
                                      const std::optional<ColumnMapping>& mapping = std::nullopt);

// What an operation text is.
enum class OperationKind { Buy, Sell, NewShares, Dividend, Other };
OperationKind operationKind(QStringView text);

// A mapping changed by "field=column" words: the column is a header name or a
// number from 1; an empty column maps the field to none. The error names the
// first word that does not read.
struct MappingChange {
    ColumnMapping mapping;
    QString error;
};
MappingChange changeMapping(ColumnMapping mapping, const QStringList& header,
                            const QStringList& words);

// The refusal when no trade is read; none when one or more is.
std::optional<QString> nothingToImport(const GenericStatement& statement);

// The open dialog's filters (Qt form) for such statements.
QString genericFileFilter();

// The description of the detected file: kind, encoding, separator, header line.
QStringList describeStatement(const GenericStatement& statement);

} // namespace corvanta::exchange
