#include "MainWindowTestSupport.h"

#include "../market/FakeHttpProxy.h"
#include "app/InputBox.h"
#include "app/LedgerPanel.h"
#include "app/MainMenus.h"
#include "app/MonitorController.h"
#include "app/QuoteRefreshController.h"
#include "app/QuoteSourceController.h"
#include "app/StatusBarPanels.h"
#include "app/SummaryController.h"
#include "app/TradePanel.h"
#include "ledger/QuoteServerSetting.h"
#include "ledger/QuoteSourceSetting.h"
#include "market/ConnectionCheck.h"
#include "market/NetworkState.h"
#include "market/QuoteLines.h"
#include "market/QuoteService.h"
#include "market/QuoteSourceChoice.h"
#include "market/SourceHosts.h"
#include "monitor/MonitorSession.h"
#include "quote-server/QuoteServer.h"
#include "report/PositionSummary.h"
#include "report/SummaryRow.h"
#include "report/SummaryTableModel.h"
#include "windows/MonitorHeadPanel.h"
#include "windows/MonitorWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

Q_DECLARE_METATYPE(corvanta::tools::Layout)
Q_DECLARE_METATYPE(corvanta::tools::Answer)

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

class AlwaysConnected final : public market::ConnectionCheck {
public:
    bool isConnected() override { return true; }
};

// The stocks every fake lists; 600000 (Sina) and 000001 (Tencent) also have fixed
// lines in the fixtures.
QList<tools::ListedStock> listedStocks()
{
    return {{u"600000"_s, u"沪市股票0"_s},
            {u"600001"_s, u"沪市股票1"_s},
            {u"000001"_s, u"平安银行"_s},
            {u"000709"_s, u"唐钢股份"_s},
            {u"000002"_s, u"腾讯"_s}}; // named as the quote-source setting holds 腾讯
}

tools::QuoteServerOptions optionsFor(tools::Layout layout,
                                     tools::Answer answer = tools::Answer::Page)
{
    tools::QuoteServerOptions options;
    options.layout = layout;
    options.answer = answer;
    options.errorStatus = 403;
    return options;
}

// The request target a fetch of one code sends in a layout.
QByteArray singleTarget(tools::Layout layout, const QString& code)
{
    switch (layout) {
    case tools::Layout::Sina:
        return "/list=sh" + code.toLatin1();
    case tools::Layout::Tencent:
        return "/q=sh" + code.toLatin1();
    case tools::Layout::Page:
        break;
    }
    return "/htmdata/html/" + code.toLatin1() + ".htm";
}

} // namespace

// The data-source menu through the running program: each source serves the main
// window's stock, the quoted summary and the monitor; a refused source hands over to
// the other real source; the choice is kept in the ledger; refusals slow a source.
class MainWindowSourceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void mainWindowStockOnEachSource_data() { addSourceRows(); }
    void mainWindowStockOnEachSource();
    void quotedSummaryOnEachSource_data() { addSourceRows(); }
    void quotedSummaryOnEachSource();
    void aStockNamedLikeASettingIsQuotedUnderItsCode();
    void monitorPassOnEachSource_data() { addSourceRows(); }
    void monitorPassOnEachSource();
    void monitorCycleFollowsANewChoice();
    void summaryAndMonitorFollowTheProxyAndTheSource();
    void menuChecksTheChoiceAndNeverAPortal();
    void choiceSurvivesARestart();
    void refusedWriteKeepsTheChoice();
    void refusedSourceFallsBack_data();
    void refusedSourceFallsBack();
    void refusalsDoubleTheSpacing();
    void quoteFieldsShowTheirTimeAndTheirStock();
    void hostsAreSetInTheSettingsMenu_data();
    void hostsAreSetInTheSettingsMenu();

