#include "exchange/ImportTexts.h"
#include "StatementFixtures.h"
#include "TextPrinting.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {
namespace {

TEST(ImportTexts, CaptionsAndFilters)
{
    EXPECT_EQ(importListCaption(statementLayouts()[1]), u"财达证券  交易记录导入列表"_s);
    EXPECT_EQ(importFileFilters(std::nullopt).size(), 4);
    EXPECT_EQ(importFileFilters(ImportFileKind::Csv),
              (QStringList{u"csv文件 (*.csv)"_s, u"交易记录 (交易记录.csv)"_s}));
}

TEST(ImportTexts, ReportNamesRefusedAndDuplicateLines)
{
    fixtures::Sczq bad;
    bad.price = u"x"_s;
    const ParsedStatement statement = parseStatement(
        fixtures::statementFile({fixtures::Sczq().line(), bad.line()}), statementLayouts()[0]);
    ledger::StatementImportOutcome outcome;
    outcome.committed = true;
    outcome.duplicatesSkipped = {1};
    EXPECT_EQ(
        importReport(statement, outcome),
        u"导入完成：导入 0 笔交易，跳过 2 行。\n1 行无法识别，已跳过：\n第 2 行：价格不是数字\n"
        u"1 行与已有的交易相同，已跳过：第 1 行"_s);
    ledger::StatementImportOutcome clean;
    clean.committed = true;
    clean.tradesWritten = 3;
    EXPECT_EQ(importReport(ParsedStatement(), clean), u"导入完成：导入 3 笔交易，跳过 0 行。"_s);

    ledger::StatementImportOutcome failed;
    failed.stoppedAtLine = 7;
    failed.error = u"disk I/O error"_s;
    EXPECT_EQ(importReport(statement, failed),
              u"导入失败，没有导入任何记录。第 7 行出错：disk I/O error"_s);
}

// The window lists only the lines after the header: its messages count lines as
// that list shows them, not as the file does.
TEST(ImportTexts, LinesAreNumberedAsTheListShowsThem)
{
    fixtures::Sczq bad;
    bad.price = u"x"_s;
    const ParsedStatement statement = parseStatement(
        fixtures::statementFile({u"首创证券 对账单"_s, u""_s, fixtures::sczqHeader(),
                                 fixtures::Sczq().line(), bad.line(), fixtures::Sczq().line()}),
        statementLayouts()[0]);
    EXPECT_EQ(listedLines(statement, {4, 5, 6}), (QList<int>{1, 2, 3}));
    EXPECT_EQ(listedLines(statement, {1}), QList<int>{1}); // outside the list
    ledger::StatementImportOutcome outcome;
    outcome.committed = true;
    outcome.tradesWritten = 1;
    outcome.duplicatesSkipped = {6};
    EXPECT_EQ(
        importReport(statement, outcome),
        u"导入完成：导入 1 笔交易，跳过 2 行。\n1 行无法识别，已跳过：\n第 2 行：价格不是数字\n"
        u"1 行与已有的交易相同，已跳过：第 3 行"_s);
    ledger::StatementImportOutcome failed;
    failed.stoppedAtLine = 6;
    failed.error = u"refused"_s;
    EXPECT_EQ(importReport(statement, failed),
              u"导入失败，没有导入任何记录。第 3 行出错：refused"_s);
}

// A file that gives no trade in the chosen layout is refused with the reason of
// its first unreadable line, whatever else it holds.
TEST(ImportTexts, AStatementWithoutTradesIsRefused)
{
    const StatementLayout& sczq = statementLayouts()[0];
    const StatementLayout& cdzq = statementLayouts()[1];
    const struct {
        const char* what;
        QByteArray bytes;
        const StatementLayout& layout;
        QString refusal; // empty: importable
    } cases[] = {
        {"its own layout",
         fixtures::statementFile({fixtures::sczqHeader(), fixtures::Sczq().line()}),
         sczq,
         {}},
        {"the other broker's layout",
         fixtures::statementFile({fixtures::cdzqHeader(), fixtures::Cdzq().line()}), sczq,
         u"没有导入：按“首创证券”的格式，文件中没有读到任何交易记录。"
         u"请确认文件是这家券商的对账单。账本没有任何改动。"_s},
        {"the other way round",
         fixtures::statementFile({fixtures::sczqHeader(), fixtures::Sczq().line()}), cdzq,
         u"没有导入：按“财达证券”的格式"_s},
        {"no statement at all", QByteArray::fromHex("89504e470d0a1a0a0000000d4948445209090909ffd8"),
         sczq, u"没有导入：按“首创证券”的格式，文件中没有读到任何交易记录"_s},
        {"an empty file", QByteArray(), cdzq, u"没有导入：按“财达证券”的格式"_s},
    };
    for (const auto& row : cases) {
        const auto refusal = nothingToImport(parseStatement(row.bytes, row.layout), row.layout);
        if (row.refusal.isEmpty()) {
            EXPECT_FALSE(refusal) << row.what;
            continue;
        }
        ASSERT_TRUE(refusal) << row.what;
        EXPECT_TRUE(refusal->startsWith(row.refusal)) << row.what << ": " << refusal->toStdString();
        EXPECT_TRUE(refusal->endsWith(u"账本没有任何改动。"_s)) << row.what;
    }

    fixtures::Sczq bad;
    bad.quantity = u"1.5"_s;
    EXPECT_EQ(nothingToImport(parseStatement(fixtures::statementFile({bad.line()}), sczq), sczq),
              u"没有导入：按“首创证券”的格式，文件中没有读到任何交易记录（1 行无法识别，第 1 "
              u"行：数量不是整数）。请确认文件是这家券商的对账单。账本没有任何改动。"_s);
}

TEST(ImportTexts, DuplicatesQuestionOnlyWhenThereAreSome)
{
    EXPECT_FALSE(duplicatesQuestion({}).has_value());
    EXPECT_EQ(duplicatesQuestion({2, 5}).value_or(QString()),
              u"2 行与账中已有的交易相同（日期、代码、买卖、数量、价格都相同）：第 2、5 行。"
              u"是否跳过这些行？"_s);
}

} // namespace
} // namespace corvanta::exchange
