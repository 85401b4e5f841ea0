#include "MainWindowTestSupport.h"

#include "../market/FakeHttpProxy.h"
#include "app/InputBox.h"
#include "app/LedgerPanel.h"
#include "app/MainMenus.h"
#include "app/ParametersPanel.h"
#include "app/QuoteMenusController.h"
#include "app/QuoteRefreshController.h"
#include "app/QuoteSourceController.h"
#include "app/SellTargetGroup.h"
#include "app/StatusBarPanels.h"
#include "app/TradePanel.h"
#include "calc/Numbers.h"
#include "ledger/Settings.h"
#include "market/ConnectionCheck.h"
#include "market/NetworkState.h"
#include "quote-server/QuoteServer.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTcpServer>
#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(corvanta::tools::Answer)
Q_DECLARE_METATYPE(corvanta::app::InfoPortal)

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

class SwitchableConnection final : public market::ConnectionCheck {
public:
    explicit SwitchableConnection(bool& connected) : m_connected(connected) {}
    bool isConnected() override { return m_connected; }

private:
    bool& m_connected;
};

QList<tools::ListedStock> listedStocks()
{
    return {{u"600000"_s, u"浦发银行"_s},
            {u"300001"_s, u"特锐德"_s},
            {u"688001"_s, u"华兴源创"_s},
            {u"600518"_s, u"ST康美"_s},
            {u"000709"_s, u"唐钢股份"_s}};
}

// A loopback port that refuses connections: it was listened on and given up.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

class MainWindowQuoteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void statusTexts_data();
    void statusTexts();
    void singleTickWithRefreshOff();
    void proxyLineAlternates();
    void startingConditions_data();
    void startingConditions();
    void failureShownInRed_data();
    void failureShownInRed();
    void limitCaptionsFollowTheBoard_data();
    void limitCaptionsFollowTheBoard();
    void gainAtTheCurrentPrice_data();
    void gainAtTheCurrentPrice();
    void gainFollowsARepricing();
    void aFetchedGainIsInYuanWhileAmountsShowInTenThousands();
    void aFetchedGainReadsLikeATypedOne();
    void leavingTheCodeFetchesThroughTheSettingsProxy_data();
    void leavingTheCodeFetchesThroughTheSettingsProxy();
    void badQuoteServerChangesNothing();
    void choosingALedgerRowFetchesItsQuote();
    void aCodeTypedRightAfterActivationIsFetched();
    void enteringAnInputStopsTheLiveRefresh_data();
    void enteringAnInputStopsTheLiveRefresh();
    void infoPages_data();
    void infoPages();
    void trayItemsKeepTheTrayHintCurrent_data();
    void trayItemsKeepTheTrayHintCurrent();
    void enteringTodaysOpenSelectsIt();

private:
    // Opens the window with the fake connection check and the quote server.
    void openWindow();
    app::QuoteRefreshController& quotes() const { return h->window().quotes(); }
    // Fetches the current stock as "获取当前价格(&H)" does; false when no fetch ended.
    bool fetchNow();

    std::unique_ptr<tools::QuoteServer> server;
    std::unique_ptr<Harness> h;
    bool connected = true;
};

void MainWindowQuoteTest::init()
{
    connected = true;
    server = std::make_unique<tools::QuoteServer>(listedStocks(), tools::QuoteServerOptions{});
    QVERIFY(server->listen());
    h = std::make_unique<Harness>();
}

void MainWindowQuoteTest::cleanup()
{
    endTest(h);
    server.reset();
}

void MainWindowQuoteTest::openWindow()
{
    QVERIFY(h->open());
    quotes().setConnectionCheck(std::make_unique<SwitchableConnection>(connected));
    // These cases are about the quote page per stock.
    h->window().quoteSourceMenu().item(u"金融界"_s)->trigger();
    QVERIFY(h->window().quoteMenus().setQuoteServer(server->address().toString()));
}

bool MainWindowQuoteTest::fetchNow()
{
    QSignalSpy shown(&quotes(), &app::QuoteRefreshController::quoteShown);
    // The popup's item is offered only while the direction choice is disabled,
    // which these cases do not need: its action runs directly.
    quotes().fetchIfReady();
    return shown.count() > 0 || shown.wait(5000);
}

void MainWindowQuoteTest::statusTexts_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("text");
    QTest::newRow("connected") << true << u"网络连接正常"_s;
    QTest::newRow("not connected") << false << u"网络未连接"_s;
}

