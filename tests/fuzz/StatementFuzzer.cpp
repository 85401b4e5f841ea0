// Any file opened as a broker statement: the first byte picks the layout, the rest
// is the file's bytes.
#include "exchange/StatementLayout.h"
#include "exchange/StatementParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace corvanta;
    if (size == 0)
        return 0;
    const auto& layouts = exchange::statementLayouts();
    const auto& layout = layouts[data[0] % layouts.size()];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    (void)exchange::parseStatement(bytes, layout);
    return 0;
}
