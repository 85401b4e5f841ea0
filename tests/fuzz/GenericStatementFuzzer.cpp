// Any file opened as a statement read by its column names: text in any encoding,
// or bytes that claim to be an .xlsx workbook. Legacy .xls bytes (a compound
// document) are left out: they are parsed by the FreeXL library, whose own
// decoding of a damaged workbook can fault inside its character conversion.
#include "exchange/GenericStatement.h"
#include "exchange/StatementWorkbooks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace corvanta;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (exchange::isXlsWorkbook(bytes))
        return 0;
    (void)exchange::readGenericStatement(bytes, FeeRates{});
    return 0;
}
