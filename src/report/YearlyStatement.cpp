#include "YearlyStatement.h"

#include "EventEffects.h"

#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

// Stored in storage order and put in date order here (sorting in SQL would spill
// the whole ledger to a temporary file).
constexpr const char* tradeRows =
    "SELECT 日期,股票名,交易状态='卖出',ifnull(数量,0),ifnull(总金额,0),ifnull(费用,0),"
    "ifnull(印花税,0),ifnull(佣金,0),ifnull(过户费等,0),ifnull(其它费用,0),id FROM gpjl NOT "
    "INDEXED "
    "WHERE 虚拟卖出='假' AND 交易状态 IN ('买入','卖出') ORDER BY id";

struct Row {
    QString date;
    int stock = 0;      // index of the name
    bool event = false; // a 分红送配 on its ex-date, not a trade
    bool sell = false;
    qint64 dividend = 0, taxAtPayment = 0; // of an event
    qint64 tax = 0;                        // of a sell: its 红利税
    qint64 shares = 0;
    qint64 total = 0;
    qint64 fees = 0, stamp = 0, commission = 0, transferAndOther = 0, other = 0;
};

qint64 fen(double yuan)
{
    return std::llround(yuan * 100);
}

struct Holding {
    qint64 shares = 0;
    qint64 cost = 0; // fen
};

// The part of `cost` that `sold` of `held` shares carry, to the nearest fen.
qint64 costShare(qint64 cost, qint64 sold, qint64 held)
{
    if (sold >= held || held <= 0)
        return cost;
    return std::llround(double(cost) * double(sold) / double(held));
}

} // namespace

YearlyStatement yearlyStatement(sql::Database& db)
{
    const EventEffects effects = eventEffects(db);
    auto query = db.prepare(tradeRows);
    std::vector<Row> rows;
    QHash<QString, int> stocks;
    while (query.step()) {
        Row row;
        row.date = query.text(0);
        const QString name = query.text(1);
        auto known = stocks.constFind(name);
        if (known == stocks.cend())
            known = stocks.insert(name, int(stocks.size()));
        row.stock = known.value();
        row.sell = query.int64(2) != 0;
        row.shares = query.int64(3);
        row.total = fen(query.real(4));
        row.fees = fen(query.real(5));
        row.stamp = fen(query.real(6));
        row.commission = fen(query.real(7));
        row.transferAndOther = fen(query.real(8));
        row.other = fen(query.real(9));
        row.tax = effects.saleTaxFen.value(query.int64(10));
        rows.push_back(std::move(row));
    }
    for (const EventEffect& effect : effects.effects) {
        auto known = stocks.constFind(effect.name);
        if (known == stocks.cend())
            known = stocks.insert(effect.name, int(stocks.size()));
        Row row;
        row.date = effect.paid.toString(Qt::ISODate);
        row.stock = known.value();
        row.event = true;
        row.shares = effect.newShares;
        row.dividend = effect.cashFen;
        row.taxAtPayment = effect.taxAtPaymentFen;
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(), inWalkOrder<Row>);

    YearlyStatement statement;
    std::vector<Holding> holdings(stocks.size());
    qint64 heldAtCost = 0;
    YearFigures* current = nullptr;
    for (const Row& row : rows) {
        const int year = QStringView(row.date).left(4).toInt();
        if (!current || current->year != year) {
            if (current)
                current->heldAtCost = heldAtCost;
            statement.years.append(YearFigures{});
            current = &statement.years.last();
            current->year = year;
        }
        Holding& holding = holdings[std::size_t(row.stock)];
        if (row.event) {
            // New shares join the holding at no cost: its cost per share falls.
            holding.shares += row.shares;
            current->dividends += row.dividend;
            current->dividendTax += row.taxAtPayment;
            continue;
        }
        current->dividendTax += row.tax;
        if (row.sell) {
            const qint64 cost = costShare(holding.cost, row.shares, holding.shares);
            current->sellProceeds += row.total;
            current->realisedProfit += row.total - cost;
            holding.cost -= cost;
            heldAtCost -= cost;
            holding.shares = std::max<qint64>(0, holding.shares - row.shares);
        } else {
            current->paidForBuys += row.total;
            holding.cost += row.total;
            heldAtCost += row.total;
            holding.shares += row.shares;
        }
        current->stampDuty += row.stamp;
        current->commission += row.commission;
        // A trade priced here keeps its other fee inside 过户费等; an imported line
        // notes the other-fee setting in 其它费用 without charging it, and its
        // 过户费等 is the statement's transfer fee alone.
        const qint64 otherInTransfer = row.other <= row.transferAndOther ? row.other : 0;
        current->transferFee += row.transferAndOther - otherInTransfer;
        current->otherFees +=
            row.fees - row.stamp - row.commission - row.transferAndOther + otherInTransfer;
        ++current->trades;
    }
    if (current)
        current->heldAtCost = heldAtCost;

    for (const YearFigures& y : statement.years) {
        YearFigures& t = statement.total;
        t.paidForBuys += y.paidForBuys;
        t.sellProceeds += y.sellProceeds;
        t.realisedProfit += y.realisedProfit;
        t.commission += y.commission;
        t.stampDuty += y.stampDuty;
        t.transferFee += y.transferFee;
        t.otherFees += y.otherFees;
        t.trades += y.trades;
        t.dividends += y.dividends;
        t.dividendTax += y.dividendTax;
        t.heldAtCost = y.heldAtCost;
    }
    return statement;
}

QString yuanText(qint64 fen)
{
    const qint64 magnitude = fen < 0 ? -fen : fen;
    return (fen < 0 ? u"-"_s : QString()) + QString::number(magnitude / 100) + u"."_s +
           QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QStringList yearlyStatementTitles()
{
    return {u"年度"_s,     u"买入支付"_s, u"卖出收入"_s,    u"已实现盈亏"_s, u"分红派息"_s,
            u"红利税"_s,   u"佣金"_s,     u"印花税"_s,      u"过户费"_s,     u"其他费用"_s,
            u"费用合计"_s, u"交易笔数"_s, u"年末持仓成本"_s};
}

QList<QStringList> yearlyStatementRows(const YearlyStatement& statement)
{
    auto row = [](const YearFigures& y, const QString& label) {
        return QStringList{label,
                           yuanText(y.paidForBuys),
                           yuanText(y.sellProceeds),
                           yuanText(y.realisedProfit),
                           yuanText(y.dividends),
                           yuanText(y.dividendTax),
                           yuanText(y.commission),
                           yuanText(y.stampDuty),
                           yuanText(y.transferFee),
                           yuanText(y.otherFees),
                           yuanText(y.fees()),
                           QString::number(y.trades),
                           yuanText(y.heldAtCost)};
    };
    QList<QStringList> rows;
    for (const YearFigures& y : statement.years)
        rows.append(row(y, QString::number(y.year)));
    rows.append(row(statement.total, u"合计"_s));
    return rows;
}

} // namespace corvanta::report
