#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QStringView>

namespace corvanta::exchange {

// The rows of comma-separated text. A field in double quotes may hold commas,
// line ends and doubled quotes ("" for one "); other fields are taken as they
// stand, blanks included. Lines end with CR LF, CR or LF; empty lines give no row.
QList<QStringList> readCsv(QStringView text);

// The rows of a csv file: GBK bytes, or UTF-8 when the file starts with its mark.
QList<QStringList> readCsvFile(const QByteArray& bytes);

} // namespace corvanta::exchange
