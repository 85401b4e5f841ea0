#include "ExportText.h"

#include <QStringDecoder>

#include <algorithm>

namespace corvanta::exchange {

namespace {

bool beyondAscii(const QByteArray& bytes)
{
    return std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) >= 0x80; });
}

// The header every statement of the trading client has.
bool hasHeaderWords(const QString& text)
{
    return text.contains(QStringLiteral("成交日期")) && text.contains(QStringLiteral("证券代码"));
}

} // namespace

QString decodeExportText(const QByteArray& bytes)
{
    static constexpr char utf8Mark[] = "\xEF\xBB\xBF";
    if (bytes.startsWith(utf8Mark)) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        return utf8.decode(bytes.sliced(3));
    }
    QStringDecoder gbk("GBK");
    const QString asGbk = gbk.decode(bytes);
    if (!beyondAscii(bytes))
        return asGbk;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(bytes);
    if (utf8.hasError())
        return asGbk;
    if (!gbk.hasError() && hasHeaderWords(asGbk) && !hasHeaderWords(asUtf8))
        return asGbk;
    return asUtf8;
}

} // namespace corvanta::exchange