private:
    // One row per quote source of the menu.
    static void addSourceRows();
    // Fakes of both real sources and the quote server on loopback, their hosts in
    // the ledger, three held and monitored stocks; then the program, on `source`.
    [[nodiscard]] bool openOn(const QString& source);
    tools::QuoteServer& serverOf(tools::Layout layout) const;
    // The quoted summary, shown and left again; false when it did not show.
    bool runQuotedSummary();
    // "实时监控(&D)" on the ledger's first row, to the end of its pass, and the
    // monitor closed again; false when the pass did not end well.
    bool runMonitorPass();
    // "获取当前价格(&H)" on the code; false when no fetch ended.
    bool fetchStock(const QString& code);
    QString statusSource() const { return h->window().status().contact->text(); }
    app::QuoteSourceController& sourceMenu() const { return h->window().quoteSourceMenu(); }
    market::QuoteSourceChoice& choice() const { return h->program().quoteSources(); }
    QString storedChoice() const
    {
        return ledger::loadQuoteSourceRow(h->db, ledger::QuoteSourceRow::Choice).value_or(u"-"_s);
    }

    std::unique_ptr<Harness> h;
    std::unique_ptr<tools::QuoteServer> sina;
    std::unique_ptr<tools::QuoteServer> tencent;
    std::unique_ptr<tools::QuoteServer> page;
};

void MainWindowSourceTest::cleanup()
{
    endTest(h);
    sina.reset();
    tencent.reset();
    page.reset();
}

bool MainWindowSourceTest::openOn(const QString& source)
{
    if (!sina)
        sina =
            std::make_unique<tools::QuoteServer>(listedStocks(), optionsFor(tools::Layout::Sina));
    if (!tencent)
        tencent = std::make_unique<tools::QuoteServer>(listedStocks(),
                                                       optionsFor(tools::Layout::Tencent));
    page = std::make_unique<tools::QuoteServer>(listedStocks(), optionsFor(tools::Layout::Page));
    if (!sina->listen() || !tencent->listen() || !page->listen())
        return false;
    h = std::make_unique<Harness>();
    h->db.exec("delete from gpjl");
    addTrade(h->db, u"600000"_s, u"沪市股票0"_s, Direction::Buy, 100, u"8"_s);
    addTrade(h->db, u"000709"_s, u"唐钢股份"_s, Direction::Buy, 200, u"5"_s);
    addTrade(h->db, u"000001"_s, u"平安银行"_s, Direction::Buy, 300, u"15"_s);
    h->db.exec("UPDATE gpjl SET 监控状态 = '是'");
    ledger::saveQuoteServer(h->db, page->address().toString());
    ledger::saveQuoteSourceRow(h->db, ledger::QuoteSourceRow::SinaHost, sina->address().toString());
    ledger::saveQuoteSourceRow(h->db, ledger::QuoteSourceRow::TencentHost,
                               tencent->address().toString());
    if (!h->open())
        return false;
    h->window().quotes().setConnectionCheck(std::make_unique<AlwaysConnected>());
    h->program().network().setNetworkOk(true);
    QAction* item = sourceMenu().item(source);
    if (!item)
        return false;
    item->trigger();
    return choice().name() == source;
}

tools::QuoteServer& MainWindowSourceTest::serverOf(tools::Layout layout) const
{
    switch (layout) {
    case tools::Layout::Sina:
        return *sina;
    case tools::Layout::Tencent:
        return *tencent;
    case tools::Layout::Page:
        break;
    }
    return *page;
}

bool MainWindowSourceTest::fetchStock(const QString& code)
{
    h->window().trade().code->setText(code);
    QSignalSpy shown(&h->window().quotes(), &app::QuoteRefreshController::quoteShown);
    // As "获取当前价格(&H)" does.
    h->window().quotes().fetchIfReady();
    return shown.count() > 0 || shown.wait(10000);
}

void MainWindowSourceTest::addSourceRows()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<tools::Layout>("layout");
    QTest::addColumn<bool>("batched"); // many codes a request
    QTest::newRow("新浪") << u"新浪"_s << tools::Layout::Sina << true;
    QTest::newRow("腾讯") << u"腾讯"_s << tools::Layout::Tencent << true;
    QTest::newRow("金融界") << u"金融界"_s << tools::Layout::Page << false;
}

