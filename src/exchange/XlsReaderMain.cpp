// corvanta-xls-reader FILE: the first worksheet of a legacy Excel workbook, as
// cells on standard output (see XlsCells.h); why it cannot be read on standard
// error with exit code 1. Corvanta starts it as a process of its own because the
// library that parses the workbook can fault on a damaged file: such a fault ends
// this program, never Corvanta.
#include "XlsCells.h"

#include <freexl.h>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace corvanta::exchange;

namespace {

// No statement has more: a damaged workbook that claims more gives an error.
constexpr unsigned int maxRows = 1'000'000;
constexpr unsigned short maxColumns = 200;

struct XlsHandle {
    const void* handle = nullptr;
    ~XlsHandle()
    {
        if (handle)
            freexl_close(handle);
    }
};

QString cellText(const FreeXL_CellValue& value)
{
    switch (value.type) {
    case FREEXL_CELL_INT:
        return QString::number(value.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return QString::number(value.value.double_value, 'g', 15);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return QString::fromUtf8(value.value.text_value).trimmed();
    default:
        return QString();
    }
}

int fail(const QString& reason)
{
    const QByteArray text = reason.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stderr);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return fail(u"用法：corvanta-xls-reader 文件"_s);
    XlsHandle xls;
    if (freexl_open(argv[1], &xls.handle) != FREEXL_OK)
        return fail(u"不是有效的 .xls 文件"_s);
    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    if (freexl_select_active_worksheet(xls.handle, 0) != FREEXL_OK ||
        freexl_worksheet_dimensions(xls.handle, &rowCount, &columnCount) != FREEXL_OK)
        return fail(u".xls 文件没有工作表"_s);
    if (rowCount > maxRows || columnCount > maxColumns)
        return fail(u"工作表过大"_s);

    QList<QStringList> rows;
    rows.reserve(qsizetype(rowCount));
    for (unsigned int row = 0; row < rowCount; ++row) {
        QStringList cells;
        for (unsigned short column = 0; column < columnCount; ++column) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(xls.handle, row, column, &value) != FREEXL_OK)
                return fail(u"第 %1 行无法读取"_s.arg(row + 1));
            cells.append(cellText(value));
        }
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        rows.append(cells);
    }
    const QByteArray out = encodeXlsCells(rows);
    if (std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout) !=
            std::size_t(out.size()) ||
        std::fflush(stdout) != 0)
        return fail(u"无法输出"_s);
    return 0;
}
