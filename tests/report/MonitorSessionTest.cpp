#include "report/MonitorSession.h"

#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"
#include "market/QuotePageSource.h"
#include "quote-server/QuoteServer.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::report;
using corvanta::tools::Answer;
using corvanta::tools::QuoteServer;
using corvanta::tools::QuoteServerOptions;

namespace {

constexpr int waitMs = 15000;

// Five monitored stocks, one more that is not monitored, and the fixed head code.
const QList<tools::ListedStock> listed{{u"000709"_s, u"河钢股份"_s}, {u"600000"_s, u"甲沪"_s},
                                       {u"000001"_s, u"乙深"_s},     {u"300001"_s, u"丙创"_s},
                                       {u"600519"_s, u"丁茅"_s},     {u"600999"_s, u"戊缺"_s},
                                       {u"000002"_s, u"己未"_s}};

QString target(const QString& code)
{
    return u"/htmdata/html/"_s + code + u".htm"_s;
}

} // namespace

class MonitorSessionTest : public QObject {
    Q_OBJECT

    sql::Database m_db = sql::Database::openInMemory();
    std::unique_ptr<QuoteServer> m_server;
    std::unique_ptr<MonitorSession> m_session;
    MonitorContext m_context;

    void addTrade(const QString& code, const QString& name, qint64 quantity, bool monitored)
    {
        auto insert = m_db.prepare(
            "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
            "虚拟卖出,监控状态) VALUES ('2026-12-01',?1,?2,?3,?4,10,5,?5,0,?6,?7)");
        for (const bool open : {false, true}) {
            insert.reset();
            insert.bind(1, code).bind(2, name).bind(3, open ? u"卖出"_s : u"买入"_s);
            insert.bind(4, quantity).bind(5, open ? 0.0 : quantity * 10.0 + 5);
            insert.bind(6, open ? u"真"_s : u"假"_s).bind(7, monitored ? u"是"_s : u"否"_s);
            insert.run();
        }
    }

    QStringList targets() const
    {
        QStringList out;
        for (const auto& request : m_server->requests())
            out << QString::fromLatin1(request.target);
        return out;
    }

    bool waitFor(const char* what, QSignalSpy& spy)
    {
        if (spy.isEmpty() && !spy.wait(waitMs))
            qWarning("%s did not end", what);
        return !spy.isEmpty();
    }

    // Runs the initial pass to its end; true when it completed.
    bool pass()
    {
        QSignalSpy finished(m_session.get(), &MonitorSession::passFinished);
        if (!m_session->startMonitoring() || !waitFor("the pass", finished))
            return false;
        return finished.first().first().toBool();
    }

    bool cycle()
    {
        QSignalSpy finished(m_session.get(), &MonitorSession::cycleFinished);
        m_session->tick();
        if (!waitFor("the cycle", finished))
            return false;
        return finished.first().first().toBool();
    }

    void useAnswers(QHash<QString, Answer> byCode)
    {
        QuoteServerOptions options;
        options.byCode = std::move(byCode);
        m_server->setOptions(options);
    }

private slots:
    void init()
    {
        m_db = sql::Database::openInMemory();
        QList<ledger::SeedStock> seeds{{u"000000"_s, u"无名股票"_s, u"WMGP"_s}};
        for (const auto& stock : listed)
            if (stock.name != u"戊缺"_s) // renamed: priced under its ledger code
                seeds.append({stock.code, stock.name, u"X"_s});
        ledger::ensureSchema(m_db, seeds);
        m_db.exec("DELETE FROM gpjl");
        addTrade(u"600000"_s, u"甲沪"_s, 1000, true);
        addTrade(u"000001"_s, u"乙深"_s, 500, true);
        addTrade(u"300001"_s, u"丙创"_s, 200, true);
        addTrade(u"600519"_s, u"丁茅"_s, 100, true);
        addTrade(u"600999"_s, u"戊缺"_s, 300, true);
        addTrade(u"000002"_s, u"己未"_s, 100, false);

        m_server = std::make_unique<QuoteServer>(listed, QuoteServerOptions{});
        QVERIFY(m_server->listen());
        market::FetchOptions options = market::monitorQuoteOptions({});
        options.transferTimeout = std::chrono::milliseconds(400);
        m_session = std::make_unique<MonitorSession>(
            m_db, std::make_shared<market::QuotePageSource>(m_server->address()), options);
        m_session->setPause(std::chrono::milliseconds(5));
        m_context = {};
        m_context.fees.stampRate = u"1"_s;
        m_context.fees.commissionRate = u"3"_s;
        m_context.fees.otherFee = u"5"_s;
        m_context.fees.direction = Direction::Sell;
        m_session->setContextProvider([this] { return m_context; });
    }
    void cleanup()
    {
        m_session.reset();
        m_server.reset();
    }

