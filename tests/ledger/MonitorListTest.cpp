#include "ledger/MonitorList.h"

#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::ledger;

namespace {

struct Row {
    QString date;
    QString name;
    QString state;
    bool open;
    QString monitored;
};

class MonitorListTest : public testing::Test {
protected:
    void SetUp() override
    {
        ensureSchema(db, {{u"000000"_s, u"无名股票"_s, u"WMGP"_s}});
        db.exec("DELETE FROM gpjl");
        for (const Row& r : {Row{u"2007-04-30"_s, u"甲"_s, u"买入"_s, false, u"否"_s},
                             Row{u"2007-05-01"_s, u"乙"_s, u"买入"_s, false, u"否"_s},
                             Row{u"2007-05-01"_s, u"乙"_s, u"卖出"_s, true, u"否"_s},
                             Row{u"2007-05-31"_s, u"丙\"引'号"_s, u"买入"_s, false, u"否"_s},
                             Row{u"2007-05-31"_s, u"丙\"引'号"_s, u"卖出"_s, true, u"否"_s},
                             Row{u"2007-06-01"_s, u"丁"_s, u"买入"_s, false, u"是"_s},
                             Row{u"2007-06-01"_s, u"丁"_s, u"卖出"_s, true, u"是"_s},
                             Row{u"2007-05-15"_s, u"戊"_s, u"卖出"_s, false, u"否"_s}}) {
            auto insert = db.prepare("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,"
                                     "费用,总金额,虚拟卖出,监控状态) "
                                     "VALUES (?1,'600000',?2,?3,100,10,5,1005,?4,?5)");
            insert.bind(1, r.date).bind(2, r.name).bind(3, r.state);
            insert.bind(4, r.open ? u"真"_s : u"假"_s).bind(5, r.monitored);
            insert.run();
        }
    }

    // The monitored names, each once, in name order.
    QStringList monitored()
    {
        auto query =
            db.prepare("SELECT DISTINCT 股票名 FROM gpjl WHERE 监控状态='是' ORDER BY 股票名");
        QStringList names;
        while (query.step())
            names << query.text(0);
        return names;
    }

    // Whether every row of each name agrees on its mark.
    bool marksAgree()
    {
        return db.scalarInt("SELECT count(*) FROM (SELECT 股票名 FROM gpjl GROUP BY 股票名 "
                            "HAVING count(DISTINCT 监控状态)>1)") == 0;
    }

    sql::Database db = sql::Database::openInMemory();
    LedgerNotifier notifier;
    MonitorList list{db, notifier};
};

TEST_F(MonitorListTest, CommandsMarkWholeStocksAndAnnounceOnce)
{
    struct Case {
        const char* what;
        std::function<void(MonitorList&)> command;
        QStringList after;
        bool barLines; // the floating bar's lines are built again
    };
    const QString quoted = u"丙\"引'号"_s;
    const std::vector<Case> cases{
        {"add a name with quotes", [&](MonitorList& l) { l.add(quoted); }, {quoted, u"丁"_s}, true},
        {"add one already on the list", [](MonitorList& l) { l.add(u"丁"_s); }, {u"丁"_s}, true},
        {"remove", [](MonitorList& l) { l.remove(u"丁"_s); }, {}, true},
        {"remove one not on it", [](MonitorList& l) { l.remove(u"甲"_s); }, {u"丁"_s}, true},
        {"add all",
         [](MonitorList& l) { l.addAll(); },
         {u"丁"_s, u"丙\"引'号"_s, u"乙"_s, u"戊"_s, u"甲"_s},
         true},
        {"remove all", [](MonitorList& l) { l.removeAll(); }, {}, true},
        {"unsold ones", [](MonitorList& l) { l.addUnsold(); }, {u"丁"_s, quoted, u"乙"_s}, false},
        {"bought in May 2007",
         [](MonitorList& l) { l.addBoughtBetween(QDate(2007, 5, 1), QDate(2007, 5, 31)); },
         {u"丁"_s, quoted, u"乙"_s},
         false},
        {"start after end",
         [](MonitorList& l) { l.addBoughtBetween(QDate(2007, 6, 1), QDate(2007, 5, 1)); },
         {u"丁"_s},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        QSignalSpy changed(&notifier, &LedgerNotifier::changed);
        c.command(list);
        QStringList expected = c.after;
        expected.sort();
        EXPECT_EQ(monitored(), expected);
        EXPECT_TRUE(marksAgree());
        ASSERT_EQ(changed.size(), 1);
        LedgerChanges announced = LedgerChange::MonitorList;
        if (c.barLines)
            announced |= LedgerChange::TickerLines;
        EXPECT_EQ(changed.first().first().value<LedgerChanges>(), announced);
    }
}

TEST_F(MonitorListTest, ListingSumsTheMonitoredBuys)
{
    list.add(u"乙"_s);
    const QList<MonitoredStock> stocks = list.listing();
    ASSERT_EQ(stocks.size(), 2);
    EXPECT_EQ(stocks[0].name, u"丁"_s);
    EXPECT_EQ(stocks[1].name, u"乙"_s);
    EXPECT_EQ(stocks[1].boughtQty, 100);
    EXPECT_EQ(stocks[1].buyTotal.value_or(0), 1005);
    EXPECT_FALSE(list.isEmpty());
    list.removeAll();
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(MonitorListTest, AFailedChangeAnnouncesNothingAndLeavesTheMarks)
{
    db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON gpjl WHEN new.股票名='乙' "
            "BEGIN SELECT RAISE(ABORT,'refused'); END");
    QSignalSpy changed(&notifier, &LedgerNotifier::changed);
    EXPECT_THROW(list.addAll(), sql::Error);
    EXPECT_THROW(list.addUnsold(), sql::Error);
    EXPECT_EQ(monitored(), QStringList{u"丁"_s});
    EXPECT_TRUE(changed.isEmpty());
}

} // namespace
