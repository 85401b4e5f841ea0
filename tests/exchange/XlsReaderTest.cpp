// Legacy workbooks read in a process of their own: the cells it passes back, and
// what a damaged workbook or a reader gone wrong gives instead of a fault.
#include "XlsReaders.h"
#include "exchange/StatementWorkbooks.h"
#include "exchange/XlsCells.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace corvanta::exchange;

TEST(XlsCells, EveryCellComesBackAsWritten)
{
    const QList<QStringList> rows = {
        {u"交割单查询"_s},
        {},
        {u"成交日期"_s, u""_s, u"a\tb"_s, u"line\nbreak\r"_s, u"back\\slash \\t"_s},
        {u"2024-01-05"_s, u"600036"_s, u"-30510.15"_s},
    };
    EXPECT_EQ(decodeXlsCells(encodeXlsCells(rows)), rows);
    EXPECT_EQ(decodeXlsCells(encodeXlsCells({})), QList<QStringList>());
}

struct BrokenOutput {
    const char* name;
    QByteArray bytes;
};

class XlsCellsRefusal : public testing::TestWithParam<BrokenOutput> {};

TEST_P(XlsCellsRefusal, IsNoSheet)
{
    EXPECT_FALSE(decodeXlsCells(GetParam().bytes).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Output, XlsCellsRefusal,
    testing::Values(BrokenOutput{"Empty", ""},
                    BrokenOutput{"CutBeforeTheEnd", "corvanta-xls-cells 1\na\tb\n"},
                    BrokenOutput{"CutInTheLastLine", "corvanta-xls-cells 1\na\nend 1"},
                    BrokenOutput{"FewerRowsThanCounted", "corvanta-xls-cells 1\na\nend 2\n"},
                    BrokenOutput{"MoreRowsThanCounted", "corvanta-xls-cells 1\na\nb\nend 1\n"},
                    BrokenOutput{"CountNotANumber", "corvanta-xls-cells 1\na\nend x\n"},
                    BrokenOutput{"AnotherFormat", "corvanta-xls-cells 2\na\nend 1\n"},
                    BrokenOutput{"UnknownEscape", "corvanta-xls-cells 1\na\\x\nend 1\n"},
                    BrokenOutput{"LoneBackslash", "corvanta-xls-cells 1\na\\\nend 1\n"},
                    BrokenOutput{"NotUtf8", "corvanta-xls-cells 1\n\xB3\xC9\xBD\xBB\nend 1\n"}),
    [](const testing::TestParamInfo<BrokenOutput>& row) { return row.param.name; });

struct ReaderCase {
    const char* name;
    QByteArray script; // empty: the reader of this build
    QString says;      // empty: any reason (see DamagedStringRecords)
};

class XlsReaderFailure : public testing::TestWithParam<ReaderCase> {};

TEST_P(XlsReaderFailure, GivesAnErrorNotAFault)
{
    const ReaderCase& reader = GetParam();
    std::optional<xlsreaders::FakeReader> fake;
    if (!reader.script.isEmpty())
        fake.emplace(reader.script);
    QFile damaged(xlsreaders::damagedWorkbook);
    ASSERT_TRUE(damaged.open(QIODevice::ReadOnly));
    const StatementTable table = readXlsWorkbook(damaged.readAll(), std::chrono::milliseconds(500));
    EXPECT_EQ(table.kind, u"Excel 97-2003 (.xls)"_s);
    EXPECT_TRUE(table.rows.isEmpty());
    EXPECT_TRUE(table.error.startsWith(u"无法读取该 Excel 文件："_s)) << table.error.toStdString();
    if (!reader.says.isEmpty()) {
        EXPECT_EQ(table.error, u"无法读取该 Excel 文件："_s + reader.says);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reader, XlsReaderFailure,
    testing::Values(
        // The library's own refusal in a plain build; built with AddressSanitizer the
        // reader faults on it instead. Either way an error, never a fault here.
        ReaderCase{"DamagedStringRecords", "", QString()},
        ReaderCase{"Crashes", xlsreaders::crashes, u"读取程序意外终止，文件可能已损坏"_s},
        ReaderCase{"Hangs", xlsreaders::hangs, u"读取超过 0.5 秒，已停止"_s},
        ReaderCase{"TalksNonsense", xlsreaders::talksNonsense, u"读取程序的输出无法识别"_s},
        ReaderCase{"RefusesWithAReason", xlsreaders::refuses, u"工作表过大"_s},
        // A sanitizer's report is no reason to show a user.
        ReaderCase{"FailsWithAReport",
                   "printf 'ERROR: AddressSanitizer\\n    #0 iconv\\n' >&2\nexit 3\n",
                   u"读取程序出错退出（退出码 3），文件可能已损坏"_s}),
    [](const testing::TestParamInfo<ReaderCase>& row) { return row.param.name; });

TEST(XlsReader, MissingReaderIsNamed)
{
    qputenv("CORVANTA_XLS_READER", "/nonexistent/corvanta-xls-reader");
    const StatementTable table = readXlsWorkbook("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    qputenv("CORVANTA_XLS_READER", XLS_READER);
    EXPECT_EQ(table.error,
              u"无法读取该 Excel 文件：读取程序无法启动（/nonexistent/corvanta-xls-reader）"_s);
}
