#include "exchange/GenericStatement.h"
#include "GenericLayouts.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

void PrintTo(const QString& text, std::ostream* os)
{
    *os << text.toStdString();
}

namespace {

using F = StatementField;

// ---- every header name a broker uses, and the field it names ----

struct SynonymCase {
    const char16_t* name;
    F field;
};

class ColumnSynonymTest : public ::testing::TestWithParam<SynonymCase> {};

TEST_P(ColumnSynonymTest, NamesItsField)
{
    const auto field = fieldOfColumnName(QString::fromUtf16(GetParam().name));
    ASSERT_TRUE(field.has_value());
    EXPECT_EQ(fieldKey(*field), fieldKey(GetParam().field));
}

const SynonymCase synonymCases[] = {
    {u"成交日期", F::Date},
    {u"交收日期", F::Date},
    {u"发生日期", F::Date},
    {u"交易日期", F::Date},
    {u"日期", F::Date},
    {u"清算日期", F::Date},
    {u"业务日期", F::Date},
    {u"证券代码", F::Code},
    {u"股票代码", F::Code},
    {u"代码", F::Code},
    {u"证券编码", F::Code},
    {u"证券名称", F::Name},
    {u"股票名称", F::Name},
    {u"名称", F::Name},
    {u"证券简称", F::Name},
    {u"股票简称", F::Name},
    {u"操作", F::Operation},
    {u"业务名称", F::Operation},
    {u"摘要", F::Operation},
    {u"买卖标志", F::Operation},
    {u"买卖方向", F::Operation},
    {u"委托类别", F::Operation},
    {u"交易类别", F::Operation},
    {u"业务类型", F::Operation},
    {u"交易类型", F::Operation},
    {u"买卖类别", F::Operation},
    {u"成交数量", F::Quantity},
    {u"成交股数", F::Quantity},
    {u"发生数量", F::Quantity},
    {u"数量", F::Quantity},
    {u"成交量", F::Quantity},
    {u"成交均价", F::Price},
    {u"成交价格", F::Price},
    {u"成交价", F::Price},
    {u"价格", F::Price},
    {u"均价", F::Price},
    {u"成交金额", F::Amount},
    {u"成交额", F::Amount},
    {u"金额", F::Amount},
    {u"手续费", F::Commission},
    {u"佣金", F::Commission},
    {u"净佣金", F::Commission},
    {u"交易佣金", F::Commission},
    {u"印花税", F::StampDuty},
    {u"过户费", F::TransferFee},
    {u"其他杂费", F::OtherFees},
    {u"其他费用", F::OtherFees},
    {u"其它费用", F::OtherFees},
    {u"其他费", F::OtherFees},
    {u"规费", F::OtherFees},
    {u"交易规费", F::OtherFees},
    {u"发生金额", F::NetAmount},
    {u"清算金额", F::NetAmount},
    {u"收付金额", F::NetAmount},
    {u"资金发生数", F::NetAmount},
    {u"变动金额", F::NetAmount},
    // the same names as files write them
    {u" 成交金额(元) ", F::Amount},
    {u"\"证券代码\"", F::Code},
    {u"=\"成交日期\"", F::Date},
    {u"成交价格（元）", F::Price},
    {u"\uFEFF成交日期", F::Date},
};

INSTANTIATE_TEST_SUITE_P(Synonyms, ColumnSynonymTest, ::testing::ValuesIn(synonymCases));

TEST(ColumnSynonyms, EveryRowOfTheTableIsTested)
{
    for (const ColumnSynonym& synonym : columnSynonyms()) {
        bool tested = false;
        for (const SynonymCase& tried : synonymCases)
            tested =
                tested || (synonym.name == QStringView(tried.name) && synonym.field == tried.field);
        EXPECT_TRUE(tested) << synonym.name.toString().toStdString();
    }
}

TEST(ColumnSynonyms, ColumnsNoTradeNeedsNameNoField)
{
    for (QStringView name : {u"成交时间", u"合同编号", u"股东代码", u"资金余额", u"", u"备注"})
        EXPECT_FALSE(fieldOfColumnName(name).has_value()) << name.toString().toStdString();
}

// ---- the header ----

TEST(HeaderFinder, TakesTheFirstRowNamingDateCodeOperationAndQuantity)
{
    const QList<QStringList> rows = {
        {u"历史成交"_s},
        {u"成交日期"_s, u"证券代码"_s, u"证券名称"_s}, // no operation, no quantity
        {},
        {u"日期"_s, u"名称"_s, u"摘要"_s, u"数量"_s},
        {u"成交日期"_s, u"证券代码"_s, u"操作"_s, u"成交数量"_s},
    };
    EXPECT_EQ(findHeaderRow(rows), 3);
    EXPECT_EQ(findHeaderRow(rows.mid(0, 3)), -1);
}

TEST(HeaderFinder, ListsTheTitleLinesAndRefusesAFileWithoutHeader)
{
    const GenericStatement none =
        readGenericStatement(u"只是一段文字\n1\t2\t3\n"_s.toUtf8(), FeeRates{});
    EXPECT_EQ(none.headerRow, -1);
    ASSERT_TRUE(nothingToImport(none).has_value());
    EXPECT_TRUE(nothingToImport(none)->contains(u"表头"_s));

    const GenericStatement titled = readGenericStatement(
        u"对账单\n\n账号 123\n成交日期\t证券代码\t证券名称\t操作\t成交数量\t成交均价\n"_s.toUtf8(),
        FeeRates{});
    ASSERT_EQ(titled.titleLines.size(), 2);
    EXPECT_EQ(titled.titleLines[0].line, 1);
    EXPECT_EQ(titled.titleLines[1].reason, u"账号 123"_s);
    EXPECT_EQ(titled.headerRow, 3);
}

// ---- encodings and separators ----

TEST(StatementText, TellsTheEncoding)
{
    const QString text = u"成交日期,证券名称\n"_s;
    EXPECT_EQ(decodeStatementText(text.toUtf8()).encoding, u"UTF-8"_s);
    EXPECT_EQ(decodeStatementText("\xEF\xBB\xBF" + text.toUtf8()).encoding, u"UTF-8 (BOM)"_s);
    EXPECT_EQ(decodeStatementText(generic::gbk(text)).encoding, u"GBK"_s);
    EXPECT_EQ(decodeStatementText(generic::gbk(text)).text, text);
    const QString rare = text + u"𠀀"_s;
    EXPECT_EQ(decodeStatementText(generic::gb18030(rare)).encoding, u"GB18030"_s);
    EXPECT_EQ(decodeStatementText(generic::gb18030(rare)).text, rare);
}

TEST(StatementText, SplitsQuotedCells)
{
    EXPECT_EQ(splitCells(u"a, \"b,c\" ,=\"000001\",\"say \"\"hi\"\"\",", u','),
              (QStringList{u"a"_s, u"b,c"_s, u"000001"_s, u"say \"hi\""_s, QString()}));
    EXPECT_EQ(splitCells(u"a\tb;c", u'\t'), (QStringList{u"a"_s, u"b;c"_s}));
}

TEST(StatementText, KnowsWorkbooksByContentNotName)
{
    EXPECT_EQ(readStatementTable("PK\x03\x04garbage").kind, u"Excel (.xlsx)"_s);
    EXPECT_FALSE(readStatementTable("PK\x03\x04garbage").error.isEmpty());
    EXPECT_EQ(readStatementTable("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest").kind,
              u"Excel 97-2003 (.xls)"_s);
    EXPECT_FALSE(readStatementTable("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest").error.isEmpty());
    EXPECT_EQ(readStatementTable(generic::gbk(u"成交日期\t操作\n"_s)).kind, u"文本"_s);
}

// ---- operations ----

struct OperationCase {
    const char16_t* text;
    OperationKind kind;
};

class OperationTest : public ::testing::TestWithParam<OperationCase> {};

TEST_P(OperationTest, IsRead)
{
    EXPECT_EQ(int(operationKind(QString::fromUtf16(GetParam().text))), int(GetParam().kind));
}

const OperationCase operationCases[] = {
    {u"证券买入", OperationKind::Buy},
    {u"买入", OperationKind::Buy},
    {u"担保品买入", OperationKind::Buy},
    {u"证券卖出", OperationKind::Sell},
    {u"卖出", OperationKind::Sell},
    {u"担保品卖出", OperationKind::Sell},
    {u"新股入帐", OperationKind::NewShares},
    {u"新股入账", OperationKind::NewShares},
    {u"中签", OperationKind::NewShares},
    {u"红利入账", OperationKind::Dividend},
    {u"股息入账", OperationKind::Dividend},
    {u"红股入账", OperationKind::Dividend},
    {u"股息红利税补缴", OperationKind::Dividend},
    {u"银行转证券", OperationKind::Other},
    {u"证券转银行", OperationKind::Other},
    {u"利息归本", OperationKind::Other},
    {u"新股申购", OperationKind::Other},
    {u"融资买入", OperationKind::Other},
};

INSTANTIATE_TEST_SUITE_P(Operations, OperationTest, ::testing::ValuesIn(operationCases));

// ---- figures ----

const QString header =
    u"成交日期\t证券代码\t证券名称\t操作\t成交数量\t成交均价\t成交金额\t手续费\t印花税\t过户费\t发生金额\n"_s;

GenericStatement read(const QString& lines, const FeeRates& rates = {})
{
    return readGenericStatement((header + lines).toUtf8(), rates);
}

TEST(GenericFigures, StoresFeesAsGivenWithoutRepricing)
{
    FeeRates rates;
    rates.buyCommissionRate = 3; // would give 30, not 1.23
    const GenericStatement statement = read(
        u"20240105\t600000\t浦发银行\t买入\t1000\t10\t10000\t1.23\t0\t0.2\t-10001.43\n"_s, rates);
    ASSERT_EQ(statement.parsed.trades.size(), 1);
    const auto& trade = statement.parsed.trades[0];
    EXPECT_DOUBLE_EQ(trade.commission, 1.23);
    EXPECT_DOUBLE_EQ(trade.transferFee, 0.2);
    EXPECT_DOUBLE_EQ(trade.fees, 1.43);
    EXPECT_DOUBLE_EQ(trade.total, 10001.43);
    EXPECT_TRUE(statement.warnings.isEmpty());
}

TEST(GenericFigures, ReadsANegativeSellQuantityAsASell)
{
    const GenericStatement statement =
        read(u"20240105\t600000\t浦发银行\t卖出\t-300\t10\t-3000\t5\t3\t1\t2991\n"_s);
    ASSERT_EQ(statement.parsed.trades.size(), 1);
    EXPECT_FALSE(statement.parsed.trades[0].buy);
    EXPECT_EQ(statement.parsed.trades[0].operation, u"卖出"_s);
    EXPECT_EQ(statement.parsed.trades[0].shares, 300);
    EXPECT_DOUBLE_EQ(statement.parsed.trades[0].total, 2991);
}

TEST(GenericFigures, PricesTheFeesOfMissingColumns)
{
    FeeRates rates;
    rates.sellStampRate = 1;
    rates.sellCommissionRate = 0.25;
    const GenericStatement statement =
        readGenericStatement(u"成交日期,证券代码,证券名称,操作,成交数量,成交均价,手续费\n"
                             "2024-01-05,600000,浦发银行,卖出,1000,20,7.5\n"_s.toUtf8(),
                             rates);
    ASSERT_EQ(statement.parsed.trades.size(), 1);
    const auto& trade = statement.parsed.trades[0];
    EXPECT_DOUBLE_EQ(trade.commission, 7.5); // as given
    EXPECT_DOUBLE_EQ(trade.stampDuty, 20);   // 20000 × 1‰
    EXPECT_DOUBLE_EQ(trade.transferFee, 1);  // Shanghai, 1000 shares
    EXPECT_DOUBLE_EQ(trade.total, 20000 - 28.5);
}

TEST(GenericFigures, WarnsOfANetAmountOffByMoreThanACent)
{
    const GenericStatement statement =
        read(u"20240105\t600000\t浦发银行\t买入\t1000\t10\t10000\t5\t0\t1\t-10006.01\n"
             "20240106\t600000\t浦发银行\t买入\t1000\t10\t10000\t5\t0\t1\t-10006.02\n"_s);
    ASSERT_EQ(statement.parsed.trades.size(), 2);
    ASSERT_EQ(statement.warnings.size(), 1);
    EXPECT_EQ(statement.warnings[0].line, 3);
    EXPECT_TRUE(statement.warnings[0].reason.contains(u"10006.02"_s));
}

TEST(GenericFigures, ListsDividendsAndTransfersAsSkippedWithTheirText)
{
    const GenericStatement statement =
        read(u"20240105\t600000\t浦发银行\t红利入账\t0\t0\t0\t0\t0\t0\t460\n"
             "20240105\t\t\t银行转证券\t0\t0\t0\t0\t0\t0\t5000\n"
             "20240106\t301000\t肇民科技\t中签\t500\t0\t0\t0\t0\t0\t0\n"
             "20240107\t301000\t肇民科技\t新股入帐\t500\t12\t6000\t0\t0\t0\t-6000\n"_s);
    ASSERT_EQ(statement.parsed.skipped.size(), 3);
    EXPECT_TRUE(statement.parsed.skipped[0].reason.contains(u"红利入账"_s));
    EXPECT_TRUE(statement.parsed.skipped[1].reason.contains(u"银行转证券"_s));
    EXPECT_TRUE(statement.parsed.skipped[2].reason.contains(u"中签"_s));
    ASSERT_EQ(statement.parsed.trades.size(), 1);
    EXPECT_TRUE(statement.parsed.trades[0].buy);
    EXPECT_EQ(statement.parsed.trades[0].line, 5);
}

TEST(GenericFigures, RefusesLinesThatLookLikeTradesButDoNotRead)
{
    const GenericStatement statement =
        read(u"2024-13-05\t600000\t浦发银行\t买入\t1000\t10\t10000\t5\t0\t1\t\n"
             "20240105\t600000\t浦发银行\t买入\t10.5\t10\t10000\t5\t0\t1\t\n"
             "20240105\t\t浦发银行\t买入\t100\t10\t1000\t5\t0\t1\t\n"
             "20240105\t600000\t浦发银行\t买入\t100\t10\t1000\tfive\t0\t1\t\n"_s);
    EXPECT_TRUE(statement.parsed.trades.isEmpty());
    ASSERT_EQ(statement.parsed.refused.size(), 4);
    EXPECT_TRUE(nothingToImport(statement).has_value());
}

struct DateCase {
    const char16_t* text;
    const char16_t* read; // empty: the line is refused
};

class GenericDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(GenericDateTest, IsReadOrRefused)
{
    const GenericStatement statement =
        read(QString::fromUtf16(GetParam().text) +
             u"\t600000\t浦发银行\t买入\t100\t10\t1000\t5\t0\t1\t\n"_s);
    const QString want = QString::fromUtf16(GetParam().read);
    if (want.isEmpty()) {
        EXPECT_EQ(statement.parsed.refused.size(), 1);
    } else {
        ASSERT_EQ(statement.parsed.trades.size(), 1);
        EXPECT_EQ(statement.parsed.trades[0].date, want);
    }
}

const DateCase dateCases[] = {
    {u"20240105", u"2024-01-05"},
    {u"2024-01-05", u"2024-01-05"},
    {u"2024/1/5", u"2024-01-05"},
    {u"2024.01.05", u"2024-01-05"},
    {u"2024年1月5日", u"2024-01-05"},
    {u"2024-01-05 09:30:00", u"2024-01-05"},
    {u"2024-01-05T09:30:00", u"2024-01-05"},
    {u"45296", u"2024-01-05"},
    {u"20240230", u""},
    {u"2024-1", u""},
    {u"05/01/2024", u""},
    {u"0240105", u""},
    {u"１２３", u""},
    {u"", u""},
};

INSTANTIATE_TEST_SUITE_P(Dates, GenericDateTest, ::testing::ValuesIn(dateCases));

// ---- the mapping the user changes ----

TEST(GenericMapping, ChangesAFieldsColumnByNameOrNumber)
{
    const QString text = u"成交日期,证券代码,证券名称,操作,成交数量,成交均价,佣金,手续费\n"
                         "2024-01-05,600000,浦发银行,买入,1000,10,5,7\n"_s;
    const GenericStatement detected = readGenericStatement(text.toUtf8(), FeeRates{});
    EXPECT_DOUBLE_EQ(detected.parsed.trades.value(0).commission, 5);

    const MappingChange byName =
        changeMapping(detected.mapping, detected.header(), {u"commission=手续费"_s});
    ASSERT_EQ(byName.error, QString());
    const GenericStatement remapped =
        readGenericStatement(text.toUtf8(), FeeRates{}, byName.mapping);
    EXPECT_DOUBLE_EQ(remapped.parsed.trades.value(0).commission, 7);

    const MappingChange byNumber =
        changeMapping(detected.mapping, detected.header(), {u"commission=8"_s});
    EXPECT_EQ(byNumber.mapping, byName.mapping);

    EXPECT_FALSE(
        changeMapping(detected.mapping, detected.header(), {u"fee=佣金"_s}).error.isEmpty());
    EXPECT_FALSE(
        changeMapping(detected.mapping, detected.header(), {u"price=单价"_s}).error.isEmpty());
    EXPECT_EQ(changeMapping(detected.mapping, detected.header(), {u"price="_s}).mapping[F::Price],
              -1);
}

} // namespace
} // namespace corvanta::exchange
