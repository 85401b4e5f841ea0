// Shows the monitor window or the floating bar fed by a local quote server, for
// looking at them on a display: "monitor" runs a pass and two cycles; "bar N"
// switches to the floating bar at opacity N and keeps cycling every 2 seconds.
#include "MonitorTestLedger.h"
#include "SampleTrade.h"

#include "windows/MonitorWindow.h"
#include "windows/TickerBar.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace corvanta;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"monitor"_s;
    const int alpha = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 255;

    test::MonitorTestLedger ledger;
    ledger.session->setPause(std::chrono::milliseconds(100));
    test::SampleTrade trade;
    trade.set(model::TradeText::StockCode, u"600000"_s);
    trade.set(model::TradeText::StockName, u"甲沪"_s);
    test::ScriptedPrompter prompter;
    windows::MonitorWindow monitor(*ledger.session, trade.form, ledger.stocks, ledger.db, prompter,
                                   ledger::MonitorFont{});
    windows::TickerBar bar(*ledger.session);
    monitor.move(40, 40);
    monitor.show();

    int cycles = 0;
    QTimer cycleTimer;
    cycleTimer.setInterval(2000);
    QObject::connect(&cycleTimer, &QTimer::timeout, ledger.session.get(),
                     &monitor::MonitorSession::tick);
    QObject::connect(ledger.session.get(), &monitor::MonitorSession::cycleFinished, &app, [&] {
        if (++cycles == 2 && mode == u"monitor"_s) {
            cycleTimer.stop();
            std::puts("ready");
            std::fflush(stdout);
        }
    });
    QObject::connect(ledger.session.get(), &monitor::MonitorSession::passFinished, &app, [&] {
        if (mode == u"bar"_s) {
            monitor.switchToFloatingBar();
            bar.move(200, 300);
            bar.setAlpha(alpha);
            bar.show();
        }
        cycleTimer.start();
        ledger.session->tick();
    });
    ledger.session->startMonitoring();
    return app.exec();
}