void MainWindowQuoteTest::statusTexts()
{
    QFETCH(bool, up);
    QFETCH(QString, text);
    openWindow();
    connected = up;
    quotes().tick();
    QCOMPARE(h->window().status().network->text(), text);
    QCOMPARE(h->program().network().networkOk(), up);
    // The sample trade is the grid's current row: only the network decides.
    QCOMPARE(h->window().menus().floatingBar->isEnabled(), up);
}

void MainWindowQuoteTest::singleTickWithRefreshOff()
{
    openWindow();
    app::MainMenus& m = h->window().menus();
    // While the network is down the timer keeps checking.
    connected = false;
    quotes().setTimerActive(true);
    quotes().tick();
    QVERIFY(quotes().timerActive());
    // The first tick that finds it up stops it, the refresh being off.
    connected = true;
    quotes().tick();
    QVERIFY(!quotes().timerActive());
    // Checked, it runs on; unchecked, it stops at once.
    m.tradeRefresh->trigger();
    QVERIFY(m.tradeRefresh->isChecked() && m.trayRefresh->isChecked());
    quotes().tick();
    QVERIFY(quotes().timerActive());
    m.trayRefresh->trigger();
    QVERIFY(!m.tradeRefresh->isChecked());
    QVERIFY(!quotes().timerActive());
}

void MainWindowQuoteTest::proxyLineAlternates()
{
    openWindow();
    market::NetworkState& network = h->program().network();
    QLabel* contact = h->window().status().contact;
    network.setProxy(u"127.0.0.1"_s, 8080);
    network.setStatusCycle(market::NetworkState::ProxyLineFrom - 2);
    quotes().tick();
    QCOMPARE(contact->text(), QString());
    quotes().tick();
    QCOMPARE(contact->text(), u"代理IP:127.0.0.1:8080"_s);
    network.setStatusCycle(market::NetworkState::CycleEnd);
    quotes().tick();
    QCOMPARE(network.statusCycle(), 0);
    QCOMPARE(contact->text(), QString());
    // A port of 0 never shows the proxy line.
    network.setProxy(u"127.0.0.1"_s, 0);
    network.setStatusCycle(market::NetworkState::ProxyLineFrom);
    quotes().tick();
    QCOMPARE(contact->text(), QString());
}

void MainWindowQuoteTest::startingConditions_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("networkUp");
    QTest::addColumn<bool>("idle");
    QTest::addColumn<int>("requests");
    QTest::newRow("a stock") << u"600000"_s << true << true << 1;
    QTest::newRow("placeholder") << u"000000"_s << true << true << 0;
    QTest::newRow("five characters") << u"60000"_s << true << true << 0;
    QTest::newRow("network down") << u"600000"_s << false << true << 0;
    QTest::newRow("fetch running") << u"600000"_s << true << false << 0;
}

void MainWindowQuoteTest::startingConditions()
{
    QFETCH(QString, code);
    QFETCH(bool, networkUp);
    QFETCH(bool, idle);
    QFETCH(int, requests);
    openWindow();
    connected = networkUp;
    quotes().tick();
    h->program().network().setQuoteFetchIdle(idle);
    h->window().trade().code->setText(code);
    const QString shownBid = h->window().trade().bestBid->text();
    const bool ended = fetchNow();
    QCOMPARE(ended, networkUp && idle);
    QCOMPARE(int(server->requests().size()), requests);
    if (requests == 0)
        QCOMPARE(h->window().trade().bestBid->text(), shownBid);
    // Every end leaves the fetch idle again.
    if (ended)
        QVERIFY(h->program().network().quoteFetchIdle());
}

void MainWindowQuoteTest::failureShownInRed_data()
{
    QTest::addColumn<tools::Answer>("answer");
    QTest::addColumn<bool>("refused");
    QTest::newRow("one line") << tools::Answer::OneLine << false;
    QTest::newRow("http error") << tools::Answer::Error << false;
    QTest::newRow("dropped") << tools::Answer::Drop << false;
    QTest::newRow("oversize") << tools::Answer::Oversize << false;
    QTest::newRow("refused") << tools::Answer::Page << true;
}