    // Without a head stock the fixed code comes first, then the monitored
    // codes by name; the grid, the scratch tables and the switch follow.
    void passOverFiveStocks()
    {
        QSignalSpy priced(m_session.get(), &MonitorSession::headPriced);
        QSignalSpy arrived(m_session.get(), &MonitorSession::quotesArrived);
        QVERIFY(pass());
        // Every fetched line is announced as it comes (the journal's targets watch them).
        QStringList announced;
        for (const QList<QVariant>& request : arrived)
            announced += request.first().toStringList();
        QCOMPARE(announced, m_session->monitorQuoteLines());
        QCOMPARE(targets(),
                 (QStringList{target(u"000709"_s), target(u"600519"_s), target(u"300001"_s),
                              target(u"000001"_s), target(u"600999"_s), target(u"600000"_s)}));
        QCOMPARE(m_session->monitorQuoteLines().size(), 6);
        QVERIFY(m_session->monitorQuoteLines().first().startsWith(u"000709,"_s));
        const MonitorGrid& grid = m_session->grid();
        QCOMPARE(grid.rows.size(), 5);
        for (const MonitorCells& row : grid.rows)
            QVERIFY2(row[MonitorPrice].toDouble() > 0, qPrintable(row[MonitorName]));
        QCOMPARE(grid.totals[MonitorName], u"合　　计"_s);
        QCOMPARE(m_db.scalarInt("SELECT count(*) FROM tmpdb3 WHERE 时价>0"), 5);
        QCOMPARE(m_session->frameCaption(), u"多股实时行情"_s);
        QVERIFY(m_session->isLoadIdle());
        QVERIFY(m_session->listNonEmpty());
        QVERIFY(m_session->isSwitchEnabled());
        QVERIFY(m_session->isTimerActive());
        QCOMPARE(m_session->timerInterval(), 60000);
        QCOMPARE(m_session->latestQuoteTime(), u"not"_s);
        QVERIFY(m_session->timeLabel().startsWith(u"获取价格时间:"_s));
        QCOMPARE(priced.size(), 1);
    }

    // A second start while the pass runs is refused and fetches nothing more.
    void secondStartIsRefused()
    {
        QSignalSpy finished(m_session.get(), &MonitorSession::passFinished);
        QVERIFY(m_session->startMonitoring());
        QVERIFY(!m_session->startMonitoring());
        QVERIFY(waitFor("the pass", finished));
        QTest::qWait(100);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(m_server->requests().size(), 6);
        QCOMPARE(m_session->monitorQuoteLines().size(), 6);
    }

    // A cycle fetches every line of the pass again, skips the head already
    // there, re-prices the grid and moves the frame's progress mark.
    void cycleRefreshesTheGrid()
    {
        m_context.codeInput = u"600000"_s;
        m_context.caption = u"甲沪"_s;
        m_context.currentCode = u"600000"_s;
        QVERIFY(pass());
        QCOMPARE(m_server->requests().size(), 5); // the head is a monitored stock
        const MonitorGrid before = m_session->grid();
        QSignalSpy quoted(m_session.get(), &MonitorSession::headQuoted);
        QVERIFY(cycle());
        QCOMPARE(m_server->requests().size(), 10);
        QCOMPARE(m_session->cycleQuoteLines().size(), 5);
        QCOMPARE(m_session->frameCaption(), u"多股实时行情>"_s);
        QCOMPARE(quoted.size(), 1);
        QCOMPARE(m_session->grid().rows.size(), 5);
        QCOMPARE(m_session->grid().rows[0][MonitorOutlay], before.rows[0][MonitorOutlay]);
        QVERIFY(m_session->isCycleIdle());
        QCOMPARE(m_session->ticker().lines().size(), 1); // the head line
        QVERIFY(m_session->ticker().lines().first().contains(u"甲沪"_s));
    }

    // Failures: the head, a listed stock, the empty-list head.
    void failures_data()
    {
        QTest::addColumn<bool>("emptyList");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("progress"); // shown in the progress label, else the frame
        QTest::newRow("head fetch, error status")
            << false << u"000002"_s << int(Answer::Error) << true;
        QTest::newRow("listed stock, one line")
            << false << u"300001"_s << int(Answer::OneLine) << false;
        QTest::newRow("empty list, head dropped")
            << true << u"000002"_s << int(Answer::Drop) << true;
    }
    void failures()
    {
        QFETCH(bool, emptyList);
        QFETCH(QString, failing);
        QFETCH(int, answer);
        QFETCH(bool, progress);
        if (emptyList)
            m_db.exec("UPDATE gpjl SET 监控状态='否'");
        QSignalSpy passes(m_session.get(), &MonitorSession::passFinished);
        QVERIFY(m_session->startMonitoring());
        if (!emptyList)
            QVERIFY(waitFor("the pass", passes));
        // A head stock chosen after the pass is fetched first in each cycle.
        m_context.codeInput = u"000002"_s;
        m_context.caption = u"己未"_s;
        m_context.currentCode = u"000002"_s;
        QCOMPARE(m_session->listNonEmpty(), !emptyList);
        const MonitorGrid before = m_session->grid();
        const QString frame = m_session->frameCaption();

        useAnswers({{failing, Answer(answer)}});
        QSignalSpy progressFailed(m_session.get(), &MonitorSession::progressFailed);
        QVERIFY(!cycle());
        QCOMPARE(progressFailed.size(), progress ? 1 : 0);
        QCOMPARE(m_session->frameCaption(),
                 progress ? (emptyList ? frame : frame + u">"_s) : u"网络连接超时!"_s);
        QCOMPARE(m_session->grid().rows, before.rows);
        QCOMPARE(m_session->ticker().display().totalText, u"网络连接超时!"_s);
        QVERIFY(m_session->ticker().display().reconnectEnabled);
        QVERIFY(m_session->isCycleIdle());
        QVERIFY(m_session->isTimerActive());
    }

