// Each layout imports to the same ledger as the same trades written by hand.
#include "GenericLayouts.h"
#include "../ledger/LedgerTestSupport.h"
#include "XlsReaders.h"
#include "calc/Numbers.h"
#include "exchange/GenericStatement.h"
#include "exchange/PinyinCode.h"
#include "ledger/StatementImport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {
namespace {

using generic::handTrades;
using generic::Layout;

FeeRates layoutRates()
{
    FeeRates rates;
    rates.buyStampRate = 0;
    rates.buyCommissionRate = 0.3;
    rates.sellStampRate = 0.5;
    rates.sellCommissionRate = 0.3;
    return rates;
}

ledger::StatementTrade byHand(const generic::HandTrade& hand)
{
    ledger::StatementTrade trade;
    trade.date = QString::fromUtf16(hand.date);
    trade.code = QString::fromUtf16(hand.code);
    trade.name = QString::fromUtf16(hand.name);
    trade.buy = hand.buy;
    trade.operation = hand.buy ? u"买入"_s : u"卖出"_s;
    trade.shares = hand.shares;
    trade.price = hand.price;
    trade.commission = hand.commission;
    trade.stampDuty = hand.stampDuty;
    trade.transferFee = hand.transferFee;
    trade.fees =
        num::parseNumber(num::general(hand.commission + hand.stampDuty + hand.transferFee + 0))
            .value();
    const double total = hand.buy ? hand.amount + trade.fees : hand.amount - trade.fees;
    trade.total = num::parseNumber(num::general(total)).value();
    trade.addsStock = true;
    trade.pinyin = pinyinCode(trade.name).left(8);
    return trade;
}

QByteArray bytesOf(const Layout& layout)
{
    if (layout.workbook.isEmpty())
        return layout.bytes;
    QFile file(QStringLiteral(STATEMENT_WORKBOOKS) + u'/' + layout.workbook);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    return file.readAll();
}

QStringList stocksOf(sql::Database& db)
{
    auto query = db.prepare("SELECT gpid,gpmc,gppy FROM gpmc ORDER BY id");
    QStringList rows;
    while (query.step())
        rows << query.text(0) + u'|' + query.text(1) + u'|' + query.text(2);
    return rows;
}

class GenericLayoutsTest : public ledger::testing::LedgerTest,
                           public ::testing::WithParamInterface<Layout> {};

TEST_P(GenericLayoutsTest, ImportsAsTheSameTradesByHand)
{
    const Layout& layout = GetParam();
    const GenericStatement statement = readGenericStatement(bytesOf(layout), layoutRates());
    EXPECT_EQ(statement.table.error, QString());
    EXPECT_EQ(statement.table.kind, layout.kind);
    EXPECT_EQ(statement.table.encoding, layout.encoding);
    if (!layout.separator.isNull()) {
        EXPECT_EQ(statement.table.separator, layout.separator);
    }
    EXPECT_EQ(statement.parsed.headerLine, layout.headerLine);
    EXPECT_EQ(statement.parsed.refused.size(), 0)
        << statement.parsed.refused.value(0).reason.toStdString();
    EXPECT_EQ(statement.parsed.skipped.size(), layout.skipped);
    EXPECT_TRUE(statement.warnings.isEmpty()) << statement.warnings.value(0).reason.toStdString();

    QList<ledger::StatementTrade> hand;
    for (int index : layout.trades)
        hand.append(byHand(handTrades().at(index)));
    ASSERT_EQ(statement.parsed.trades.size(), hand.size());

    const auto imported = ledger::applyStatement(db, statement.parsed.trades, {});
    ASSERT_TRUE(imported.committed) << imported.error.toStdString();
    sql::Database typed = sql::Database::openInMemory();
    ledger::ensureSchema(typed, ledger::testing::tinySeedList());
    ASSERT_TRUE(ledger::applyStatement(typed, hand, {}).committed);

    const QStringList got = ledger::testing::dumpLedger(db);
    const QStringList want = ledger::testing::dumpLedger(typed);
    ASSERT_EQ(got.size(), want.size());
    for (qsizetype row = 0; row < got.size(); ++row)
        EXPECT_EQ(got.at(row), want.at(row)) << "ledger row " << row;
    EXPECT_EQ(stocksOf(db), stocksOf(typed));
    EXPECT_TRUE(ledger::testing::invariantHolds(db));
}

INSTANTIATE_TEST_SUITE_P(Layouts, GenericLayoutsTest, ::testing::ValuesIn(generic::layouts()),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace corvanta::exchange