void MainWindowQuoteTest::failureShownInRed()
{
    QFETCH(tools::Answer, answer);
    QFETCH(bool, refused);
    openWindow();
    server->setOptions({std::chrono::milliseconds(0), answer, {}, 500, 1});
    if (refused) {
        QVERIFY(h->window().quoteMenus().setQuoteServer(u"http://127.0.0.1:"_s +
                                                        QString::number(closedPort())));
    }
    quotes().tick();
    h->window().trade().code->setText(u"600000"_s);
    QVERIFY(fetchNow());
    QLabel* result = h->window().trade().gainLabel;
    QCOMPARE(result->text(), u"网络连接超时!"_s);
    QVERIFY(result->styleSheet().contains(u"red"_s));
    QVERIFY(h->program().network().quoteFetchIdle());
}

void MainWindowQuoteTest::limitCaptionsFollowTheBoard_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("ratio");
    QTest::newRow("main board") << u"600000"_s << u"浦发银行"_s << 0.1;
    QTest::newRow("ChiNext") << u"300001"_s << u"特锐德"_s << 0.2;
    QTest::newRow("STAR") << u"688001"_s << u"华兴源创"_s << 0.2;
    QTest::newRow("ST") << u"600518"_s << u"ST康美"_s << 0.05;
}

void MainWindowQuoteTest::limitCaptionsFollowTheBoard()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(double, ratio);
    openWindow();
    quotes().tick();
    h->window().makeStockCurrent(code, name);
    QVERIFY(fetchNow());
    const app::TradePanel& t = h->window().trade();
    const auto close = num::parseNumber(t.lastClose->text());
    QVERIFY2(close && *close > 0, qPrintable(t.lastClose->text()));
    // The exchanges' limits: from the previous close, half up to the fen.
    const auto fen = [](double v) {
        return QString::number(std::floor(v * 100 + 0.5) / 100, 'f', 2);
    };
    QCOMPARE(h->window().profitTargets().title(),
             u"盈利抛售计算  涨停:"_s + fen(*close * (1 + ratio)));
    QCOMPARE(h->window().lossTargets().title(),
             u"亏损抛售计算  跌停:"_s + fen(*close * (1 - ratio)));
    QVERIFY(!t.currentPrice->text().isEmpty() && t.currentPrice->text() != u"-"_s);
}

void MainWindowQuoteTest::gainAtTheCurrentPrice_data()
{
    QTest::addColumn<QString>("buyPrice");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<bool>("loss");
    QTest::newRow("gain in red") << u"0.01"_s << u"red"_s << false;
    QTest::newRow("loss in blue") << u"9999"_s << u"blue"_s << true;
}

void MainWindowQuoteTest::gainAtTheCurrentPrice()
{
    QFETCH(QString, buyPrice);
    QFETCH(QString, colour);
    QFETCH(bool, loss);
    openWindow();
    quotes().tick();
    pickStock(h->window(), u"600000"_s);
    priceTrade(h->window(), u"100"_s, buyPrice);
    QVERIFY(fetchNow());
    QLabel* result = h->window().trade().gainLabel;
    QVERIFY2(result->text().startsWith(u"盈利:"_s), qPrintable(result->text()));
    QVERIFY(result->text().endsWith(u"元"_s));
    QCOMPARE(result->text().contains(u'-'), loss);
    QVERIFY(result->styleSheet().contains(colour));
}

// With the live refresh off no fetch comes after the typing: the gain shown for the
// inputs of the fetch (no quantity yet) is worked out again when they are priced.
void MainWindowQuoteTest::gainFollowsARepricing()
{
    openWindow();
    quotes().tick();
    QVERIFY(!quotes().timerActive());
    pickStock(h->window(), u"600000"_s);
    QVERIFY(fetchNow());
    QLabel* result = h->window().trade().gainLabel;
    const QString stale = result->text();
    QVERIFY2(stale.startsWith(u"盈利:-"_s), qPrintable(stale));

    priceTrade(h->window(), u"1000"_s, u"0.01"_s);
    app::TradePanel& t = h->window().trade();
    const double current = num::parseNumber(t.currentPrice->text()).value_or(0);
    QVERIFY(current > 0);
    const auto proceeds =
        tradeValueAfterFees(h->window().fees().snapshot(), 1000, current, Direction::Sell);
    QVERIFY(proceeds);
    const double gain = *proceeds - num::parseNumber(t.zfze->text()).value_or(0);
    QCOMPARE(result->text(), u"盈利:"_s + QString::number(gain, 'f', 2) + u"元"_s);
    QVERIFY(result->text() != stale);
    QVERIFY(result->styleSheet().contains(u"red"_s));
}

