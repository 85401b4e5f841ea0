#include "CommandLine.h"
#include "ReportCommands.h"
#include "ledger/FeeRuleSetting.h"
#include "ledger/Settings.h"
#include "ledger/sql/Database.h"
#include "report/Repricing.h"
#include "report/YearlyStatement.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

QString partsText(const report::TradeFeeParts& parts)
{
    return u"印花税 "_s + report::yuanText(parts.stampDuty) + u"，佣金 "_s +
           report::yuanText(parts.commission) + u"，过户费 "_s +
           report::yuanText(parts.transferFee);
}

} // namespace

int runRepriceCommand(sql::Database& db, const QStringList& flags, QTextStream& out,
                      QTextStream& err)
{
    if (!flags.contains(u"--dry-run"_s) || flags.size() != 1) {
        err << u"reprice: 只能加 --dry-run 运行：它只列出费用与所选规则不同的交易，"
               "已记录的交易不会被改动。"_s
            << '\n';
        return CommandMisused;
    }
    try {
        const ledger::FeeRuleSetting rule = ledger::loadFeeRuleSetting(db);
        const FeeRates rates = ledger::loadSettings(db).rates;
        const QList<report::RepricedTrade> trades = report::repricedTrades(db, rule, rates);
        out << u"费用规则："_s << feeRuleChoiceText(rule.choice);
        if (rule.choice == FeeRuleChoice::ByTradeDate)
            out << u"，最低佣金 "_s << report::yuanText(qint64(rule.commissionMinimum * 100))
                << u" 元"_s;
        out << '\n';
        for (const report::RepricedTrade& t : trades) {
            out << u"#"_s << t.id << ' ' << t.date << ' ' << t.code << ' ' << t.name << ' '
                << (t.direction == Direction::Sell ? u"卖出"_s : u"买入"_s) << ' ' << t.shares
                << u"股 @ "_s << QString::number(t.price, 'g', 15) << u"：记录 "_s
                << partsText(t.stored) << u"；按规则 "_s << partsText(t.chosen) << '\n';
        }
        out << u"共 "_s << trades.size() << u" 笔交易的费用与所选规则不同。账本没有任何改动。"_s
            << '\n';
    } catch (const sql::Error& error) {
        err << u"无法读取账本（"_s << error.message() << u"）。"_s << '\n';
        return CommandFailed;
    }
    return CommandDone;
}

} // namespace corvanta::app
