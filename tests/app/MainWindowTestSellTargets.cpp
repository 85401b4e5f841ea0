#include "MainWindowTestSupport.h"

#include "app/ParametersPanel.h"
#include "app/SellTargetGroup.h"
#include "app/TradePanel.h"
#include "ledger/Settings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

// Sell targets of a priced buy: 1200 shares at 14.46 in Shenzhen, buy rates 1 ‰ and
// 3 ‰ with other fee 5 (total paid 17426.41, transfer and other 5.00), and saved sell
// rates 1 ‰ and 3 ‰. The commission of the buy amount at the sell rate is 52.06, so
// the target prices use the proportional commission.
class MainWindowSellTargetTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { endTest(h); }

    void targetsFollowTheTypedBox_data();
    void targetsFollowTheTypedBox();
    void gainAtTheCurrentPrice_data();
    void gainAtTheCurrentPrice();
    void targetsWaitForAPricedTrade();
    void targetsWhileTenThousandsShowKeepThatUnit();

private:
    std::unique_ptr<Harness> h;
};

void MainWindowSellTargetTest::init()
{
    h = std::make_unique<Harness>();
    ledger::SettingsToSave sell;
    sell.side = Direction::Sell;
    sell.otherFee = u"5"_s;
    sell.stampRate = u"1"_s;
    sell.commissionRate = u"3"_s;
    ledger::saveSettings(h->db, sell, {});
    QVERIFY(h->open());
    app::MainWindow& w = h->window();
    pickStock(w, u"000709"_s);
    retype(w.parameters().stampRate, u"1"_s);
    priceTrade(w, u"1200"_s, u"14.46"_s);
    QCOMPARE(w.trade().zfze->text(), u"17426.41"_s);
}

void MainWindowSellTargetTest::targetsFollowTheTypedBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("firstBox");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("secondBox");
    QTest::addColumn<QString>("second");

    QTest::newRow("profit amount")
        << u"Edit8"_s << u"1000"_s << u"Edit7"_s << u"15.42"_s << u"Edit9"_s << u"5.74"_s;
    QTest::newRow("profit percent")
        << u"Edit9"_s << u"10"_s << u"Edit7"_s << u"16.04"_s << u"Edit8"_s << u"1742.64"_s;
    QTest::newRow("loss amount") << u"Edit11"_s << u"500"_s << u"Edit12"_s << u"14.17"_s
                                 << u"Edit10"_s << u"2.87"_s;
    QTest::newRow("loss percent") << u"Edit10"_s << u"5"_s << u"Edit12"_s << u"13.86"_s
                                  << u"Edit11"_s << u"871.32"_s;
    QTest::newRow("profit at a price")
        << u"Edit7"_s << u"16"_s << u"Edit8"_s << u"1691.79"_s << u"Edit9"_s << u"9.71"_s;
    QTest::newRow("loss at a price")
        << u"Edit12"_s << u"14"_s << u"Edit11"_s << u"698.61"_s << u"Edit10"_s << u"4.01"_s;
    // The sale just repays the total at the target formula's price.
    QTest::newRow("profit amount 0")
        << u"Edit8"_s << u"0"_s << u"Edit7"_s << u"14.58"_s << u"Edit9"_s << u".00"_s;
}

void MainWindowSellTargetTest::targetsFollowTheTypedBox()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, firstBox);
    QFETCH(QString, first);
    QFETCH(QString, secondBox);
    QFETCH(QString, second);
    app::MainWindow& w = h->window();
    const QStringList inputsBefore{w.trade().otherFee->text(),
                                   w.parameters().stampRate->currentText(),
                                   w.parameters().commissionRate->currentText()};

    retype(h->find<QLineEdit>(box), typed);

    QCOMPARE(h->find<QLineEdit>(firstBox)->text(), first);
    QCOMPARE(h->find<QLineEdit>(secondBox)->text(), second);
    // The buy as priced is left exactly as it was.
    QCOMPARE(w.parameters().direction(), Direction::Buy);
    QCOMPARE(QStringList({w.trade().otherFee->text(), w.parameters().stampRate->currentText(),
                          w.parameters().commissionRate->currentText()}),
             inputsBefore);
    QVERIFY(w.trade().recordBuyButton->isEnabled());
}

void MainWindowSellTargetTest::gainAtTheCurrentPrice_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("gain") << u"15"_s << u"盈利:496.59元"_s << QColor(Qt::red);
    QTest::newRow("loss") << u"14"_s << u"盈利:-698.61元"_s << QColor(Qt::blue);
}

void MainWindowSellTargetTest::gainAtTheCurrentPrice()
{
    QFETCH(QString, price);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    app::TradePanel& t = h->window().trade();

    retype(t.currentPrice, price);

    QCOMPARE(t.gainLabel->text(), text);
    t.gainLabel->ensurePolished();
    QCOMPARE(t.gainLabel->palette().color(t.gainLabel->foregroundRole()), colour);

    // Emptied, nothing is computed and the label keeps its text.
    retype(t.currentPrice, QString());
    QCOMPARE(t.gainLabel->text(), text);
}

void MainWindowSellTargetTest::targetsWaitForAPricedTrade()
{
    // A fresh window: nothing priced yet.
    QVERIFY(h->reopen());
    app::MainWindow& w = h->window();
    for (const QLineEdit* input :
         {w.profitTargets().amount, w.profitTargets().percent, w.lossTargets().amount,
          w.lossTargets().percent, w.trade().currentPrice})
        QVERIFY(!input->isEnabled());
    QVERIFY(w.profitTargets().price->isEnabled());
    QVERIFY(w.lossTargets().price->isEnabled());

    priceTrade(w, u"100"_s, u"10"_s);
    for (const QLineEdit* input :
         {w.profitTargets().amount, w.profitTargets().percent, w.lossTargets().amount,
          w.lossTargets().percent, w.trade().currentPrice})
        QVERIFY(input->isEnabled());
}

void MainWindowSellTargetTest::targetsWhileTenThousandsShowKeepThatUnit()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    QTest::keyClick(t.amountUnit, Qt::Key_Down);
    QCOMPARE(t.zfze->text(), u"1.7426"_s);

    // The targets and the gain are those of the 元 amounts ("profit amount" and
    // "gain" above), and the panel goes on showing 万元.
    retype(w.profitTargets().amount, u"1000"_s);
    QCOMPARE(w.profitTargets().price->text(), u"15.42"_s);
    QCOMPARE(w.profitTargets().percent->text(), u"5.74"_s);
    retype(t.currentPrice, u"15"_s);
    QCOMPARE(t.gainLabel->text(), u"盈利:496.59元"_s);

    QCOMPARE(t.amountUnit->currentText(), u"万元"_s);
    QCOMPARE(t.zfze->text(), u"1.7426"_s);
    QCOMPARE(t.zfzeUnit->text(), u"万元"_s);
}

int runSellTargetTests(int argc, char* argv[])
{
    MainWindowSellTargetTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestSellTargets.moc"
