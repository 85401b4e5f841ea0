#include "GbkLength.h"

#include <QByteArray>
#include <QStringEncoder>

namespace corvanta {

int gbkByteCount(QStringView text)
{
    // Most texts measured are numbers: plain ASCII needs no codec.
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return int(text.size());
    QStringEncoder gbk("GBK");
    if (gbk.isValid())
        return int(QByteArray(gbk.encode(text)).size());
    // Without the codec every non-ASCII character counts as one double-byte one.
    int bytes = 0;
    for (QChar c : text)
        bytes += c.unicode() < 0x80 ? 1 : 2;
    return bytes;
}

} // namespace corvanta
