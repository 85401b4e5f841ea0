#pragma once

#include <QString>

namespace corvanta::sql {
class Error;
}

namespace corvanta::windows {

class Prompter;

// What the failed database call was doing: a write is rolled back whole, so the
// message tells the user that nothing changed.
enum class LedgerAccess { Read, Write };

// The user's message for a failed database call.
QString databaseFailureText(LedgerAccess access, const sql::Error& error);

// Shows that message; the operation that failed ends there.
void showDatabaseFailure(Prompter& prompter, LedgerAccess access, const sql::Error& error);

} // namespace corvanta::windows
