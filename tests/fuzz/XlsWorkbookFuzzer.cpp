// Damaged legacy workbooks, read the way the import reads them: by the reader
// program of this (instrumented) build in a process of its own. The parsing
// library may fault on them; that must come back as a clean error, here as in
// the program. The reader's own coverage is not seen from here: the inputs are
// mutations of the seed workbooks, not guided through the library.
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
    using namespace corvanta::exchange;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const StatementTable table = readXlsWorkbook(bytes, std::chrono::seconds(5));
    if (!table.error.isEmpty() && !table.error.startsWith(u"无法读取该 Excel 文件："_s))
        std::abort(); // an error that does not say the workbook could not be read
    if (!table.error.isEmpty() && !table.rows.isEmpty())
        std::abort(); // rows from a workbook that could not be read
    return 0;
}
