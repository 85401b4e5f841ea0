// Any text typed into a numeric field: parsed, and a parsed value formatted back.
#include "calc/Numbers.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    using namespace corvanta::num;
    (void)parseInteger(text);
    if (const auto value = parseNumber(text)) {
        for (int decimals = 0; decimals <= 4; ++decimals) {
            (void)roundHalfAway(*value, decimals);
            (void)fixed(*value, decimals, decimals % 2 == 0);
        }
        (void)general(*value);
    }
    return 0;
}