// The main window's stock comes from the chosen source alone, and the status bar
// names it.
void MainWindowSourceTest::mainWindowStockOnEachSource()
{
    QFETCH(QString, source);
    QFETCH(tools::Layout, layout);
    QVERIFY(openOn(source));
    QCOMPARE(statusSource(), QString());

    QVERIFY(fetchStock(u"600000"_s));
    const app::TradePanel& trade = h->window().trade();
    QCOMPARE(trade.gainLabel->text() == u"网络连接超时!"_s, false);
    QVERIFY(!trade.currentPrice->text().isEmpty());
    QVERIFY(trade.currentPrice->text() != u"-"_s);
    QVERIFY(!trade.lastClose->text().isEmpty());
    if (layout == tools::Layout::Sina) // the fixture's line
        QCOMPARE(trade.currentPrice->text().toDouble(), 6.94);

    tools::QuoteServer& server = serverOf(layout);
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(server.requests().constFirst().target, singleTarget(layout, u"600000"_s));
    const qsizetype others =
        sina->requests().size() + tencent->requests().size() + page->requests().size() - 1;
    QCOMPARE(others, 0);
    QCOMPARE(statusSource(), market::answeringSourceText(source));
}

// The quoted summary asks a real source for all held stocks in one request and the
// quote page once per stock; the record lines keep the ledger's order.
void MainWindowSourceTest::quotedSummaryOnEachSource()
{
    QFETCH(QString, source);
    QFETCH(tools::Layout, layout);
    QFETCH(bool, batched);
    QVERIFY(openOn(source));
    const QStringList codes = report::ledgerQuoteCodes(h->db);
    QCOMPARE(codes.size(), 3);

    app::SummaryController& summary = h->program().summary();
    QSignalSpy done(&summary, &app::SummaryController::summaryFinished);
    h->window().viewSelector().setCurrentIndex(1);
    QVERIFY(done.wait(15000));
    QCOMPARE(done.constFirst().constFirst().toBool(), true);
    QVERIFY(h->window().ledger().summaryGrid->isVisible());

    QCOMPARE(serverOf(layout).requests().size(), batched ? 1 : 3);
    const QStringList lines = h->program().quoteLines().monitorLines();
    QCOMPARE(lines.size(), 3);
    for (qsizetype i = 0; i < codes.size(); ++i)
        QVERIFY2(lines[i].startsWith(codes[i]), qPrintable(lines[i]));
    QVERIFY(!summary.marketValueText().isEmpty());
    QCOMPARE(statusSource(), market::answeringSourceText(source));
}

// The quote-source row keeps "腾讯" in gpmc beside the stocks: a stock of that
// name is still priced under its own code in the quoted summary.
void MainWindowSourceTest::aStockNamedLikeASettingIsQuotedUnderItsCode()
{
    QVERIFY(openOn(u"腾讯"_s));
    addTrade(h->db, u"000002"_s, u"腾讯"_s, Direction::Buy, 100, u"10"_s);
    app::SummaryController& summary = h->program().summary();
    QSignalSpy done(&summary, &app::SummaryController::summaryFinished);
    h->window().viewSelector().setCurrentIndex(1);
    QVERIFY(done.wait(15000));
    QCOMPARE(done.constFirst().constFirst().toBool(), true);

    const report::SummaryTableModel& model = summary.model();
    int row = -1;
    for (int i = 0; i < model.rowCount(); ++i)
        if (model.stockName(i) == u"腾讯")
            row = i;
    QVERIFY(row >= 0);
    const QString price = model.index(row, report::PriceColumn).data().toString();
    QVERIFY2(price.toDouble() > 0, qPrintable(price));
    QVERIFY(!model.index(row, report::MarketValueColumn).data().toString().isEmpty());
    const QByteArray asked = tencent->requests().constLast().target;
    QVERIFY2(asked.contains("000002") && !asked.contains("hqly"), asked.constData());
}

