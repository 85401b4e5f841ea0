#include "XlsCells.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

constexpr QByteArrayView firstLine = "corvanta-xls-cells 1";
constexpr QByteArrayView endWord = "end ";

QByteArray escaped(const QString& cell)
{
    QByteArray out;
    const QByteArray utf8 = cell.toUtf8();
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<QString> unescaped(const QByteArray& cell)
{
    QByteArray out;
    out.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const char c = cell[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == cell.size())
            return std::nullopt;
        switch (cell[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(out);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QByteArray encodeXlsCells(const QList<QStringList>& rows)
{
    QByteArray out = firstLine.toByteArray() + '\n';
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += '\t';
            out += escaped(row[i]);
        }
        out += '\n';
    }
    out += endWord.toByteArray() + QByteArray::number(rows.size()) + '\n';
    return out;
}

std::optional<QList<QStringList>> decodeXlsCells(const QByteArray& bytes)
{
    if (!bytes.endsWith('\n'))
        return std::nullopt;
    const QList<QByteArray> lines = bytes.chopped(1).split('\n');
    if (lines.size() < 2 || lines.first() != firstLine || !lines.last().startsWith(endWord))
        return std::nullopt;
    bool ok = false;
    const qsizetype count = lines.last().sliced(endWord.size()).toLongLong(&ok);
    if (!ok || count != lines.size() - 2)
        return std::nullopt;

    QList<QStringList> rows;
    rows.reserve(count);
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        QStringList cells;
        if (!lines[i].isEmpty()) {
            for (const QByteArray& cell : lines[i].split('\t')) {
                std::optional<QString> text = unescaped(cell);
                if (!text)
                    return std::nullopt;
                cells.append(*std::move(text));
            }
        }
        rows.append(std::move(cells));
    }
    return rows;
}

} // namespace corvanta::exchange
