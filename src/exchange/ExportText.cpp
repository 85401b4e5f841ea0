#include "ExportText.h"

#include <QStringDecoder>

namespace corvanta::exchange {

QString decodeExportText(const QByteArray& bytes)
{
    static constexpr char utf8Mark[] = "\xEF\xBB\xBF";
    if (bytes.startsWith(utf8Mark)) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        return utf8.decode(bytes.sliced(3));
    }
    QStringDecoder gbk("GBK");
    return gbk.decode(bytes);
}

} // namespace corvanta::exchange