void MainWindowQuoteTest::aFetchedGainIsInYuanWhileAmountsShowInTenThousands()
{
    openWindow();
    quotes().tick();
    pickStock(h->window(), u"600000"_s);
    priceTrade(h->window(), u"1000"_s, u"5.55"_s);
    app::TradePanel& t = h->window().trade();
    const double paid = num::parseNumber(t.zfze->text()).value_or(0);
    QVERIFY(paid > 5550);

    t.amountUnit->setCurrentIndex(1); // 万元
    QCOMPARE(t.zfzeUnit->text(), u"万元"_s);
    QVERIFY(fetchNow());
    const double current = num::parseNumber(t.currentPrice->text()).value_or(0);
    QVERIFY(current > 0);
    const auto proceeds =
        tradeValueAfterFees(h->window().fees().snapshot(), 1000, current, Direction::Sell);
    QVERIFY(proceeds);
    QCOMPARE(t.gainLabel->text(), u"盈利:"_s + QString::number(*proceeds - paid, 'f', 2) + u"元"_s);
}

// A gain below one yuan after a fetch shows as the same price typed into 当前价
// shows it: ".50", no digit before the point, and in the same colour.
void MainWindowQuoteTest::aFetchedGainReadsLikeATypedOne()
{
    openWindow();
    quotes().tick();
    pickStock(h->window(), u"600000"_s);
    QVERIFY(fetchNow());
    app::TradePanel& t = h->window().trade();
    const double first = num::parseNumber(t.currentPrice->text()).value_or(0);
    QVERIFY(first > 3);
    // Ten shares bought at the price whose gain at the fetched price is nearest
    // zero: the next fetch moves the price by 5 fen at most, the gain by .50.
    const FeeSnapshot fees = h->window().fees().snapshot();
    const auto proceeds = tradeValueAfterFees(fees, 10, first, Direction::Sell);
    QVERIFY(proceeds);
    double bestPrice = 0, bestGain = 1e9;
    for (int fen = int(std::lround(first * 100)) - 300; fen <= std::lround(first * 100); ++fen) {
        const auto paid = tradeValueAfterFees(fees, 10, fen / 100.0, Direction::Buy);
        if (paid && std::abs(*proceeds - *paid) < std::abs(bestGain)) {
            bestGain = *proceeds - *paid;
            bestPrice = fen / 100.0;
        }
    }
    priceTrade(h->window(), u"10"_s, QString::number(bestPrice, 'f', 2));

    QVERIFY(fetchNow());
    const QString fetched = t.gainLabel->text();
    const QString fetchedColour = t.gainLabel->styleSheet();
    const auto gain = num::parseNumber(fetched.mid(3).chopped(1));
    QVERIFY2(gain && std::abs(*gain) < 1, qPrintable(fetched));
    QVERIFY2(fetched.startsWith(u"盈利:."_s) || fetched.startsWith(u"盈利:-."_s),
             qPrintable(fetched));

    retype(t.currentPrice, t.currentPrice->text());
    QCOMPARE(fetched, t.gainLabel->text());
    QCOMPARE(fetchedColour, t.gainLabel->styleSheet());
}

void MainWindowQuoteTest::leavingTheCodeFetchesThroughTheSettingsProxy_data()
{
    QTest::addColumn<bool>("proxySet");
    QTest::newRow("through the proxy") << true;
    QTest::newRow("directly") << false;
}

void MainWindowQuoteTest::leavingTheCodeFetchesThroughTheSettingsProxy()
{
    QFETCH(bool, proxySet);
    market::FakeHttpProxy proxy;
    QVERIFY(proxy.listen());
    ledger::SettingsToSave settings;
    settings.proxyHost = u"127.0.0.1"_s;
    settings.proxyPort = proxySet ? proxy.port() : 0;
    ledger::saveSettings(h->db, settings, ledger::defaultFeeRates());
    openWindow();
    quotes().tick();

    QSignalSpy shown(&quotes(), &app::QuoteRefreshController::quoteShown);
    pickStock(h->window(), u"000709"_s);
    QVERIFY(shown.count() > 0 || shown.wait(5000));

    const QByteArray path = "/htmdata/html/000709.htm";
    if (proxySet) {
        QCOMPARE(int(proxy.requestLines().size()), 1);
        QCOMPARE(proxy.requestLines().constFirst(),
                 "GET " + server->address().toString().toLatin1() + path + " HTTP/1.1");
    } else {
        QVERIFY(proxy.requestLines().isEmpty());
    }
    QCOMPARE(int(server->requests().size()), 1);
    const tools::ReceivedRequest& request = server->requests().constFirst();
    QCOMPARE(request.target, path);
    QCOMPARE(request.headers.value("accept"), "text/html, */*");
    QCOMPARE(request.headers.value("user-agent"), "Mozilla/3.0 (compatible; Indy Library)");
    QCOMPARE(h->window().trade().currentPrice->text().isEmpty(), false);
}

