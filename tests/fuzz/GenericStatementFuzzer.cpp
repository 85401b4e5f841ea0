// Any file opened as a statement read by its column names: text in any encoding,
// or bytes that claim to be a workbook. Legacy .xls bytes go to the reader program
// of this build (instrumented like the rest): whatever the parsing library makes
// of them, even a fault, must come back as a clean error.
#include "exchange/GenericStatement.h"
#include "exchange/StatementWorkbooks.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("CORVANTA_XLS_READER", XLS_READER);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace corvanta;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const exchange::GenericStatement statement = exchange::readGenericStatement(bytes, FeeRates{});
    if (exchange::isXlsWorkbook(bytes) && !statement.table.error.isEmpty() &&
        !statement.table.error.startsWith(u"无法读取该 Excel 文件："_s))
        std::abort(); // an error that does not say the workbook could not be read
    return 0;
}