// "实时监控(&D)": the monitor's pass and its cycles fetch every monitored stock from
// the chosen source, batched on a real source.
void MainWindowSourceTest::monitorPassOnEachSource()
{
    QFETCH(QString, source);
    QFETCH(tools::Layout, layout);
    QFETCH(bool, batched);
    QVERIFY(openOn(source));
    app::MonitorController& monitor = h->program().monitor();
    monitor.session().setPause(std::chrono::milliseconds(5));
    clickGridRow(h->window().ledger().ledgerGrid, 0);

    QSignalSpy passes(&monitor.session(), &monitor::MonitorSession::passFinished);
    Q_EMIT h->window().menus().ledgerPopup->aboutToShow();
    h->window().menus().ledgerMonitor->trigger();
    QVERIFY(monitor.monitorWindow().isVisible());
    QVERIFY(passes.wait(15000));
    QCOMPARE(passes.constFirst().constFirst().toBool(), true);

    QCOMPARE(serverOf(layout).requests().size(), batched ? 1 : 3);
    const QString lines = monitor.session().monitorQuoteLines().join(u'\n');
    for (const QString& code : {u"600000"_s, u"000709"_s, u"000001"_s})
        QVERIFY2(lines.contains(code), qPrintable(code));
    QCOMPARE(statusSource(), market::answeringSourceText(source));
    // A real source brings both indexes in the same request; the quote page has none.
    const windows::MonitorBuyBackPanel& indexes = *monitor.monitorWindow().buyBack();
    if (batched) {
        QVERIFY(serverOf(layout).requests().constFirst().target.endsWith(",sh000001,sz399001"));
        QCOMPARE(indexes.firstIndex->text(), u"上证:3105.63  +16.37  +0.53%"_s);
        QCOMPARE(indexes.secondIndex->text(), u"深成:11146.09  -57.09  -0.51%"_s);
        QCOMPARE(indexes.firstIndex->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(indexes.secondIndex->palette().color(QPalette::WindowText), QColor(u"green"_s));
    } else {
        QCOMPARE(indexes.firstIndex->text(), u"上证:"_s);
        QCOMPARE(indexes.secondIndex->text(), u"深成:"_s);
    }

    // A cycle asks the same source for the listed stocks again.
    QSignalSpy cycles(&monitor.session(), &monitor::MonitorSession::cycleFinished);
    monitor.session().tick();
    QVERIFY(cycles.count() > 0 || cycles.wait(15000));
    QCOMPARE(cycles.constFirst().constFirst().toBool(), true);
    QCOMPARE(serverOf(layout).requests().size(), batched ? 2 : 6);
    QCOMPARE(monitor.session().cycleQuoteLines().size(), batched ? 5 : 3);
    if (batched)
        QVERIFY(serverOf(layout).requests().constLast().target.endsWith(",sh000001,sz399001"));
    monitor.monitorWindow().close();
}

// A source chosen while the monitor runs serves its next cycle.
void MainWindowSourceTest::monitorCycleFollowsANewChoice()
{
    QVERIFY(openOn(u"金融界"_s));
    app::MonitorController& monitor = h->program().monitor();
    monitor.session().setPause(std::chrono::milliseconds(5));
    clickGridRow(h->window().ledger().ledgerGrid, 0);
    QSignalSpy passes(&monitor.session(), &monitor::MonitorSession::passFinished);
    Q_EMIT h->window().menus().ledgerPopup->aboutToShow();
    h->window().menus().ledgerMonitor->trigger();
    QVERIFY(passes.wait(15000));
    QCOMPARE(page->requests().size(), 3);

    sourceMenu().item(u"新浪"_s)->trigger();
    QSignalSpy cycles(&monitor.session(), &monitor::MonitorSession::cycleFinished);
    monitor.session().tick();
    QVERIFY(cycles.count() > 0 || cycles.wait(15000));
    QCOMPARE(cycles.constFirst().constFirst().toBool(), true);
    QCOMPARE(page->requests().size(), 3);
    QCOMPARE(sina->requests().size(), 1);
    QCOMPARE(statusSource(), market::answeringSourceText(u"新浪"_s));
    monitor.monitorWindow().close();
}

bool MainWindowSourceTest::runQuotedSummary()
{
    app::SummaryController& summary = h->program().summary();
    QSignalSpy done(&summary, &app::SummaryController::summaryFinished);
    h->window().viewSelector().setCurrentIndex(1);
    const bool shown = done.wait(15000) && done.constFirst().constFirst().toBool();
    h->window().viewSelector().setCurrentIndex(0);
    return shown;
}

bool MainWindowSourceTest::runMonitorPass()
{
    app::MonitorController& monitor = h->program().monitor();
    monitor.session().setPause(std::chrono::milliseconds(5));
    clickGridRow(h->window().ledger().ledgerGrid, 0);
    QSignalSpy passes(&monitor.session(), &monitor::MonitorSession::passFinished);
    Q_EMIT h->window().menus().ledgerPopup->aboutToShow();
    h->window().menus().ledgerMonitor->trigger();
    const bool passed = passes.wait(15000) && passes.constFirst().constFirst().toBool();
    monitor.monitorWindow().close();
    return passed;
}

// The summary and the monitor fetch through the program's one quote service: a
// proxy taken into use and a new source reach their next run, and neither keeps a
// network client of its own.
void MainWindowSourceTest::summaryAndMonitorFollowTheProxyAndTheSource()
{
    QVERIFY(openOn(u"金融界"_s));
    market::QuoteService& service = h->program().quoteService();
    QObject& summary = h->program().summary();
    QObject& session = h->program().monitor().session();
    QList<market::QuoteUse> uses;
    qsizetype ownClients = 0;
    connect(&service, &market::QuoteService::asked, this,
            [&](const QStringList&, market::QuoteUse use) {
                if (use != market::QuoteUse::CurrentStock)
                    uses.append(use);
                ownClients += summary.findChildren<QNetworkAccessManager*>().size() +
                              session.findChildren<QNetworkAccessManager*>().size();
            });

    market::FakeHttpProxy proxy;
    QVERIFY(proxy.listen());
    h->program().network().setProxy(u"127.0.0.1"_s, proxy.port());
    h->program().network().useEnteredProxy();
    QVERIFY(runQuotedSummary());
    QCOMPARE(proxy.requestLines().size(), 3);
    QVERIFY(runMonitorPass());
    QCOMPARE(proxy.requestLines().size(), 6);
    for (const QByteArray& line : proxy.requestLines())
        QVERIFY2(line.contains("/htmdata/html/"), line.constData());
    QCOMPARE(page->requests().size(), 6);

    // No proxy and another source: both go straight to 腾讯.
    h->program().network().clearProxy();
    sourceMenu().item(u"腾讯"_s)->trigger();
    QVERIFY(runQuotedSummary());
    QCOMPARE(tencent->requests().size(), 1);
    QVERIFY(runMonitorPass());
    QCOMPARE(tencent->requests().size(), 2);
    QCOMPARE(proxy.requestLines().size(), 6);
    QCOMPARE(page->requests().size(), 6);

    using U = market::QuoteUse;
    QCOMPARE(uses, (QList<U>{U::Summary, U::Summary, U::Summary, U::Monitor, U::Monitor, U::Monitor,
                             U::Summary, U::Monitor}));
    QCOMPARE(ownClients, 0);
    QVERIFY(service.hasManager());
}

// 新浪 without a stored choice; the check follows a chosen source; 搜狐 and 和讯 are
// disabled with a hint and never take the mark.
void MainWindowSourceTest::menuChecksTheChoiceAndNeverAPortal()
{
    h = std::make_unique<Harness>();
    QVERIFY(h->open());
    QCOMPARE(choice().kind(), market::QuoteSourceKind::Sina);
    QVERIFY(sourceMenu().item(u"新浪"_s)->isChecked());
    QCOMPARE(storedChoice(), u"-"_s);
    QStringList items;
    for (const QAction* action : h->window().menus().dataSources->actions())
        items.append(action->text());
    QCOMPARE(items, (QStringList{u"金融界"_s, u"新浪"_s, u"腾讯"_s, u"搜狐"_s, u"和讯"_s}));

    QSignalSpy changes(&choice(), &market::QuoteSourceChoice::sourceChanged);
    sourceMenu().item(u"金融界"_s)->trigger();
    QCOMPARE(choice().kind(), market::QuoteSourceKind::Page);
    QVERIFY(sourceMenu().item(u"金融界"_s)->isChecked());
    QCOMPARE(storedChoice(), u"金融界"_s);
    QCOMPARE(changes.count(), 1);

    // The check mark shows the source in use: 搜狐 and 和讯 can never be it.
    for (const QString& portal : {u"搜狐"_s, u"和讯"_s}) {
        QAction* item = sourceMenu().item(portal);
        QVERIFY(!item->isEnabled());
        QCOMPARE(item->toolTip(), app::QuoteSourceController::noQuoteEndpointHint());
        item->trigger();
        QVERIFY(!sourceMenu().choose(portal));
        QVERIFY(!item->isChecked());
        QVERIFY(sourceMenu().item(u"金融界"_s)->isChecked());
        QCOMPARE(choice().kind(), market::QuoteSourceKind::Page);
        QCOMPARE(storedChoice(), u"金融界"_s);
    }
    QCOMPARE(changes.count(), 1);
}

void MainWindowSourceTest::choiceSurvivesARestart()
{
    QVERIFY(openOn(u"腾讯"_s));
    QCOMPARE(storedChoice(), u"腾讯"_s);

    QVERIFY(h->reopen());
    QCOMPARE(choice().kind(), market::QuoteSourceKind::Tencent);
    QVERIFY(sourceMenu().item(u"腾讯"_s)->isChecked());
    // And the new program fetches from it, at the stored host.
    h->window().quotes().setConnectionCheck(std::make_unique<AlwaysConnected>());
    h->program().network().setNetworkOk(true);
    QVERIFY(fetchStock(u"000001"_s));
    QCOMPARE(tencent->requests().size(), 1);
    QCOMPARE(h->window().trade().currentPrice->text().toDouble(), 15.59);
}

// A choice the ledger cannot store is not made: the user is told, and the check
// mark and every fetch stay on the source before.
void MainWindowSourceTest::refusedWriteKeepsTheChoice()
{
    QVERIFY(openOn(u"新浪"_s));
    for (const char* event : {"INSERT", "UPDATE"}) {
        h->db.exec(QStringLiteral("CREATE TRIGGER no_choice_%1 BEFORE %1 ON gpmc "
                                  "WHEN NEW.gpid = 'hqly' "
                                  "BEGIN SELECT RAISE(ABORT, 'read-only medium'); END")
                       .arg(QLatin1String(event))
                       .toUtf8()
                       .constData());
    }
    QVERIFY(h->prompter.messages.isEmpty());

    for (const QString& item : {u"腾讯"_s, u"金融界"_s}) {
        sourceMenu().item(item)->trigger();
        QVERIFY(h->prompter.messages.last().contains(u"read-only medium"_s));
        QCOMPARE(choice().kind(), market::QuoteSourceKind::Sina);
        QVERIFY(sourceMenu().item(u"新浪"_s)->isChecked());
        QVERIFY(!sourceMenu().item(item)->isChecked());
    }
    QCOMPARE(h->prompter.messages.size(), 2);
    QCOMPARE(storedChoice(), u"-"_s);

    QVERIFY(fetchStock(u"600000"_s));
    QCOMPARE(sina->requests().size(), 1);
    QCOMPARE(tencent->requests().size(), 0);
    QCOMPARE(page->requests().size(), 0);
}

void MainWindowSourceTest::refusedSourceFallsBack_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<tools::Answer>("sinaAnswer");
    QTest::addColumn<tools::Answer>("tencentAnswer");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("answering"); // empty: the fetch fails
    QTest::addColumn<double>("price");

    QTest::newRow("新浪 refuses with 403, 腾讯 answers")
        << u"新浪"_s << tools::Answer::Error << tools::Answer::Page << u"000001"_s << u"腾讯"_s
        << 15.59;
    QTest::newRow("新浪 answers empty, 腾讯 answers")
        << u"新浪"_s << tools::Answer::Empty << tools::Answer::Page << u"000001"_s << u"腾讯"_s
        << 15.59;
    QTest::newRow("腾讯 drops the connection, 新浪 answers")
        << u"腾讯"_s << tools::Answer::Page << tools::Answer::Drop << u"600000"_s << u"新浪"_s
        << 6.94;
    QTest::newRow("both refuse") << u"新浪"_s << tools::Answer::Error << tools::Answer::Error
                                 << u"600000"_s << QString() << 0.0;
}

