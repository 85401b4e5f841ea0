#pragma once

#include "ledger/sql/Database.h"

#include <QString>

#include <optional>

class QTextStream;

namespace corvanta::ledger {
class LedgerOpenError;
}

namespace corvanta::app {

// Opens the ledger at `path` with a personal password after the program's key
// was refused (`refusal`): read from `passwordFile`, or asked on the terminal.
// On failure writes why to `err` and returns none; a wrong password, a refused
// file and a missing password all fail with CommandFailed.
std::optional<sql::Database> openWithPassword(const QString& path, const QString& passwordFile,
                                              const ledger::LedgerOpenError& refusal,
                                              QTextStream& err);

// `password set|change|remove` on the open ledger; the new password comes from
// `newPasswordFile` or twice from the terminal. Returns a CommandExit.
int runPasswordCommand(sql::Database& ledger, const QString& action, const QString& newPasswordFile,
                       QTextStream& out, QTextStream& err);

} // namespace corvanta::app