    // A failed pass leaves loading: no cycle until monitoring starts again.
    void failedPassStopsTheCycles()
    {
        useAnswers({{u"600519"_s, Answer::Error}});
        QVERIFY(!pass());
        QCOMPARE(m_session->frameCaption(), u"网络连接超时!"_s);
        QVERIFY(!m_session->isLoadIdle());
        const qsizetype requests = m_server->requests().size();
        m_session->tick();
        QTest::qWait(100);
        QCOMPARE(m_server->requests().size(), requests);
        useAnswers({});
        QVERIFY(pass());
        QVERIFY(m_session->isLoadIdle());
    }

    // A server that never answers times the cycle out; the next one runs.
    void hangingServerTimesOut()
    {
        QVERIFY(pass());
        useAnswers({{u"000001"_s, Answer::Hang}});
        QVERIFY(!cycle());
        QCOMPARE(m_session->frameCaption(), u"网络连接超时!"_s);
        useAnswers({});
        QVERIFY(cycle());
        QCOMPARE(m_session->frameCaption(), u"多股实时行情"_s);
    }

    // The quoted summary refills the monitor's lines: the next cycle fetches
    // the stocks listed there, the fixed head first when it is not among them.
    void summaryQuotesFeedTheCycle()
    {
        QVERIFY(pass());
        const QStringList summaryLines{u"000002,2026-12-10,10:00:00,9.00"_s,
                                       u"600000,2026-12-10,10:00:00,11.00"_s};
        m_session->adoptSummaryQuotes(summaryLines);
        const qsizetype before = m_server->requests().size();
        QVERIFY(cycle());
        QCOMPARE(targets().mid(before),
                 (QStringList{target(u"000709"_s), target(u"000002"_s), target(u"600000"_s)}));
    }

    // With no monitored row the pass fetches nothing and leaves the grid; the
    // cycles then refresh the head stock only.
    void emptyListRefreshesTheHeadOnly()
    {
        QVERIFY(pass());
        m_db.exec("UPDATE gpjl SET 监控状态='否'");
        const qsizetype before = m_server->requests().size();
        QSignalSpy gridChanged(m_session.get(), &MonitorSession::gridChanged);
        QVERIFY(m_session->startMonitoring());
        QVERIFY(m_session->isLoadIdle());
        QVERIFY(!m_session->listNonEmpty());
        QCOMPARE(m_server->requests().size(), before);
        QCOMPARE(m_session->grid().rows.size(), 5);
        QVERIFY(!m_session->grid().coloured);

        m_context.codeInput = u"000002"_s;
        m_context.caption = u"己未"_s;
        m_context.currentCode = u"000002"_s;
        QSignalSpy quoted(m_session.get(), &MonitorSession::headQuoted);
        QVERIFY(cycle());
        QCOMPARE(targets().mid(before), QStringList{target(u"000002"_s)});
        QCOMPARE(quoted.size(), 1);
        QCOMPARE(quoted.first().first().value<market::MonitorQuoteDisplay>().snapshot.code,
                 u"000002"_s);
    }

    // The switch: the timer and the interval follow it; a tick while the
    // network is down starts nothing.
    void switchAndInterval()
    {
        m_session->setMonitoring(false);
        QVERIFY(!m_session->isTimerActive());
        QVERIFY(m_session->ticker().display().reconnectEnabled);
        QCOMPARE(MonitorSession::switchCaption(false), u" 实时行情监控未运行"_s);
        m_context.networkOk = false;
        m_session->setMonitoring(false);
        QVERIFY(m_session->isTimerActive());
        m_session->tick();
        QTest::qWait(50);
        QVERIFY(m_server->requests().isEmpty());
        for (const auto& [position, ms, text] :
             {std::tuple{29, 30000, u"30 秒"_s}, std::tuple{599, 600000, u"600 秒"_s}}) {
            m_session->setIntervalPosition(position);
            QCOMPARE(m_session->timerInterval(), ms);
            QCOMPARE(m_session->intervalText(), text);
        }
    }
};

QTEST_GUILESS_MAIN(MonitorSessionTest)
#include "MonitorSessionTest.moc"