// The chosen real source refuses: the same request goes to the other once, whose
// quote is shown and named in the status bar; when both refuse the fetch fails.
void MainWindowSourceTest::refusedSourceFallsBack()
{
    QFETCH(QString, source);
    QFETCH(tools::Answer, sinaAnswer);
    QFETCH(tools::Answer, tencentAnswer);
    QFETCH(QString, code);
    QFETCH(QString, answering);
    QFETCH(double, price);
    sina = std::make_unique<tools::QuoteServer>(listedStocks(),
                                                optionsFor(tools::Layout::Sina, sinaAnswer));
    tencent = std::make_unique<tools::QuoteServer>(
        listedStocks(), optionsFor(tools::Layout::Tencent, tencentAnswer));
    QVERIFY(openOn(source));

    QVERIFY(fetchStock(code));
    // Qt's client itself sends a request again when the connection closes before
    // any reply, so a dropping source may be asked twice; the other source once.
    const bool sinaChosen = source == u"新浪"_s;
    const tools::QuoteServer& chosen = sinaChosen ? *sina : *tencent;
    const tools::QuoteServer& other = sinaChosen ? *tencent : *sina;
    QVERIFY(!chosen.requests().isEmpty() && chosen.requests().size() <= 2);
    QCOMPARE(other.requests().size(), 1);
    QCOMPARE(page->requests().size(), 0);
    const app::TradePanel& trade = h->window().trade();
    if (answering.isEmpty()) {
        QCOMPARE(trade.gainLabel->text(), u"网络连接超时!"_s);
        QCOMPARE(statusSource(), QString());
        return;
    }
    QCOMPARE(trade.currentPrice->text().toDouble(), price);
    QCOMPARE(statusSource(), market::answeringSourceText(answering));
    QCOMPARE(choice().name(), source); // the choice itself stays
}

