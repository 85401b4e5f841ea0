#include "ledger/SeedList.h"
#include "StorePrinting.h"
#include "exchange/PinyinCode.h"

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {
namespace {

struct EntryCase {
    QString line;
    std::optional<SeedStock> stock;
};

void PrintTo(const EntryCase& c, std::ostream* os)
{
    *os << c.line.toStdString();
}

class SeedEntry : public testing::TestWithParam<EntryCase> {};

TEST_P(SeedEntry, ParsesOnlyTheBracketedForm)
{
    const std::optional<SeedStock> parsed = parseSeedEntry(GetParam().line);
    const std::optional<SeedStock>& expected = GetParam().stock;
    ASSERT_EQ(parsed.has_value(), expected.has_value());
    if (expected) {
        EXPECT_EQ(parsed->code, expected->code);
        EXPECT_EQ(parsed->name, expected->name);
        EXPECT_EQ(parsed->pinyin, expected->pinyin);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SeedEntry,
    testing::Values(EntryCase{u"[000000[,[无名股票[,[WMGP["_s,
                              SeedStock{u"000000"_s, u"无名股票"_s, u"WMGP"_s}},
                    // Inner blanks of a name are kept as they are.
                    EntryCase{u"[000002[,[万  科Ａ[,[WK*["_s,
                              SeedStock{u"000002"_s, u"万  科Ａ"_s, u"WK*"_s}},
                    EntryCase{u"[1234[,[名[,[["_s, SeedStock{u"1234"_s, u"名"_s, QString()}},
                    EntryCase{QString(), std::nullopt}, EntryCase{u"["_s, std::nullopt},
                    EntryCase{u"[["_s, std::nullopt},
                    EntryCase{u"000001[,[平安银行[,[PAYX["_s, std::nullopt},
                    EntryCase{u"[000001[,[平安银行[,[PAYX"_s, std::nullopt},
                    EntryCase{u"[000001[,[平安银行["_s, std::nullopt},
                    EntryCase{u"[000001[,[平安[,[银行[,[PAYX["_s, std::nullopt},
                    EntryCase{u"[[,[平安银行[,[PAYX["_s, std::nullopt},
                    EntryCase{u"[000001[,[[,[PAYX["_s, std::nullopt},
                    EntryCase{u"[000001[,[平安[银行[,[PAYX["_s, std::nullopt}));

// The list as built into the library, line by line.
QStringList shippedLines()
{
    QFile file(u":/data/seed-stocks.txt"_s);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast(); // the final line break
    return lines;
}

TEST(ShippedSeedList, EveryLineIsAnEntryWithAUniqueCode)
{
    const QStringList lines = shippedLines();
    ASSERT_FALSE(lines.isEmpty()) << "the resource is missing or empty";
    QSet<QString> codes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<SeedStock> stock = parseSeedEntry(lines.at(i));
        ASSERT_TRUE(stock) << "line " << i + 1 << ": " << lines.at(i).toStdString();
        EXPECT_FALSE(codes.contains(stock->code)) << "code repeated: " << stock->code.toStdString();
        codes.insert(stock->code);
        // The list must match what the program computes for names typed later.
        EXPECT_EQ(stock->pinyin, pinyinCode(stock->name).left(8))
            << "line " << i + 1 << ": " << lines.at(i).toStdString();
    }
}

TEST(ShippedSeedList, LoadsWholeWithThePlaceholderFirst)
{
    const QList<SeedStock> stocks = loadSeedList();
    ASSERT_EQ(stocks.size(), shippedLines().size());
    EXPECT_EQ(stocks.first().code, u"000000"_s);
    EXPECT_EQ(stocks.first().name, u"无名股票"_s);
    EXPECT_EQ(stocks.first().pinyin, u"WMGP"_s);

    // 000709 (the sample trade's stock) carries its most recent name.
    const auto sample = std::find_if(stocks.begin(), stocks.end(),
                                     [](const SeedStock& s) { return s.code == u"000709"_s; });
    ASSERT_NE(sample, stocks.end());
    EXPECT_EQ(sample->name, u"河钢股份"_s);
}

} // namespace
} // namespace corvanta::ledger
