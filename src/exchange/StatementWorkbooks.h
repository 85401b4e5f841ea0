#pragma once

#include "StatementTable.h"

#include <QByteArray>

#include <chrono>

// Statements saved as spreadsheets: the first worksheet, as rows of cell texts.
namespace corvanta::exchange {

// An Office Open XML workbook is a zip archive; a legacy one a compound document.
bool isXlsxWorkbook(const QByteArray& bytes);
bool isXlsWorkbook(const QByteArray& bytes);

// The first worksheet's rows; row n of the table is the sheet's row n + 1. A
// number cell gives its shortest text (15 significant digits).
StatementTable readXlsxWorkbook(const QByteArray& bytes);
//
// A legacy workbook is read by the reader program in a process of its own (see
// XlsWorkbookReading, which also reads one while the event loop runs).
StatementTable readXlsWorkbook(const QByteArray& bytes,
                               std::chrono::milliseconds timeout = std::chrono::seconds(10));

} // namespace corvanta::exchange
