// Any file opened in the csv viewer, as bytes and as text.
#include "exchange/CsvReader.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)corvanta::exchange::readCsvFile(bytes);
    (void)corvanta::exchange::readCsv(QString::fromUtf8(bytes));
    return 0;
}
