// Whatever the workbook reader program prints, as the import reads it back; what
// it accepts must encode to the same bytes.
#include "exchange/XlsCells.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace corvanta::exchange;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QList<QStringList>> rows = decodeXlsCells(bytes);
    if (rows && decodeXlsCells(encodeXlsCells(*rows)) != rows)
        std::abort();
    return 0;
}
