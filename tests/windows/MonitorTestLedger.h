#pragma once

#include "ScriptedPrompter.h"
#include "ledger/Schema.h"
#include "ledger/StockTable.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"
#include "market/NetworkState.h"
#include "market/QuoteService.h"
#include "market/QuoteSourceChoice.h"
#include "monitor/MonitorSession.h"
#include "quote-server/QuoteServer.h"

#include <QSignalSpy>

#include <memory>

namespace corvanta::test {

// A ledger of three monitored stocks (one of them at a loss once quoted low)
// and one that is not monitored, a local quote server for them and the fixed
// head code, and a monitor session on both.
struct MonitorTestLedger {
    sql::Database db = sql::Database::openInMemory();
    ledger::StockTable stocks{db};
    std::unique_ptr<tools::QuoteServer> server;
    ledger::LedgerNotifier notifier;
    market::NetworkState network;
    std::unique_ptr<market::QuoteSourceChoice> sources;
    std::unique_ptr<market::QuoteService> quotes;
    std::unique_ptr<monitor::MonitorSession> session;

    MonitorTestLedger()
    {
        using namespace Qt::StringLiterals;
        const QList<tools::ListedStock> listed{{u"000709"_s, u"河钢股份"_s},
                                               {u"600000"_s, u"甲沪"_s},
                                               {u"000001"_s, u"乙深"_s},
                                               {u"300001"_s, u"丙创"_s},
                                               {u"000002"_s, u"己未"_s}};
        QList<ledger::SeedStock> seeds{{u"000000"_s, u"无名股票"_s, u"WMGP"_s}};
        for (const auto& stock : listed)
            seeds.append({stock.code, stock.name, stock.name == u"甲沪"_s ? u"JH"_s : u"X"_s});
        ledger::ensureSchema(db, seeds);
        db.exec("DELETE FROM gpjl");
        // 甲沪 bought far above any quote: a loss; the others near their quotes.
        add(u"600000"_s, u"甲沪"_s, 1000, 1000.0, true);
        add(u"000001"_s, u"乙深"_s, 500, 1.0, true);
        add(u"300001"_s, u"丙创"_s, 200, 1.0, true);
        add(u"000002"_s, u"己未"_s, 100, 1.0, false);
        server = std::make_unique<tools::QuoteServer>(listed, tools::QuoteServerOptions{});
        server->listen();
        sources = std::make_unique<market::QuoteSourceChoice>(
            market::QuoteSourceKind::Page, market::QuoteHosts{server->address(), {}, {}},
            std::chrono::milliseconds(1));
        quotes = std::make_unique<market::QuoteService>(network, *sources);
        quotes->setTransferTimeout(market::QuoteUse::Monitor, std::chrono::milliseconds(2000));
        session = std::make_unique<monitor::MonitorSession>(db, notifier, *quotes);
        session->setPause(std::chrono::milliseconds(5));
    }

    void add(const QString& code, const QString& name, qint64 quantity, double price,
             bool monitored)
    {
        using namespace Qt::StringLiterals;
        auto insert = db.prepare(
            "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
            "虚拟卖出,监控状态) VALUES ('2026-12-01',?1,?2,?3,?4,?5,5,?6,0,?7,?8)");
        for (const bool open : {false, true}) {
            insert.reset();
            insert.bind(1, code).bind(2, name).bind(3, open ? u"卖出"_s : u"买入"_s);
            insert.bind(4, quantity).bind(5, price);
            insert.bind(6, open ? 0.0 : quantity * price + 5);
            insert.bind(7, open ? u"真"_s : u"假"_s).bind(8, monitored ? u"是"_s : u"否"_s);
            insert.run();
        }
    }

    // Runs a pass or a cycle to its end.
    bool pass()
    {
        QSignalSpy finished(session.get(), &monitor::MonitorSession::passFinished);
        return session->startMonitoring() && (!finished.isEmpty() || finished.wait(15000)) &&
               finished.first().first().toBool();
    }
    bool cycle()
    {
        QSignalSpy finished(session.get(), &monitor::MonitorSession::cycleFinished);
        session->tick();
        return (!finished.isEmpty() || finished.wait(15000)) && finished.first().first().toBool();
    }
};

} // namespace corvanta::test
