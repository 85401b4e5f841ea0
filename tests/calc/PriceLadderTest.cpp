#include "calc/PriceLadder.h"
#include "calc/MarketKind.h"

#include "CaseTables.h"

#include <gtest/gtest.h>

using namespace corvanta;

namespace {

template <class Case>
requires requires(const Case& c)
{
    c.name;
}
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

QString q(const char* text)
{
    return QString::fromUtf8(text);
}

// A priced buy of 1000 shares at 10.00. The selling rates are 1 ‰ and 3 ‰; the
// buy rates shown in the boxes are 6 ‰, so a sale priced with them shows.
struct Holding {
    const char* quantity = "1000";
    const char* total = "10035.00";
    const char* open = "10.00";
    MarketKind market = MarketKind::ShenzhenA;
};

LadderInputs inputsOf(const Holding& h)
{
    LadderInputs in;
    FeeSnapshot& t = in.trade;
    t.quantity = q(h.quantity);
    t.price = q("10.00");
    t.stampRate = q("6");
    t.commissionRate = q("6");
    t.otherFee = q("5");
    t.direction = Direction::Buy;
    const MarketFlags flags = flagsFor(h.market);
    t.transferFeeFlag = flags.transferFee;
    t.stampDutyFlag = flags.stampDuty;
    t.saved = {5, 6, 6, 5, 1, 3};
    in.total = q(h.total);
    in.open = q(h.open);
    return in;
}

// One row of the ladder, all six cells.
struct LevelRow {
    int row;
    const char* cells[6];
};

struct LadderCase {
    const char* name;
    Holding holding;
    LevelRow rows[3];
};

class Ladder : public ::testing::TestWithParam<LadderCase> {};

TEST_P(Ladder, ShowsLevelsProfitsAndRatios)
{
    const LadderCase& c = GetParam();
    const PriceLadder ladder = buildPriceLadder(inputsOf(c.holding));
    ASSERT_TRUE(ladder.attempted);
    EXPECT_FALSE(ladder.problem) << ladder.problem->toStdString();
    for (const LevelRow& expected : c.rows) {
        for (int col = 0; col < 6; ++col) {
            EXPECT_EQ(ladder.rows[std::size_t(expected.row - 1)][std::size_t(col)].toStdString(),
                      std::string(expected.cells[col]))
                << "row " << expected.row << ", column " << col;
        }
    }
}

// Levels reach ±10% of the open in row 20. A Shenzhen sale of 1000 shares at P pays
// P ‰ stamp duty, 3 P ‰ commission and the other fee 5.
INSTANTIATE_TEST_SUITE_P(
    Cases, Ladder,
    ::testing::Values(
        LadderCase{
            "Open10",
            {},
            {{1, {"10.05 ↑  0.5%", "-30.20", "-.30%", "9.95 ↓  0.5%", "-129.80", "-1.29%"}},
             {2, {"10.10 ↑  1.0%", "19.60", ".20%", "9.90 ↓  1.0%", "-179.60", "-1.79%"}},
             {20, {"11.00 ↑  10.0%", "916.00", "9.13%", "9.00 ↓  10.0%", "-1076.00", "-10.72%"}}}},
        // 10.05 × 1.005 = 10.10025: shown rounded, sold unrounded (10.10 would give 19.60).
        LadderCase{
            "Open1005UnroundedLevel",
            {.open = "10.05"},
            {{1, {"10.10 ↑  0.5%", "19.85", ".20%", "10.00 ↓  0.5%", "-80.25", "-.80%"}},
             {2, {"10.15 ↑  1.0%", "69.90", ".70%", "9.95 ↓  1.0%", "-130.30", "-1.30%"}},
             {20, {"11.06 ↑  10.0%", "970.78", "9.67%", "9.05 ↓  10.0%", "-1031.18", "-10.28%"}}}},
        // No stamp duty; the commission stays at its 5-yuan minimum.
        LadderCase{
            "Warrant",
            {.total = "1010.00", .open = "1.000", .market = MarketKind::WarrantOrFund},
            {{1, {"1.01 ↑  0.5%", "-15.00", "-1.49%", "1.00 ↓  0.5%", "-25.00", "-2.48%"}},
             {2, {"1.01 ↑  1.0%", "-10.00", "-.99%", ".99 ↓  1.0%", "-30.00", "-2.97%"}},
             {20, {"1.10 ↑  10.0%", "80.00", "7.92%", ".90 ↓  10.0%", "-120.00", "-11.88%"}}}},
        // The transfer fee of 1 yuan per 1000 shares.
        LadderCase{
            "Shanghai",
            {.total = "10036.00", .market = MarketKind::ShanghaiA},
            {{1, {"10.05 ↑  0.5%", "-32.20", "-.32%", "9.95 ↓  0.5%", "-131.80", "-1.31%"}},
             {2, {"10.10 ↑  1.0%", "17.60", ".18%", "9.90 ↓  1.0%", "-181.60", "-1.81%"}},
             {20, {"11.00 ↑  10.0%", "914.00", "9.11%", "9.00 ↓  10.0%", "-1078.00", "-10.74%"}}}},
        // Break-even at 10.25 (row 5): a sale there repays T to the fen.
        LadderCase{"LossInFirstRows",
                   {.total = "10204.00"},
                   {{4, {"10.20 ↑  2.0%", "-49.80", "-.49%", "9.80 ↓  2.0%", "-448.20", "-4.39%"}},
                    {5, {"10.25 ↑  2.5%", ".00", ".00%", "9.75 ↓  2.5%", "-498.00", "-4.88%"}},
                    {6, {"10.30 ↑  3.0%", "49.80", ".49%", "9.70 ↓  3.0%", "-547.80", "-5.37%"}}}}),
    test::CaseName{});

struct ToneCase {
    const char* name;
    const char* total;
    int row;
    CellTone upper; // columns 0 to 2
};

class LadderTone : public ::testing::TestWithParam<ToneCase> {};

TEST_P(LadderTone, UpperLevelsFollowTheirProfitInTheFirstTenRowsOnly)
{
    const ToneCase& c = GetParam();
    const PriceLadder ladder = buildPriceLadder(inputsOf({.total = c.total}));
    for (int col = 0; col < 3; ++col)
        EXPECT_EQ(ladderCellTone(ladder, c.row, col), c.upper) << "column " << col;
    for (int col = 3; col < 6; ++col)
        EXPECT_EQ(ladderCellTone(ladder, c.row, col), CellTone::Loss) << "column " << col;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LadderTone,
    ::testing::Values(ToneCase{"CaptionsRow", "10035.00", 0, CellTone::Profit},
                      ToneCase{"LossInRowOne", "10035.00", 1, CellTone::Loss},
                      ToneCase{"ProfitInRowTwo", "10035.00", 2, CellTone::Profit},
                      ToneCase{"ZeroProfitIsRed", "10204.00", 5, CellTone::Profit},
                      ToneCase{"LossInRowTen", "10600.00", 10, CellTone::Loss},
                      ToneCase{"LossInRowElevenStaysRed", "10600.00", 11, CellTone::Profit}),
    test::CaseName{});

struct StopCase {
    const char* name;
    Holding holding;
    const char* quantityText; // replaces the holding's quantity when set
    bool attempted;
    bool problem;
    int rowOneCellsWritten;
};

class LadderStop : public ::testing::TestWithParam<StopCase> {};

TEST_P(LadderStop, StopsAtAValueThatDoesNotReadAndSaysSo)
{
    const StopCase& c = GetParam();
    LadderInputs in = inputsOf(c.holding);
    if (c.quantityText)
        in.trade.quantity = q(c.quantityText);
    const PriceLadder ladder = buildPriceLadder(in);
    EXPECT_EQ(ladder.attempted, c.attempted);
    EXPECT_EQ(ladder.problem.has_value(), c.problem);
    int written = 0;
    for (int col = 0; col < 6; ++col) {
        const bool hasText = !ladder.rows[0][std::size_t(col)].isEmpty();
        written += hasText;
        // A cell with no text is drawn plain.
        if (!hasText) {
            EXPECT_EQ(ladderCellTone(ladder, 1, col), CellTone::None) << "column " << col;
        }
    }
    EXPECT_EQ(written, c.rowOneCellsWritten);
    EXPECT_TRUE(ladder.rows[19][5].isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LadderStop,
    ::testing::Values(StopCase{"NoOpen", {.open = "  "}, nullptr, false, false, 0},
                      StopCase{"NoQuantity", {}, " ", false, false, 0},
                      StopCase{"OpenNotANumber", {.open = "-"}, nullptr, true, true, 0},
                      StopCase{"TotalNotANumber", {.total = "1.2.3"}, nullptr, true, true, 0},
                      StopCase{"QuantityNotWhole", {}, "10.5", true, true, 0},
                      // The profit is written, its ratio over a zero T is not.
                      StopCase{"ZeroTotal", {.total = "0"}, nullptr, true, true, 2}),
    test::CaseName{});

TEST(LadderStop, ANotAttemptedLadderIsPlainEvenInItsCaptionsRow)
{
    LadderInputs in = inputsOf({});
    in.open.clear();
    const PriceLadder ladder = buildPriceLadder(in);
    EXPECT_EQ(ladderCellTone(ladder, 0, 0), CellTone::None);
    EXPECT_EQ(ladderCellTone(ladder, 0, 5), CellTone::None);
}

struct HeaderCase {
    const char* name;
    const char* code;
    const char* stockName;
    const char* open;
    const char* prevClose;
    const char* up;
    const char* down;
};

class LadderHeaderLimits : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(LadderHeaderLimits, LimitsComeFromThePreviousCloseAndTheBoard)
{
    const HeaderCase& c = GetParam();
    LadderInputs in = inputsOf({.open = c.open});
    in.code = q(c.code);
    in.name = q(c.stockName);
    in.prevClose = q(c.prevClose);
    const QString first = ladderHeader(in).first;
    EXPECT_TRUE(first.endsWith(u"  涨停:" + q(c.up) + u"  跌停:" + q(c.down)))
        << first.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LadderHeaderLimits,
    ::testing::Values(
        HeaderCase{"MainBoard", "000001", "平安银行", "10.00", "9.90", "10.89", "8.91"},
        HeaderCase{"HalfUpToTheFen", "600000", "浦发银行", "9.00", "10.05", "11.06", "9.05"},
        HeaderCase{"ChiNext", "300750", "宁德时代", "10.50", "10.00", "12.00", "8.00"},
        HeaderCase{"Star", "688981", "中芯国际", "10.00", "10.01", "12.01", "8.01"},
        HeaderCase{"SpecialTreatment", "600123", "*ST兰花", "3.00", "3.10", "3.26", "2.95"},
        HeaderCase{"SpecialTreatmentOnChiNext", "300100", "ST双林", "5.00", "5.00", "6.00", "4.00"},
        HeaderCase{"OpenWithoutClose", "000002", "万科A", "10.00", "-", "11.00", "9.00"},
        HeaderCase{"SuspendedWithoutClose", "000002", "万科A", "10.00", "0.00", "11.00", "9.00"},
        HeaderCase{"NoPrices", "000002", "万科A", "-", "", "-", "-"}),
    test::CaseName{});

TEST(LadderHeaderText, ShowsTheHoldingAndTheQuote)
{
    LadderInputs in = inputsOf({});
    in.code = q("000001");
    in.name = q("平安银行");
    in.prevClose = q("9.90");
    in.bestBid = q("10.01");
    in.bestAsk = q("10.02");
    in.current = q("10.03");
    const LadderHeader header = ladderHeader(in);
    EXPECT_EQ(header.first.toStdString(), "平安银行  买入价格:10.00  数量:1000  今开:10.00  "
                                          "昨收:9.90  涨停:10.89  跌停:8.91");
    EXPECT_EQ(header.second.toStdString(),
              "　　　　  时价:10.03  　　 主买:  10.01    主卖:  10.02");
}

TEST(LadderCopy, EachCellEndsInAFullWidthSpaceAndEachRowInARule)
{
    const PriceLadder ladder = buildPriceLadder(inputsOf({}));
    const QStringList lines = ladderCopyText(ladder).split(u'\n');
    ASSERT_EQ(lines.size(), 21 * 2 + 1); // the text ends with a line break
    const QString rule(38, u'=');
    EXPECT_EQ(lines[0].toStdString(),
              "盈利价位　盈利金额　盈利比率　亏损价位　亏损金额　亏损比率　");
    EXPECT_EQ(lines[1], rule);
    EXPECT_EQ(lines[2].toStdString(),
              "10.05 ↑  0.5%　-30.20　-.30%　9.95 ↓  0.5%　-129.80　-1.29%　");
    EXPECT_EQ(lines[41], rule);
    EXPECT_TRUE(lines[42].isEmpty());
}

TEST(LadderCopy, CellsOfAStoppedBuildCopyAsEmpty)
{
    const PriceLadder ladder = buildPriceLadder(inputsOf({.total = "0"}));
    const QStringList lines = ladderCopyText(ladder).split(u'\n');
    EXPECT_EQ(lines[2].toStdString(), "10.05 ↑  0.5%　10004.80　　　　　");
}

} // namespace
