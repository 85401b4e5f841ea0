#include "MainWindowTestSupport.h"

#include "app/LedgerPanel.h"
#include "app/MainMenus.h"
#include "app/ParametersPanel.h"
#include "app/QuoteMenusController.h"
#include "app/QuoteSourceController.h"
#include "app/TradePanel.h"
#include "ledger/LedgerView.h"
#include "ledger/LedgerWriter.h"
#include "ledger/Settings.h"
#include "model/TradeForm.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

// The program's wiring: the ledger grid follows changes announced by the ledger's
// change path whoever makes them, the trade port reads and writes the main
// window's trade, and the proxy reaches the network state only.
class MainWindowProgramTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { endTest(h); }

    void gridFollowsChangesMadeElsewhere();
    void tradeFormReadsAndWritesTheTrade();
    void tradeFormMakesACodeCurrent();
    void proxyTakesEffectForTheQuotesOnly();
    void aDamagedPageIsToldOnceTheWindowHasShown_data();
    void aDamagedPageIsToldOnceTheWindowHasShown();
    void everySettingsWriteIsAnnounced_data();
    void everySettingsWriteIsAnnounced();

private:
    app::Program& program() const { return h->program(); }
    QTableView* grid() const { return h->window().ledger().ledgerGrid; }

    std::unique_ptr<Harness> h;
};

void MainWindowProgramTest::init()
{
    h = std::make_unique<Harness>();
}

void MainWindowProgramTest::gridFollowsChangesMadeElsewhere()
{
    QVERIFY(h->open());
    ledger::LedgerWriter& writer = program().ledgerWriter();

    writer.record(tradeEntry(u"600000"_s, u"沪市股票0"_s, Direction::Buy, 100, u"8"_s));
    QCOMPARE(gridColumn(grid(), ledger::NameColumn), (QStringList{u"唐钢股份"_s, u"沪市股票0"_s}));

    writer.renameStock(u"000709"_s, u"河钢股份"_s, u"HGGF"_s);
    QCOMPARE(gridColumn(grid(), ledger::NameColumn), (QStringList{u"河钢股份"_s, u"沪市股票0"_s}));

    writer.clearLedger();
    QCOMPARE(grid()->model()->rowCount(), 0);
    QVERIFY(h->prompter.messages.isEmpty());
}

void MainWindowProgramTest::everySettingsWriteIsAnnounced_data()
{
    QTest::addColumn<QString>("write");
    for (const char* write :
         {"save settings", "fee rule", "quote server", "新浪 host", "腾讯 host", "quote source"})
        QTest::newRow(write) << QString::fromUtf8(write);
}

// Whichever menu writes a settings row, the change path announces the settings
// once, after the write.
void MainWindowProgramTest::everySettingsWriteIsAnnounced()
{
    QFETCH(QString, write);
    QVERIFY(h->open());
    app::MainWindow& window = h->window();
    QSignalSpy changed(&program().ledgerWriter().notifier(), &ledger::LedgerNotifier::changed);
    if (write == u"save settings"_s)
        window.menus().saveSettings->trigger();
    else if (write == u"fee rule"_s)
        window.menus().feeRules->actions().at(1)->trigger();
    else if (write == u"quote server"_s)
        QVERIFY(window.quoteMenus().setQuoteServer(closedHost));
    else if (write == u"新浪 host"_s || write == u"腾讯 host"_s)
        QVERIFY(window.quoteMenus().setSourceHost(write == u"腾讯 host"_s, closedHost));
    else
        window.quoteSourceMenu().item(u"腾讯"_s)->trigger();
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().value<ledger::LedgerChanges>(),
             ledger::LedgerChanges(ledger::LedgerChange::Settings));
}

