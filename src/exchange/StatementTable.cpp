#include "StatementTable.h"

#include "StatementColumns.h"
#include "StatementParser.h"
#include "StatementWorkbooks.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

constexpr char utf8Mark[] = "\xEF\xBB\xBF";

// A separator is judged on the first lines only: enough for any title block.
constexpr qsizetype linesJudged = 60;

bool decodesCleanly(QStringDecoder& decoder, const QByteArray& bytes, QString& text)
{
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

// The separator whose split of the first lines gives a header with most fields;
// failing a header, the one that occurs most.
QChar detectSeparator(const QList<QStringView>& lines)
{
    QChar best = u'\t';
    int bestFields = 0;
    qsizetype bestCount = 0;
    for (QChar separator : {QChar(u'\t'), QChar(u','), QChar(u';')}) {
        int fields = 0;
        qsizetype count = 0;
        for (qsizetype i = 0; i < lines.size() && i < linesJudged; ++i) {
            count += lines.at(i).count(separator);
            const ColumnMapping mapping = mapColumns(splitCells(lines.at(i), separator));
            if (!isGenericHeader(mapping))
                continue;
            for (int column : mapping.columns)
                fields += column >= 0 ? 1 : 0;
            break;
        }
        if (fields > bestFields || (fields == bestFields && count > bestCount)) {
            best = separator;
            bestFields = fields;
            bestCount = count;
        }
    }
    return best;
}

} // namespace

QString separatorName(QChar separator)
{
    switch (separator.unicode()) {
    case u'\t':
        return u"制表符"_s;
    case u',':
        return u"逗号"_s;
    case u';':
        return u"分号"_s;
    default:
        return QString();
    }
}

DecodedText decodeStatementText(const QByteArray& bytes)
{
    DecodedText decoded;
    if (bytes.startsWith(utf8Mark)) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        decoded.text = utf8.decode(bytes.sliced(3));
        decoded.encoding = u"UTF-8 (BOM)"_s;
        return decoded;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    if (decodesCleanly(utf8, bytes, decoded.text)) {
        decoded.encoding = u"UTF-8"_s;
        return decoded;
    }
    QStringDecoder gbk("GBK");
    if (gbk.isValid() && decodesCleanly(gbk, bytes, decoded.text) &&
        !decoded.text.contains(QChar::ReplacementCharacter)) {
        decoded.encoding = u"GBK"_s;
        return decoded;
    }
    QStringDecoder gb18030("GB18030");
    decoded.text = gb18030.isValid() ? gb18030.decode(bytes) : QStringDecoder("GBK").decode(bytes);
    decoded.encoding = u"GB18030"_s;
    return decoded;
}

QStringList splitCells(QStringView line, QChar separator)
{
    QStringList cells;
    QString cell;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    cell.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell.append(c);
            }
        } else if (c == separator) {
            cells.append(cell.trimmed());
            cell.clear();
            wasQuoted = false;
        } else if (c == u'"' && !wasQuoted && cell.trimmed().isEmpty()) {
            quoted = wasQuoted = true;
            cell.clear();
        } else if (c == u'"' && !wasQuoted && cell.trimmed() == u"=") {
            quoted = wasQuoted = true; // ="000001": Excel's way to keep leading zeros
            cell.clear();
        } else {
            cell.append(c);
        }
    }
    cells.append(cell.trimmed());
    return cells;
}

StatementTable readStatementTable(const QByteArray& bytes)
{
    if (isXlsxWorkbook(bytes))
        return readXlsxWorkbook(bytes);
    if (isXlsWorkbook(bytes))
        return readXlsWorkbook(bytes);

    StatementTable table;
    table.kind = u"文本"_s;
    const DecodedText decoded = decodeStatementText(bytes);
    table.encoding = decoded.encoding;
    const QList<QStringView> lines = splitLines(decoded.text);
    table.separator = detectSeparator(lines);
    table.rows.reserve(lines.size());
    for (QStringView line : lines)
        table.rows.append(line.trimmed().isEmpty() ? QStringList()
                                                   : splitCells(line, table.separator));
    return table;
}

} // namespace corvanta::exchange
