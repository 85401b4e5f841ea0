#include "exchange/CsvReader.h"
#include "TextPrinting.h"
#include "exchange/CsvTableModel.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {
namespace {

struct CsvCase {
    const char* label;
    QString text;
    QList<QStringList> rows;
    friend void PrintTo(const CsvCase& c, std::ostream* os) { *os << c.label; }
};

class CsvReaderTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvReaderTest, ReadsTheRows)
{
    EXPECT_EQ(readCsv(GetParam().text), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvReaderTest,
    ::testing::Values(
        CsvCase{
            "plain", u"a,b,c\r\n1,2,3\r\n"_s, {{u"a"_s, u"b"_s, u"c"_s}, {u"1"_s, u"2"_s, u"3"_s}}},
        CsvCase{"no_final_line_end", u"a,b\n1,2"_s, {{u"a"_s, u"b"_s}, {u"1"_s, u"2"_s}}},
        CsvCase{"cr_only", u"a\rb\r"_s, {{u"a"_s}, {u"b"_s}}},
        CsvCase{"empty_fields", u",a,,\n"_s, {{u""_s, u"a"_s, u""_s, u""_s}}},
        CsvCase{"blanks_kept", u" a , b \n"_s, {{u" a "_s, u" b "_s}}},
        CsvCase{"quoted_comma", u"\"1,000.00\",x\n"_s, {{u"1,000.00"_s, u"x"_s}}},
        CsvCase{"doubled_quote", u"\"say \"\"hi\"\"\",y\n"_s, {{u"say \"hi\""_s, u"y"_s}}},
        CsvCase{"quoted_line_ends",
                u"\"two\r\nlines\",z\n\"cr\ronly\"\n"_s,
                {{u"two\r\nlines"_s, u"z"_s}, {u"cr\ronly"_s}}},
        CsvCase{"empty_quoted", u"\"\",a\n"_s, {{u""_s, u"a"_s}}},
        // A quote inside an unquoted field is text; text after a closing quote is kept.
        CsvCase{"inner_quote", u"5\"5,\"ab\"c\n"_s, {{u"5\"5"_s, u"abc"_s}}},
        CsvCase{"unterminated_quote", u"a,\"open\nrest"_s, {{u"a"_s, u"open\nrest"_s}}},
        CsvCase{"empty_lines_skipped", u"\r\na\n\n\nb\n"_s, {{u"a"_s}, {u"b"_s}}},
        CsvCase{"empty_text", u""_s, {}}),
    [](const auto& param) { return std::string(param.param.label); });

TEST(CsvReaderFile, ReadsGbkAndMarkedUtf8)
{
    const QString text = u"成交日期,证券名称\n20070521,\"浦发银行,A\"\n"_s;
    const QList<QStringList> rows = {{u"成交日期"_s, u"证券名称"_s},
                                     {u"20070521"_s, u"浦发银行,A"_s}};
    QStringEncoder gbk("GBK");
    EXPECT_EQ(readCsvFile(gbk.encode(text)), rows);
    EXPECT_EQ(readCsvFile("\xEF\xBB\xBF" + text.toUtf8()), rows);
}

TEST(CsvTableModel, ShowsEveryRowAndColoursByTheFifthColumn)
{
    CsvTableModel model;
    model.setRows({{u"日期"_s, u"代码"_s, u"名称"_s, u"数量"_s, u"操作"_s},
                   {u"20070521"_s, u"600000"_s, u"浦发银行"_s, u"100"_s, u"卖出"_s},
                   {u"20070522"_s, u"600000"_s, u"浦发银行"_s, u"100"_s, u"买入"_s, u"extra"_s},
                   {u"short"_s}});
    ASSERT_EQ(model.rowCount(), 4);
    ASSERT_EQ(model.columnCount(), 6);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), u"F1"_s);
    EXPECT_EQ(model.data(model.index(0, 4), Qt::DisplayRole).toString(), u"操作"_s);
    EXPECT_EQ(model.data(model.index(2, 5), Qt::DisplayRole).toString(), u"extra"_s);
    EXPECT_EQ(model.data(model.index(3, 5), Qt::DisplayRole).toString(), u""_s);

    auto colour = [&](int row) {
        return model.data(model.index(row, 0), CsvTableModel::RowColourRole).toUInt();
    };
    EXPECT_EQ(colour(0), 0xA6CAF0u); // the header row too
    EXPECT_EQ(colour(1), 0x0000FFu);
    EXPECT_EQ(colour(2), 0xFF0000u);
    EXPECT_EQ(colour(3), 0xA6CAF0u);
    EXPECT_FALSE(model.data(model.index(1, 0), Qt::EditRole).isValid());
}

// A 财达证券 statement has its operation fourth and writes "证券买入": its rows are
// coloured by that column, not all sky blue.
TEST(CsvTableModel, ColoursByTheColumnHeadedOperation)
{
    CsvTableModel model;
    model.setRows({{u"成交日期"_s, u"证券代码"_s, u"证券名称"_s, u"操作"_s, u"成交数量"_s},
                   {u"20070521"_s, u"600000"_s, u"浦发银行"_s, u"证券卖出"_s, u"100"_s},
                   {u"20070522"_s, u"600000"_s, u"浦发银行"_s, u"证券买入"_s, u"100"_s},
                   {u"20070523"_s, u"600000"_s, u"浦发银行"_s, u"红利"_s, u"100"_s}});
    auto colour = [&](int row) {
        return model.data(model.index(row, 0), CsvTableModel::RowColourRole).toUInt();
    };
    EXPECT_EQ(colour(0), 0xA6CAF0u);
    EXPECT_EQ(colour(1), 0x0000FFu);
    EXPECT_EQ(colour(2), 0xFF0000u);
    EXPECT_EQ(colour(3), 0xA6CAF0u);
}

} // namespace
} // namespace corvanta::exchange