void MainWindowQuoteTest::badQuoteServerChangesNothing()
{
    openWindow();
    quotes().tick();
    QVERIFY(!h->window().quoteMenus().setQuoteServer(u"ftp://example/"_s));
    QCOMPARE(int(h->prompter.messages.size()), 1);
    h->window().trade().code->setText(u"600000"_s);
    QVERIFY(fetchNow());
    QCOMPARE(int(server->requests().size()), 1);
}

// A row chosen in the ledger switches the live refresh on, and the refresh's next
// ticks bring that stock's quote; choosing rows again holds the next quote back.
void MainWindowQuoteTest::choosingALedgerRowFetchesItsQuote()
{
    openWindow();
    app::MainWindow& w = h->window();
    // As at start: the first tick finds the network and, the refresh being off,
    // stops the timer.
    quotes().tick();
    QVERIFY(!quotes().timerActive());

    clickGridRow(w.ledger().ledgerGrid, 0);
    QVERIFY(quotes().timerActive());
    QVERIFY(w.menus().tradeRefresh->isChecked());
    QVERIFY(w.menus().trayRefresh->isChecked());
    QVERIFY(w.trade().refreshProgress->isVisibleTo(&w));

    QSignalSpy shown(&quotes(), &app::QuoteRefreshController::quoteShown);
    for (int tick = 0; tick < 3 && server->requests().isEmpty(); ++tick)
        quotes().tick();
    QVERIFY(shown.count() > 0 || shown.wait(5000));
    QCOMPARE(int(server->requests().size()), 1);
    QCOMPARE(server->requests().constFirst().target, "/htmdata/html/000709.htm");
    QVERIFY(!w.trade().currentPrice->text().isEmpty());

    // Chosen again at once: no second quote until the throttle has counted up.
    clickGridRow(w.ledger().ledgerGrid, 0);
    quotes().tick();
    QTest::qWait(100);
    QCOMPARE(int(server->requests().size()), 1);
}

// Activating the main window checks the connection at once: a code typed before
// the timer's first tick is fetched when the input is left.
void MainWindowQuoteTest::aCodeTypedRightAfterActivationIsFetched()
{
    openWindow();
    app::MainWindow& w = h->window();
    h->program().network().setNetworkOk(false);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!h->program().network().networkOk());

    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(h->program().network().networkOk());
    QSignalSpy shown(&quotes(), &app::QuoteRefreshController::quoteShown);
    pickStock(w, u"000709"_s);
    QVERIFY(shown.count() > 0 || shown.wait(5000));
    QCOMPARE(int(server->requests().size()), 1);
    QCOMPARE(server->requests().constFirst().target, "/htmdata/html/000709.htm");
}

void MainWindowQuoteTest::enteringAnInputStopsTheLiveRefresh_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("stops");
    QTest::newRow("entering the quantity") << u"clear"_s << u"quantity"_s << true;
    QTest::newRow("entering the price") << u"clear"_s << u"price"_s << true;
    QTest::newRow("entering the code") << u"clear"_s << u"code"_s << true;
    QTest::newRow("entering the current price") << u"clear"_s << u"currentPrice"_s << true;
    QTest::newRow("entering the trade date") << u"clear"_s << u"tradeDate"_s << true;
    QTest::newRow("leaving the ledger grid") << u"grid"_s << u"clear"_s << true;
    QTest::newRow("going to a button") << u"clear"_s << u"delete"_s << false;
}

