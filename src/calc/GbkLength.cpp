#include "GbkLength.h"

#include <QByteArray>
#include <QStringEncoder>

namespace corvanta {

namespace {

// Characters whose GBK length is known without the codec: ASCII, and ranges that
// GBK holds whole (the ideographic space, the unified hanzi of Unicode 1.1,
// fullwidth digits and letters). Most texts measured are numbers and stock names:
// counting them here keeps the codec, and its tables' pages, unloaded.
int knownLength(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return 1;
    if (u == 0x3000 || (u >= 0x4E00 && u <= 0x9FA5) || (u >= 0xFF10 && u <= 0xFF19) ||
        (u >= 0xFF21 && u <= 0xFF3A) || (u >= 0xFF41 && u <= 0xFF5A))
        return 2;
    return 0;
}

} // namespace

int gbkByteCount(QStringView text)
{
    int bytes = 0;
    for (QChar c : text) {
        const int length = knownLength(c);
        if (length == 0) {
            bytes = -1;
            break;
        }
        bytes += length;
    }
    if (bytes >= 0)
        return bytes;
    QStringEncoder gbk("GBK");
    if (gbk.isValid())
        return int(QByteArray(gbk.encode(text)).size());
    // Without the codec every non-ASCII character counts as one double-byte one.
    bytes = 0;
    for (QChar c : text)
        bytes += c.unicode() < 0x80 ? 1 : 2;
    return bytes;
}

} // namespace corvanta
