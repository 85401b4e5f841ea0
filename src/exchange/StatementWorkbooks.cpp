#include "StatementWorkbooks.h"

#include "XlsCells.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryFile>
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

namespace {

const QString xlsKind = u"Excel 97-2003 (.xls)"_s;
const QString readerName = u"corvanta-xls-reader"_s;

// Beside the program in the build tree, in the package's libexec folder when
// installed; CORVANTA_XLS_READER names another (the tests' own build).
QString xlsReaderProgram()
{
    const QString chosen = qEnvironmentVariable("CORVANTA_XLS_READER");
    if (!chosen.isEmpty())
        return chosen;
    if (!QCoreApplication::instance())
        return QString();
    const QString folder = QCoreApplication::applicationDirPath();
    const QStringList candidates = {folder + u'/' + readerName,
                                    folder + u'/' + QLatin1StringView(CORVANTA_READER_FROM_BINDIR) +
                                        u'/' + readerName};
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return QString();
}

StatementTable unreadable(const QString& reason)
{
    return failed(xlsKind, u"无法读取该 Excel 文件："_s + reason);
}

} // namespace

StatementTable readXlsWorkbook(const QByteArray& bytes, std::chrono::milliseconds timeout)
{
    const QString program = xlsReaderProgram();
    if (program.isEmpty())
        return unreadable(u"找不到读取程序 "_s + readerName);
    // The reader takes a file: the bytes may not be a file of their own.
    QTemporaryFile file;
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return unreadable(u"无法建立临时文件"_s);

    QProcess reader;
    reader.setProgram(program);
    reader.setArguments({file.fileName()});
    reader.start(QIODevice::ReadOnly);
    if (!reader.waitForStarted())
        return unreadable(u"读取程序无法启动（"_s + program + u"）"_s);
    if (!reader.waitForFinished(int(timeout.count()))) {
        reader.kill();
        reader.waitForFinished();
        return unreadable(u"读取超过 %1 秒，已停止"_s.arg(timeout.count() / 1000.0));
    }
    if (reader.exitStatus() != QProcess::NormalExit)
        return unreadable(u"读取程序意外终止，文件可能已损坏"_s);
    if (reader.exitCode() != 0) {
        const QString reason = QString::fromUtf8(reader.readAllStandardError()).trimmed();
        return unreadable(
            reason.isEmpty() || reason.size() > 200 || reason.contains(u'\n')
                ? u"读取程序出错退出（退出码 %1），文件可能已损坏"_s.arg(reader.exitCode())
                : reason);
    }
    std::optional<QList<QStringList>> rows = decodeXlsCells(reader.readAllStandardOutput());
    if (!rows)
        return unreadable(u"读取程序的输出无法识别"_s);
    if (rows->size() > maxRows)
        return unreadable(u"工作表过大"_s);
    StatementTable table;
    table.kind = xlsKind;
    table.rows = *std::move(rows);
    return table;
}

} // namespace corvanta::exchange
