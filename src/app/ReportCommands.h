#pragma once

#include <QStringList>

class QTextStream;

namespace corvanta::sql {
class Database;
}

namespace corvanta::app {

// `corvanta yearly FILE.csv`: the yearly statement as CSV. Returns the exit code.
int runYearlyCommand(sql::Database& db, const QString& file, QTextStream& out, QTextStream& err);

// `corvanta reprice --dry-run`: lists the recorded trades whose stored fees
// differ from the rules chosen in the ledger's settings, with both figures, and
// changes nothing. Without --dry-run it is refused as a usage error.
int runRepriceCommand(sql::Database& db, const QStringList& flags, QTextStream& out,
                      QTextStream& err);

} // namespace corvanta::app
