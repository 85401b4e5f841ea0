#pragma once

#include "StatementColumns.h"

#include <QStringList>

#include <optional>

class QSettings;

namespace corvanta::exchange {

// The column mappings the user changed, kept in the settings per header: a file
// with the same header names reads the same way next time.
class GenericMappingMemory {
public:
    explicit GenericMappingMemory(QSettings& settings) : m_settings(settings) {}

    std::optional<ColumnMapping> recall(const QStringList& header) const;
    void remember(const QStringList& header, const ColumnMapping& mapping);

private:
    QSettings& m_settings;
};

} // namespace corvanta::exchange