// Each refusal of a source doubles the least time between two of its requests,
// whichever fetch sends them; its next good reply brings the pause back.
void MainWindowSourceTest::refusalsDoubleTheSpacing()
{
    sina = std::make_unique<tools::QuoteServer>(
        listedStocks(), optionsFor(tools::Layout::Sina, tools::Answer::Error));
    QVERIFY(openOn(u"新浪"_s));
    const market::SourceGate& gate = choice().gate(market::QuoteSourceKind::Sina);
    const std::chrono::milliseconds base = gate.basePause();
    QCOMPARE(gate.pause(), base);
    QList<qint64> arrivals;
    QElapsedTimer clock;
    clock.start();
    connect(sina.get(), &tools::QuoteServer::requestReceived, this,
            [&] { arrivals.append(clock.elapsed()); });

    QVERIFY(fetchStock(u"000001"_s));
    QCOMPARE(gate.pause(), 2 * base);
    QVERIFY(fetchStock(u"000001"_s));
    QCOMPARE(gate.pause(), 4 * base);
    QCOMPARE(arrivals.size(), 2);
    QVERIFY2(arrivals[1] - arrivals[0] >= (2 * base).count(),
             qPrintable(QString::number(arrivals[1] - arrivals[0])));
    // The other source answered each time and keeps its pace.
    QCOMPARE(choice().gate(market::QuoteSourceKind::Tencent).pause(), base);
    QCOMPARE(statusSource(), market::answeringSourceText(u"腾讯"_s));

    // The summary waits at the same gate, and a good reply resets it.
    sina->setOptions(optionsFor(tools::Layout::Sina));
    QSignalSpy done(&h->program().summary(), &app::SummaryController::summaryFinished);
    h->window().viewSelector().setCurrentIndex(1);
    QVERIFY(done.wait(15000));
    QCOMPARE(done.constFirst().constFirst().toBool(), true);
    QCOMPARE(arrivals.size(), 3);
    QVERIFY(arrivals[2] - arrivals[1] >= (4 * base).count());
    QCOMPARE(gate.pause(), base);
    QCOMPARE(statusSource(), market::answeringSourceText(u"新浪"_s));
}

