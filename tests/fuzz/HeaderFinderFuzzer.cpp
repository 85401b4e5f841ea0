// The header finder and the mapping on arbitrary rows: the bytes are UTF-8 text
// whose lines are rows and whose tabs separate cells.
#include "exchange/GenericStatement.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace corvanta;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QStringList> rows;
    for (const QString& line : text.split(u'\n'))
        rows.append(exchange::splitCells(line, u'\t'));
    const int header = exchange::findHeaderRow(rows);
    if (header >= 0) {
        const exchange::ColumnMapping mapping = exchange::mapColumns(rows.at(header));
        (void)exchange::changeMapping(mapping, rows.at(header), rows.value(header + 1));
    }
    return 0;
}
