#include "monitor/MonitorSession.h"

#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"
#include "market/NetworkState.h"
#include "market/QuoteService.h"
#include "market/QuoteSourceChoice.h"
#include "quote-server/QuoteServer.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::monitor;
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

// What happens to the session in one row of the transition table.
enum class Event {
    Start,            // "实时监控(&D)": startMonitoring
    SwitchOn,         // the switch checked
    SwitchOff,        // the switch unchecked
    SwitchOffOffline, // the switch unchecked while the network is down
    Hide,             // the monitor window hides (not for the floating bar)
    ShowOffline,      // the monitor window shows while the network is down
    Tick,             // the monitor timer
    TickOffline,      // the monitor timer while the network is down
    RunEnds,          // the pass or cycle in flight ends, every answer good
    RunFails,         // the pass or cycle in flight ends, every answer an error
};

} // namespace

Q_DECLARE_METATYPE(MonitorSession::State)
Q_DECLARE_METATYPE(Event)

namespace {
} // namespace

class MonitorSessionTest : public QObject {
    Q_OBJECT

    sql::Database m_db = sql::Database::openInMemory();
    std::unique_ptr<QuoteServer> m_server;
    ledger::LedgerNotifier m_notifier;
    market::NetworkState m_network;
    std::unique_ptr<market::QuoteSourceChoice> m_sources;
    std::unique_ptr<market::QuoteService> m_quotes;
    std::unique_ptr<MonitorSession> m_session;
    FeeSnapshot m_fees;

    // The head stock as the monitor window pushes it in.
    void setHead(const QString& code, const QString& name)
    {
        m_session->setHeadCode(code);
        m_session->setHeadName(name);
        m_session->setCurrentCode(code);
    }

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

    // Drives a session with the switch on (or off) to a state, the server
    // answering after a delay so that a pass or cycle stays in flight.
    bool reach(MonitorSession::State state, bool wish)
    {
        using S = MonitorSession::State;
        QuoteServerOptions slow;
        slow.delay = std::chrono::milliseconds(150);
        m_server->setOptions(slow);
        setHead(u"000002"_s, u"己未"_s);
        switch (state) {
        case S::Off:
            m_session->setMonitoring(false);
            break;
        case S::WaitingForNetwork:
            m_session->setNetworkOk(false);
            m_session->waitForNetwork();
            m_session->setNetworkOk(true);
            break;
        case S::Loading:
            m_session->startMonitoring();
            break;
        case S::LoadFailed:
            useAnswers({{u"600519"_s, Answer::Error}});
            if (pass())
                return false;
            break;
        case S::Waiting:
            if (!pass())
                return false;
            break;
        case S::Cycling:
            if (!pass())
                return false;
            m_server->setOptions(slow);
            m_session->tick();
            break;
        }
        if (!wish && m_session->isMonitoring())
            m_session->setMonitoring(false);
        return m_session->state() == state && m_session->isMonitoring() == wish;
    }