// The quote fields show when their quote is from, and say whose quote they hold
// once another stock is shown, until that stock's own quote comes.
void MainWindowSourceTest::quoteFieldsShowTheirTimeAndTheirStock()
{
    QVERIFY(openOn(u"新浪"_s));
    const app::TradePanel& trade = h->window().trade();
    QVERIFY(trade.quoteMark->text().isEmpty());

    QVERIFY(fetchStock(u"600000"_s));
    QCOMPARE(trade.quoteMark->text(), u"行情 15:00:00"_s); // the fixture's record
    QCOMPARE(trade.quoteMark->toolTip(), u"行情时间 2022-11-11 15:00:00"_s);
    QVERIFY(trade.quoteMark->isVisible());

    retype(trade.code, u"000709"_s);
    QCOMPARE(trade.title(), u"唐钢股份"_s);
    QCOMPARE(trade.quoteMark->text(), u"600000的行情"_s);
    QCOMPARE(trade.quoteMark->palette().color(QPalette::WindowText), QColor(Qt::red));

    QVERIFY(fetchStock(u"000709"_s));
    QVERIFY2(trade.quoteMark->text().startsWith(u"行情 "_s), qPrintable(trade.quoteMark->text()));
    QVERIFY(trade.quoteMark->palette().color(QPalette::WindowText) != QColor(Qt::red));
}

