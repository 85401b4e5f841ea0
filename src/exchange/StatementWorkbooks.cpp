#include "StatementWorkbooks.h"

#include "XlsWorkbookReading.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QXmlStreamReader>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

// No statement has more: a damaged workbook that claims more gives an error.
constexpr int maxRows = 1'000'000;
constexpr int maxColumns = 200;

QString numberText(double value)
{
    return QString::number(value, 'g', 15);
}

StatementTable failed(const QString& kind, const QString& reason)
{
    StatementTable table;
    table.kind = kind;
    table.error = reason;
    return table;
}

// ---- .xlsx ----

const QString xlsxKind = u"Excel (.xlsx)"_s;

std::optional<QByteArray> zipEntry(QuaZip& zip, const QString& name)
{
    if (!zip.setCurrentFile(name))
        return std::nullopt;
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data = file.readAll();
    file.close();
    return data;
}

QStringList sharedStrings(const QByteArray& xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    QString current;
    bool inItem = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"si") {
            inItem = true;
            current.clear();
        } else if (reader.isStartElement() && reader.name() == u"t" && inItem) {
            current += reader.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (reader.isStartElement() && reader.name() == u"rPh") {
            reader.skipCurrentElement(); // phonetic guides are no part of the text
        } else if (reader.isEndElement() && reader.name() == u"si") {
            strings.append(current);
            inItem = false;
        }
    }
    return strings;
}

// "BC12" → column 54 (from 0); -1 when the reference has no letters.
int columnOf(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter(); ++i)
        column = column * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
    return i == 0 ? -1 : column - 1;
}

// The first worksheet the workbook lists; sheet1.xml names it in every writer seen.
QString firstSheet(QuaZip& zip)
{
    QStringList sheets;
    for (const QString& name : zip.getFileNameList()) {
        if (name.startsWith(u"xl/worksheets/sheet"_s) && name.endsWith(u".xml"_s))
            sheets << name;
    }
    if (sheets.contains(u"xl/worksheets/sheet1.xml"_s))
        return u"xl/worksheets/sheet1.xml"_s;
    sheets.sort();
    return sheets.value(0);
}

} // namespace

bool isXlsxWorkbook(const QByteArray& bytes)
{
    return bytes.startsWith("PK\x03\x04");
}

bool isXlsWorkbook(const QByteArray& bytes)
{
    return bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

StatementTable readXlsxWorkbook(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return failed(xlsxKind, u"不是有效的 .xlsx 文件（无法解压）"_s);
    const QStringList strings =
        sharedStrings(zipEntry(zip, u"xl/sharedStrings.xml"_s).value_or(""));
    const QString sheetName = firstSheet(zip);
    const std::optional<QByteArray> sheet =
        sheetName.isEmpty() ? std::nullopt : zipEntry(zip, sheetName);
    if (!sheet)
        return failed(xlsxKind, u"不是有效的 .xlsx 文件（没有工作表）"_s);

    StatementTable table;
    table.kind = xlsxKind;
    QXmlStreamReader reader(*sheet);
    int row = -1;
    int column = -1;
    QString type;
    while (!reader.atEnd() && !reader.hasError()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const QStringView name = reader.name();
        if (name == u"row") {
            const int number = reader.attributes().value(QLatin1StringView("r")).toInt();
            row = number > 0 ? number - 1 : row + 1;
            column = -1;
        } else if (name == u"c" && row >= 0) {
            const int at = columnOf(reader.attributes().value(QLatin1StringView("r")));
            column = at >= 0 ? at : column + 1;
            type = reader.attributes().value(QLatin1StringView("t")).toString();
        } else if ((name == u"v" || name == u"is") && row >= 0 && column >= 0) {
            if (row >= maxRows || column >= maxColumns)
                return failed(xlsxKind, u"工作表过大"_s);
            const QString raw = reader.readElementText(QXmlStreamReader::IncludeChildElements);
            QString text = raw;
            if (type == u"s") {
                text = strings.value(raw.toInt());
            } else if (type.isEmpty() || type == u"n") {
                bool ok = false;
                const double value = raw.toDouble(&ok);
                if (ok)
                    text = numberText(value);
            }
            while (table.rows.size() <= row)
                table.rows.append(QStringList());
            QStringList& cells = table.rows[row];
            while (cells.size() <= column)
                cells.append(QString());
            cells[column] = text.trimmed();
        }
    }
    if (reader.hasError())
        return failed(xlsxKind, u"工作表无法读取："_s + reader.errorString());
    return table;
}

// ---- .xls ----

StatementTable readXlsWorkbook(const QByteArray& bytes, std::chrono::milliseconds timeout)
{
    return XlsWorkbookReading(bytes, timeout).read();
}

} // namespace corvanta::exchange
