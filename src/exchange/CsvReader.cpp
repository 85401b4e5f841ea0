#include "CsvReader.h"

#include "ExportText.h"

namespace corvanta::exchange {

namespace {

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Reads rows field by field; a quoted field runs to its closing quote, whatever
// it holds.
class CsvScanner {
public:
    explicit CsvScanner(QStringView text) : m_text(text) {}

    QList<QStringList> rows()
    {
        QList<QStringList> rows;
        while (m_at < m_text.size()) {
            if (isLineEnd(m_text[m_at])) { // an empty line
                skipLineEnd();
                continue;
            }
            rows.append(row());
        }
        return rows;
    }

private:
    QStringList row()
    {
        QStringList fields;
        for (;;) {
            fields.append(field());
            if (m_at >= m_text.size())
                break;
            if (m_text[m_at] == u',') {
                ++m_at;
                continue;
            }
            skipLineEnd();
            break;
        }
        return fields;
    }

    // A quoted field ends at its closing quote; anything between that and the
    // next comma is kept as it stands.
    QString field()
    {
        QString value;
        if (m_at < m_text.size() && m_text[m_at] == u'"') {
            ++m_at;
            while (m_at < m_text.size()) {
                const QChar c = m_text[m_at++];
                if (c != u'"') {
                    value += c;
                } else if (m_at < m_text.size() && m_text[m_at] == u'"') {
                    value += c; // a doubled quote
                    ++m_at;
                } else {
                    break;
                }
            }
        }
        while (m_at < m_text.size() && m_text[m_at] != u',' && !isLineEnd(m_text[m_at]))
            value += m_text[m_at++];
        return value;
    }

    void skipLineEnd()
    {
        if (m_text[m_at] == u'\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == u'\n')
            ++m_at;
        ++m_at;
    }

    QStringView m_text;
    qsizetype m_at = 0;
};

} // namespace

QList<QStringList> readCsv(QStringView text)
{
    return CsvScanner(text).rows();
}

QList<QStringList> readCsvFile(const QByteArray& bytes)
{
    const QString text = decodeExportText(bytes);
    return readCsv(text);
}

} // namespace corvanta::exchange
