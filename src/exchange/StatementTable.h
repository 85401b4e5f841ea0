#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace corvanta::exchange {

// A statement file as rows of cells, whatever its kind: separated text, a legacy
// Excel workbook or an Office Open XML workbook. The kind is told by the file's
// content, never by its name: many ".xls" files from trading clients are text.
struct StatementTable {
    QString kind;            // "文本", "Excel 97-2003 (.xls)" or "Excel (.xlsx)"
    QString encoding;        // "UTF-8", "UTF-8 (BOM)", "GBK" or "GB18030"; empty for a workbook
    QChar separator;         // tab, comma or semicolon; none for a workbook
    QList<QStringList> rows; // row n is the file's line (or sheet row) n + 1
    QString error;           // why the file could not be read; rows are then empty
};

// The name the window and the command line show for a separator.
QString separatorName(QChar separator);

// The text of separated-text bytes: UTF-8 after its byte-order mark or when the
// bytes are valid UTF-8, otherwise GBK, or GB18030 for what GBK cannot decode.
struct DecodedText {
    QString text;
    QString encoding;
};
DecodedText decodeStatementText(const QByteArray& bytes);

// Cells of one line split at `separator`; a cell in double quotes may hold the
// separator and doubled quotes. Excel's ="000001" form gives 000001.
QStringList splitCells(QStringView line, QChar separator);

// Reads a statement file's bytes.
StatementTable readStatementTable(const QByteArray& bytes);

} // namespace corvanta::exchange
