// Any file opened as a statement read by its column names: text in any encoding,
// or bytes that claim to be a workbook.
#include "exchange/GenericStatement.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace corvanta;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)exchange::readGenericStatement(bytes, FeeRates{});
    return 0;
}
