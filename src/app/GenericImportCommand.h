#pragma once

#include "calc/FeeRates.h"
#include "exchange/StatementImportRun.h"

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace corvanta::app {

// What `import FILE --broker generic` read: the statement to import (with its
// refusal when it holds no trade), or the exit code when the file could not be
// read or --map did not read (the message is written).
struct GenericImportReading {
    std::optional<exchange::StatementToImport> statement;
    int exit = 0;
};

// Reads a statement by its column names, applying the `field=column` words of
// --map, and reports the file kind, the mapping, the lines left out and the
// warnings; without `confirmed` also the first rows as they will be stored,
// unless the statement is refused.
// Fees the file has no column for are priced with `rates`.
GenericImportReading readGenericImport(const QString& file, const QStringList& maps,
                                       const FeeRates& rates, bool confirmed, QTextStream& out,
                                       QTextStream& err);

} // namespace corvanta::app