void MainWindowProgramTest::tradeFormReadsAndWritesTheTrade()
{
    QVERIFY(h->open());
    app::MainWindow& w = h->window();
    model::TradeForm& form = program().tradeForm();
    pickStock(w, u"000709"_s);
    priceTrade(w, u"1200"_s, u"14.46"_s);

    QCOMPARE(form.stockCode(), u"000709"_s);
    QCOMPARE(form.stockName(), u"唐钢股份"_s);
    QCOMPARE(form.quantity(), u"1200"_s);
    QCOMPARE(form.price(), u"14.46"_s);
    QVERIFY(form.isBuy());
    QVERIFY(!form.quantityInLots());
    QCOMPARE(form.total(), w.trade().zfze->text());
    QCOMPARE(form.totalFees(), w.trade().fyhj->text());
    QCOMPARE(form.breakEven(), w.trade().bbjg->text());
    QCOMPARE(form.costPerShare(), w.trade().mrcb->text());
    QVERIFY(!form.total().isEmpty());

    form.setQuantity(u"300"_s);
    form.setPrice(u"9.5"_s);
    form.setCurrentPrice(u"10.25"_s);
    QCOMPARE(w.trade().quantity->text(), u"300"_s);
    QCOMPARE(w.trade().price->text(), u"9.5"_s);
    QCOMPARE(w.trade().currentPrice->text(), u"10.25"_s);
    QCOMPARE(form.currentPrice(), u"10.25"_s);

    click(w.trade().unitGroup->button(1));
    QVERIFY(form.quantityInLots());
    w.parameters().setDirection(Direction::Sell);
    QVERIFY(!form.isBuy());
}

void MainWindowProgramTest::tradeFormMakesACodeCurrent()
{
    QVERIFY(h->open());
    app::MainWindow& w = h->window();
    model::TradeForm& form = program().tradeForm();

    form.chooseStock(u"600001"_s);

    QCOMPARE(form.stockCode(), u"600001"_s);
    QCOMPARE(form.stockName(), u"沪市股票1"_s);
    QCOMPARE(w.trade().title(), u"沪市股票1"_s);
    QCOMPARE(w.parameters().market(), MarketKind::ShanghaiA);
}

void MainWindowProgramTest::proxyTakesEffectForTheQuotesOnly()
{
    ledger::SettingsToSave settings;
    settings.proxyHost = u"127.0.0.1"_s;
    settings.proxyPort = 3128;
    ledger::saveSettings(h->db, settings, {});
    QVERIFY(h->open());

    const QNetworkProxy proxy = program().network().networkProxy();
    QCOMPARE(proxy.type(), QNetworkProxy::HttpProxy);
    QCOMPARE(proxy.hostName(), u"127.0.0.1"_s);
    QCOMPARE(proxy.port(), 3128);
    QCOMPARE(QNetworkProxy::applicationProxy().type(), QNetworkProxy::NoProxy);
}

void MainWindowProgramTest::aDamagedPageIsToldOnceTheWindowHasShown_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::newRow("intact ledger") << false;
    QTest::newRow("damaged page") << true;
}

// A start shows the window before it reads the whole ledger. A page damaged where
// the start does not read (here: the last pages, of a table the program never
// reads) is then told, naming the file, and the program ends.
void MainWindowProgramTest::aDamagedPageIsToldOnceTheWindowHasShown()
{
    QFETCH(bool, damaged);
    h->db.exec("CREATE TABLE filler (bytes BLOB)");
    for (int i = 0; i < 64; ++i)
        h->db.exec("INSERT INTO filler VALUES (zeroblob(600))");
    if (damaged) {
        QFile file(h->ledgerFile());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        const qsizetype page = bytes.size() - 3 * 1024 + 100;
        for (qsizetype i = page; i < page + 64; ++i)
            bytes[i] = char(bytes[i] ^ 0x5a);
        QVERIFY(file.seek(0));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    h->pagesReadOnceShown = true;
    // The window shows; whether it is still there to be activated depends on how
    // soon the check ends it.
    const bool shown = h->open();
    if (!damaged) {
        QVERIFY(shown);
        QTest::qWait(200);
        QVERIFY(h->prompter.messages.isEmpty());
        QVERIFY(h->window().isVisible());
        QVERIFY(!program().ledgerFoundDamaged());
        return;
    }
    QTRY_COMPARE(h->prompter.messages.size(), 1);
    const QString told = h->prompter.messages.first();
    QVERIFY2(told.contains(QDir::toNativeSeparators(h->ledgerFile())), qPrintable(told));
    QVERIFY2(told.contains(u"损坏"_s), qPrintable(told));
    QTRY_VERIFY(!h->window().isVisible());
    QVERIFY(program().ledgerFoundDamaged());
}

int runProgramTests(int argc, char* argv[])
{
    MainWindowProgramTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestProgram.moc"
