#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The cells of a legacy Excel workbook as the workbook reader program passes them
// to Corvanta on its standard output: a first line naming the format, one line per
// sheet row (cells separated by tabs; backslash, tab, line feed and carriage
// return written as \\ \t \n \r), and a closing line with the number of rows, so
// that output cut short by a crash is never taken for a whole sheet. UTF-8.
namespace corvanta::exchange {

QByteArray encodeXlsCells(const QList<QStringList>& rows);

// The rows, or nothing when the bytes are not whole, well-formed output.
std::optional<QList<QStringList>> decodeXlsCells(const QByteArray& bytes);

} // namespace corvanta::exchange
