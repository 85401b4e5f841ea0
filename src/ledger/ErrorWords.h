#pragma once

#include <QString>

namespace corvanta::sql {
class Error;
}

namespace corvanta::ledger {

// Why a database call failed, for the user: the reason in words, with SQLite's
// own text after it in brackets, as "磁盘已满（database or disk is full）". An
// error of no known kind (a refused value, a trigger's own words) keeps its text.
QString errorInWords(const sql::Error& error);

// Whether the failure lies with the file or the disk (full, read-only, busy,
// damaged, unreadable) rather than with what was being written.
bool isFileError(const sql::Error& error);

// Why a file could not be opened or read, from the system's error number, in the
// same form: "找不到这个文件（No such file or directory）".
QString fileErrorInWords(int errorNumber);

} // namespace corvanta::ledger