// A figure the user is about to type is not overwritten by the next quote: entering
// one of the inputs, or leaving the grid, switches the live refresh off.
void MainWindowQuoteTest::enteringAnInputStopsTheLiveRefresh()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, stops);
    openWindow();
    app::MainWindow& w = h->window();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QHash<QString, QWidget*> widgets{
        {u"clear"_s, w.trade().clearButton},
        {u"delete"_s, w.trade().deleteButton},
        {u"grid"_s, w.ledger().ledgerGrid},
        {u"quantity"_s, w.trade().quantity},
        {u"price"_s, w.trade().price},
        {u"code"_s, w.trade().code},
        {u"currentPrice"_s, w.trade().currentPrice},
        {u"tradeDate"_s, w.parameters().tradeDate},
    };
    // A buy row chosen: the current price can be typed.
    clickGridRow(w.ledger().ledgerGrid, 0);
    widgets[from]->setFocus(Qt::MouseFocusReason);
    QCOMPARE(QApplication::focusWidget(), widgets[from]);
    if (!w.menus().tradeRefresh->isChecked())
        w.menus().tradeRefresh->trigger();
    QVERIFY(w.menus().tradeRefresh->isChecked());

    widgets[to]->setFocus(Qt::MouseFocusReason);
    QCOMPARE(w.menus().tradeRefresh->isChecked(), !stops);
    QCOMPARE(w.menus().trayRefresh->isChecked(), !stops);
    QCOMPARE(w.trade().refreshProgress->isVisibleTo(&w), !stops);
}

void MainWindowQuoteTest::infoPages_data()
{
    QTest::addColumn<app::InfoPortal>("portal");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("path");
    QTest::newRow("sohu") << app::InfoPortal::Sohu << u"600000"_s << u"/q/bc.php"_s;
    QTest::newRow("sina shanghai")
        << app::InfoPortal::Sina << u"600000"_s << u"/realstock/company/sh600000/zjld.shtml"_s;
    QTest::newRow("sina shenzhen")
        << app::InfoPortal::Sina << u"000709"_s << u"/realstock/company/sz000709/zjld.shtml"_s;
    QTest::newRow("sina chinext") << app::InfoPortal::Sina << u"300001"_s
                                  << u"/realstock/company/sz300001/zjld.shtml"_s;
    QTest::newRow("sina fund") << app::InfoPortal::Sina << u"150001"_s << u"/q/bc.php"_s;
    QTest::newRow("hexun") << app::InfoPortal::Hexun << u"600000"_s << u"/idio_01.aspx"_s;
}

void MainWindowQuoteTest::infoPages()
{
    QFETCH(app::InfoPortal, portal);
    QFETCH(QString, code);
    QFETCH(QString, path);
    const QUrl url = app::infoPageUrl(portal, code);
    QCOMPARE(url.path(), path);
    if (!url.hasQuery())
        return;
    QVERIFY(url.query().endsWith(u"="_s + code));
}

void MainWindowQuoteTest::trayItemsKeepTheTrayHintCurrent_data()
{
    QTest::addColumn<bool>("query");
    QTest::newRow("RefreshItem") << false;
    QTest::newRow("StockQuery") << true;
}

// Following a stock from the tray's items keeps the tray hint's price current, as
// hiding to the tray does: the tick that starts a fetch turns the hint's spinner.
void MainWindowQuoteTest::trayItemsKeepTheTrayHintCurrent()
{
    QFETCH(bool, query);
    openWindow();
    app::MainMenus& m = h->window().menus();
    if (query) {
        whenInputBoxShows([](app::InputBoxDialog& box) {
            box.input()->setText(u"600000"_s);
            click(box.okButton());
        });
        m.trayQuery->trigger();
    } else {
        m.trayRefresh->trigger();
    }
    QVERIFY(m.trayRefresh->isChecked());
    QSignalSpy shown(&quotes(), &app::QuoteRefreshController::quoteShown);
    for (int tick = 0; tick < 5 && !h->tray.tip.endsWith(u"元 \\"_s); ++tick)
        quotes().tick();
    QVERIFY2(h->tray.tip.endsWith(u"元 \\"_s), qPrintable(h->tray.tip));
    QVERIFY(shown.count() > 0 || shown.wait(5000));
}

// Clicking 今开 selects its text, ready to be typed over once made editable.
void MainWindowQuoteTest::enteringTodaysOpenSelectsIt()
{
    openWindow();
    QLineEdit* open = h->window().trade().todayOpen;
    open->setText(u"8.50"_s);
    QTest::mouseClick(open, Qt::LeftButton);
    QTRY_COMPARE(open->selectedText(), u"8.50"_s);
}

int runQuoteTests(int argc, char* argv[])
{
    MainWindowQuoteTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestQuotes.moc"