void MainWindowSourceTest::hostsAreSetInTheSettingsMenu_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<tools::Layout>("layout");
    QTest::newRow("新浪") << u"新浪"_s << tools::Layout::Sina;
    QTest::newRow("腾讯") << u"腾讯"_s << tools::Layout::Tencent;
}

// 设置 has the hosts of 新浪 and 腾讯 beside the quote server: a bad address is refused
// and changes nothing; a good one is stored and serves the next request.
void MainWindowSourceTest::hostsAreSetInTheSettingsMenu()
{
    QFETCH(QString, source);
    QFETCH(tools::Layout, layout);
    const bool isTencent = layout == tools::Layout::Tencent;
    auto fake = std::make_unique<tools::QuoteServer>(listedStocks(), optionsFor(layout));
    QVERIFY(fake->listen());
    h = std::make_unique<Harness>();
    QVERIFY(h->open());
    h->window().quotes().setConnectionCheck(std::make_unique<AlwaysConnected>());
    h->program().network().setNetworkOk(true);
    QVERIFY(sourceMenu().choose(source));
    const ledger::QuoteSourceRow row =
        isTencent ? ledger::QuoteSourceRow::TencentHost : ledger::QuoteSourceRow::SinaHost;
    const std::optional<QString> before = ledger::loadQuoteSourceRow(h->db, row);
    app::MainMenus& menus = h->window().menus();
    QAction* item = isTencent ? menus.tencentHost : menus.sinaHost;
    QCOMPARE(item->text(), isTencent ? u"腾讯行情地址(&T)"_s : u"新浪行情地址(&X)"_s);

    const auto answer = [](const QString& text) {
        whenInputBoxShows([text](app::InputBoxDialog& box) {
            box.input()->setText(text);
            click(box.okButton());
        });
    };
    answer(u"ftp://127.0.0.1/"_s);
    item->trigger();
    QCOMPARE(h->prompter.messages, QStringList{market::invalidSourceHostMessage()});
    QCOMPARE(ledger::loadQuoteSourceRow(h->db, row), before);

    answer(fake->address().toString());
    item->trigger();
    QCOMPARE(h->prompter.messages.size(), 1);
    QCOMPARE(ledger::loadQuoteSourceRow(h->db, row), fake->address().toString());
    QVERIFY(fetchStock(u"600000"_s));
    QCOMPARE(fake->requests().size(), 1);
    QCOMPARE(statusSource(), market::answeringSourceText(source));
}

int runSourceTests(int argc, char* argv[])
{
    MainWindowSourceTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestSources.moc"