    void apply(Event event)
    {
        switch (event) {
        case Event::Start:
            m_session->startMonitoring();
            break;
        case Event::SwitchOn:
        case Event::SwitchOff:
            m_session->setMonitoring(event == Event::SwitchOn);
            break;
        case Event::SwitchOffOffline:
            m_session->setNetworkOk(false);
            m_session->setMonitoring(false);
            break;
        case Event::Hide:
            m_session->stopMonitoring();
            break;
        case Event::ShowOffline:
            m_session->setNetworkOk(false);
            m_session->waitForNetwork();
            break;
        case Event::Tick:
            m_session->tick();
            break;
        case Event::TickOffline:
            m_session->setNetworkOk(false);
            m_session->tick();
            break;
        case Event::RunEnds:
        case Event::RunFails: {
            QuoteServerOptions options;
            if (event == Event::RunFails)
                options.answer = Answer::Error;
            m_server->setOptions(options);
            QSignalSpy passes(m_session.get(), &MonitorSession::passFinished);
            QSignalSpy cycles(m_session.get(), &MonitorSession::cycleFinished);
            QTRY_VERIFY_WITH_TIMEOUT(!passes.isEmpty() || !cycles.isEmpty(), waitMs);
            break;
        }
        }
    }

private Q_SLOTS:
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
        m_sources = std::make_unique<market::QuoteSourceChoice>(
            market::QuoteSourceKind::Page, market::QuoteHosts{m_server->address(), {}, {}},
            std::chrono::milliseconds(1));
        m_quotes = std::make_unique<market::QuoteService>(m_network, *m_sources);
        m_quotes->setTransferTimeout(market::QuoteUse::Monitor, std::chrono::milliseconds(400));
        m_session = std::make_unique<MonitorSession>(m_db, m_notifier, *m_quotes);
        m_session->setPause(std::chrono::milliseconds(5));
        m_fees = {};
        m_fees.stampRate = u"1"_s;
        m_fees.commissionRate = u"3"_s;
        m_fees.otherFee = u"5"_s;
        m_fees.direction = Direction::Sell;
        m_session->setFeeSource([this] { return m_fees; });
    }
    void cleanup()
    {
        m_session.reset();
        m_quotes.reset();
        m_sources.reset();
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

    // Every state, with the switch on or off, under every event: the state it
    // goes to, whether the monitor timer runs there and whether the switch is on.
    void transitions_data()
    {
        using S = MonitorSession::State;
        QTest::addColumn<S>("from");
        QTest::addColumn<bool>("wish");
        QTest::addColumn<Event>("event");
        QTest::addColumn<S>("to");
        QTest::addColumn<bool>("timer");
        QTest::addColumn<bool>("wishAfter");
        const auto row = [](const char* name, S from, bool wish, Event event, S to, bool timer,
                            bool wishAfter) {
            QTest::newRow(name) << from << wish << event << to << timer << wishAfter;
        };
        row("off, start", S::Off, false, Event::Start, S::Loading, true, true);
        row("off, switch on", S::Off, false, Event::SwitchOn, S::Waiting, true, true);
        row("off, switch off offline", S::Off, false, Event::SwitchOffOffline, S::WaitingForNetwork,
            true, false);
        row("off, shown offline", S::Off, false, Event::ShowOffline, S::WaitingForNetwork, true,
            false);
        row("off, tick by hand", S::Off, false, Event::Tick, S::Cycling, false, false);
        row("off, tick offline", S::Off, false, Event::TickOffline, S::Off, false, false);
        row("waiting for network, tick offline", S::WaitingForNetwork, false, Event::TickOffline,
            S::WaitingForNetwork, true, false);
        row("waiting for network, tick", S::WaitingForNetwork, false, Event::Tick, S::Cycling,
            false, false);
        row("waiting for network, switch on", S::WaitingForNetwork, false, Event::SwitchOn,
            S::Waiting, true, true);
        row("waiting for network, switch off", S::WaitingForNetwork, false, Event::SwitchOff,
            S::Off, false, false);
        row("waiting for network, hidden", S::WaitingForNetwork, false, Event::Hide, S::Off, false,
            false);
        row("loading, start again", S::Loading, true, Event::Start, S::Loading, true, true);
        row("loading, tick", S::Loading, true, Event::Tick, S::Loading, true, true);
        row("loading, pass ends", S::Loading, true, Event::RunEnds, S::Waiting, true, true);
        row("loading, pass fails", S::Loading, true, Event::RunFails, S::LoadFailed, true, true);
        row("loading, hidden", S::Loading, true, Event::Hide, S::Loading, false, false);
        row("loading hidden, pass ends", S::Loading, false, Event::RunEnds, S::Off, false, false);
        row("load failed, tick", S::LoadFailed, true, Event::Tick, S::LoadFailed, true, true);
        row("load failed, switch off", S::LoadFailed, true, Event::SwitchOff, S::LoadFailed, false,
            false);
        row("load failed, switch on", S::LoadFailed, false, Event::SwitchOn, S::LoadFailed, true,
            true);
        row("load failed, start", S::LoadFailed, true, Event::Start, S::Loading, true, true);
        row("waiting, tick", S::Waiting, true, Event::Tick, S::Cycling, true, true);
        row("waiting, tick offline", S::Waiting, true, Event::TickOffline, S::Waiting, true, true);
        row("waiting, switch off", S::Waiting, true, Event::SwitchOff, S::Off, false, false);
        row("waiting, hidden", S::Waiting, true, Event::Hide, S::Off, false, false);
        row("waiting, shown offline", S::Waiting, true, Event::ShowOffline, S::WaitingForNetwork,
            true, false);
        row("waiting, start", S::Waiting, true, Event::Start, S::Loading, true, true);
        row("cycling, tick", S::Cycling, true, Event::Tick, S::Cycling, true, true);
        row("cycling, cycle ends", S::Cycling, true, Event::RunEnds, S::Waiting, true, true);
        row("cycling, cycle fails", S::Cycling, true, Event::RunFails, S::Waiting, true, true);
        row("cycling, start", S::Cycling, true, Event::Start, S::Loading, true, true);
        row("cycling, switch off", S::Cycling, true, Event::SwitchOff, S::Cycling, false, false);
        row("cycling switched off, cycle ends", S::Cycling, false, Event::RunEnds, S::Off, false,
            false);
        row("cycling switched off, cycle fails", S::Cycling, false, Event::RunFails,
            S::WaitingForNetwork, true, false);
    }
    void transitions()
    {
        using S = MonitorSession::State;
        QFETCH(S, from);
        QFETCH(bool, wish);
        QFETCH(Event, event);
        QFETCH(S, to);
        QFETCH(bool, timer);
        QFETCH(bool, wishAfter);
        QVERIFY(reach(from, wish));
        apply(event);
        QCOMPARE(m_session->state(), to);
        QCOMPARE(m_session->isTimerActive(), timer);
        QCOMPARE(m_session->isMonitoring(), wishAfter);
        // What the windows show follows the state and the wish.
        QCOMPARE(m_session->isSwitchEnabled(), to != S::Loading);
        QCOMPARE(m_session->isIntervalEnabled(), wishAfter);
        QCOMPARE(m_session->isLoadIdle(), to != S::Loading && to != S::LoadFailed);
        QCOMPARE(m_session->isCycleIdle(), to != S::Cycling);
    }

    // The pass asks first for the head stock the window pushed last, whether or
    // not it is monitored; without one, for the fixed code.
    void passAsksForThePushedHeadFirst_data()
    {
        QTest::addColumn<QStringList>("heads"); // code, name pairs pushed in turn
        QTest::addColumn<QString>("first");
        QTest::newRow("none") << QStringList{} << u"000709"_s;
        QTest::newRow("not monitored") << QStringList{u"000002"_s, u"己未"_s} << u"000002"_s;
        QTest::newRow("monitored") << QStringList{u"600519"_s, u"丁茅"_s} << u"600519"_s;
        QTest::newRow("the last of two")
            << QStringList{u"000002"_s, u"己未"_s, u"300001"_s, u"丙创"_s} << u"300001"_s;
        QTest::newRow("placeholder") << QStringList{u"000000"_s, u"无名股票"_s} << u"000709"_s;
    }
    void passAsksForThePushedHeadFirst()
    {
        QFETCH(QStringList, heads);
        QFETCH(QString, first);
        for (qsizetype i = 0; i + 1 < heads.size(); i += 2)
            setHead(heads[i], heads[i + 1]);
        QVERIFY(pass());
        QCOMPARE(targets().first(), target(first));
        QVERIFY(m_session->monitorQuoteLines().first().startsWith(first + u","_s));
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
        setHead(u"600000"_s, u"甲沪"_s);
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
        setHead(u"000002"_s, u"己未"_s);
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

        setHead(u"000002"_s, u"己未"_s);
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
        m_session->setNetworkOk(false);
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
