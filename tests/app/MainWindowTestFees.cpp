#include "MainWindowTestSupport.h"

#include "app/InputBox.h"
#include "app/MainMenus.h"
#include "app/ParametersPanel.h"
#include "app/TradePanel.h"
#include "calc/Numbers.h"
#include "ledger/Settings.h"
#include "ledger/sql/Statement.h"
#include "model/TradeForm.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

// The eight results in the order the calculator writes them:
// jyje, yhs, yj, qtzf, fyhj, zfze, mrcb, bbjg.
QStringList results(const app::TradePanel& trade)
{
    QStringList texts;
    for (const QLineEdit* field : trade.resultFields())
        texts.append(field->text());
    return texts;
}

const QStringList untouched{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s};

// 1200 shares at 14.46 in Shenzhen, 1 ‰ stamp duty, 3 ‰ commission, other fee 5.
const QStringList shenzhen1200{u"17352.00"_s, u"17.35"_s,    u"52.06"_s,  u"5.00"_s,
                               u"74.41"_s,    u"17426.41"_s, u"14.522"_s, u"14.585"_s};

} // namespace

class MainWindowFeeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<Harness>();
        QVERIFY(h->open());
    }
    void cleanup() { endTest(h); }

    void pricesTheTypedTrade_data();
    void pricesTheTypedTrade();
    void failedConversionKeepsLaterResults_data();
    void failedConversionKeepsLaterResults();
    void tenThousandsRoundTripKeepsTheYuanAmounts();
    void theTradeFormFollowsThePanelBothWays();
    void emptyPriceLeavesResultsAndDisablesAmountUnit();
    void keyFilters_data();
    void keyFilters();
    void rateBoxesFilterTheKeysTheyReceive();
    void pastedTextMustReadAsANumber();
    void inputMethodTextIsRefusedByNumericFields_data();
    void inputMethodTextIsRefusedByNumericFields();
    void directionShowsTheSideAndItsSavedRates();
    void choicesMoveTheFocus();
    void rulesByTradeDatePriceTheTrade_data();
    void rulesByTradeDatePriceTheTrade();
    void feeRuleChoiceIsStoredAndShownInBothPlaces();

private:
    void typeRates(const QString& stamp, const QString& commission, const QString& otherFee);

    std::unique_ptr<Harness> h;
};

namespace {

// The fee group's choice, picked with the mouse's item.
void chooseRule(app::ParametersPanel& p, int index)
{
    p.feeRule->setCurrentIndex(index);
    Q_EMIT p.feeRule->activated(index);
}

// "最低佣金(&M)..." answered with the text typed.
void setMinimum(app::MainWindow& w, const QString& typed)
{
    whenInputBoxShows([typed](app::InputBoxDialog& box) {
        box.input()->selectAll();
        QTest::keyClicks(box.input(), typed);
        click(box.okButton());
    });
    w.menus().commissionMinimum->trigger();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

QString storedRow(sql::Database& db, const char* key)
{
    auto query = db.prepare("SELECT gpmc FROM gpmc WHERE gpid = ?1");
    query.bind(1, QString::fromLatin1(key));
    return query.step() ? query.text(0) : u"<none>"_s;
}

} // namespace

void MainWindowFeeTest::rulesByTradeDatePriceTheTrade_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("market");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QStringList>("expected"); // yhs, yj, qtzf
    QTest::addColumn<QString>("stampHint");
    QTest::addColumn<QString>("transferHint");

    // 1000 shares at 10.00, commission 0.25 ‰ with a 0-yuan minimum, other fee 5;
    // the stamp-rate box says 3 and is not read.
    QTest::newRow("Shanghai buy of 2024-01-02")
        << u"2024-01-02"_s << 1 << 0 << QStringList{u".00"_s, u"2.50"_s, u"5.10"_s}
        << u"印花税 0（买入不收，2023-08-28起）"_s
        << u"过户费 0.01‰（沪深，按成交金额，2023-08-28起）"_s;
    QTest::newRow("Shenzhen sell of 2023-08-28")
        << u"2023-08-28"_s << 0 << 1 << QStringList{u"5.00"_s, u"2.50"_s, u"5.10"_s}
        << u"印花税 0.5‰（卖出，2023-08-28起）"_s
        << u"过户费 0.01‰（沪深，按成交金额，2023-08-28起）"_s;
    QTest::newRow("Shenzhen sell of the day before")
        << u"2023-08-27"_s << 0 << 1 << QStringList{u"10.00"_s, u"2.50"_s, u"5.10"_s}
        << u"印花税 1‰（卖出，2022-04-29起）"_s
        << u"过户费 0.01‰（沪深，按成交金额，2022-04-29起）"_s;
    QTest::newRow("Shanghai buy of 2008")
        << u"2008-05-06"_s << 1 << 0 << QStringList{u"10.00"_s, u"2.50"_s, u"6.00"_s}
        << u"印花税 1‰（买卖双方，2008-04-24起）"_s
        << u"过户费 每1000股1元，最低1元（上海，2008-04-24起）"_s;
}

// Under the rules by trade date the date picks stamp duty and transfer fee, the
// fields' hints name the rule, and the buy is recorded with those fees.
void MainWindowFeeTest::rulesByTradeDatePriceTheTrade()
{
    QFETCH(QString, date);
    QFETCH(int, market);
    QFETCH(int, direction);
    QFETCH(QStringList, expected);
    QFETCH(QString, stampHint);
    QFETCH(QString, transferHint);
    app::MainWindow& w = h->window();
    app::ParametersPanel& p = w.parameters();
    app::TradePanel& t = w.trade();

    chooseRule(p, 1);
    setMinimum(w, u"0"_s);
    click(p.directionGroup->button(direction));
    pickStock(w, market == 1 ? u"600003"_s : u"000709"_s);
    QCOMPARE(int(p.market()), market);
    typeRates(u"3"_s, u"0.25"_s, u"5"_s);
    // A later date first: changing it prices the trade again.
    p.tradeDate->setDate(QDate(2030, 1, 1));
    priceTrade(w, u"1000"_s, u"10.00"_s);
    p.tradeDate->setDate(QDate::fromString(date, Qt::ISODate));

    QCOMPARE((QStringList{t.yhs->text(), t.yj->text(), t.qtzf->text()}), expected);
    QCOMPARE(t.yhs->toolTip(), stampHint);
    QCOMPARE(t.qtzf->toolTip(), transferHint);
    QCOMPARE(t.yj->toolTip(), u"佣金 0.25‰，最低0元"_s);
    QVERIFY(!p.stampRate->isEnabled());
    QVERIFY(w.menus().commissionMinimum->isEnabled());

    if (direction == 0) {
        QVERIFY(t.recordBuyButton->isEnabled());
        click(t.recordBuyButton);
        QVERIFY(h->prompter.messages.isEmpty());
        auto query = h->db.prepare(
            "SELECT 印花税,过户费等 FROM gpjl WHERE 交易状态='买入' ORDER BY id DESC LIMIT 1");
        QVERIFY(query.step());
        QCOMPARE(num::money(query.real(0)), expected[0]);
        QCOMPARE(num::money(query.real(1)), expected[2]);
    }
}

// The choice shows in the fee group and under 设置, is stored at once and lasts
// across a restart; back on the rates set the stamp-rate box prices again and
// the hints go.
void MainWindowFeeTest::feeRuleChoiceIsStoredAndShownInBothPlaces()
{
    app::ParametersPanel* p = &h->window().parameters();
    QActionGroup* menu = h->window().menus().feeRules;
    QCOMPARE(p->feeRule->currentText(), u"按设置的费率"_s);
    QCOMPARE(menu->checkedAction()->text(), u"按设置的费率"_s);
    QVERIFY(p->stampRate->isEnabled());
    QVERIFY(!h->window().menus().commissionMinimum->isEnabled());
    QCOMPARE(storedRow(h->db, "fygz"), u"<none>"_s);

    menu->actions().at(1)->trigger();
    QCOMPARE(p->feeRule->currentText(), u"按交易日期的法定规则"_s);
    QCOMPARE(storedRow(h->db, "fygz"), u"按交易日期的法定规则"_s);
    // A minimum beyond 5 yuan or no number is refused and changes nothing.
    setMinimum(h->window(), u"8"_s);
    QCOMPARE(h->prompter.messages.value(0), u"最低佣金应为0到5元之间的数字，没有改动。"_s);
    QCOMPARE(storedRow(h->db, "yjzd"), u"5"_s);
    setMinimum(h->window(), u"2"_s);
    QCOMPARE(storedRow(h->db, "yjzd"), u"2"_s);

    QVERIFY(h->reopen());
    p = &h->window().parameters();
    menu = h->window().menus().feeRules;
    QCOMPARE(p->feeRule->currentText(), u"按交易日期的法定规则"_s);
    QCOMPARE(menu->checkedAction()->text(), u"按交易日期的法定规则"_s);
    QVERIFY(h->window().menus().commissionMinimum->isEnabled());
    app::TradePanel& t = h->window().trade();
    p->tradeDate->setDate(QDate(2024, 1, 2));
    typeRates(u"1"_s, u"0.25"_s, u"5"_s);
    priceTrade(h->window(), u"100"_s, u"10.00"_s);
    QCOMPARE(t.yj->text(), u"2"_s);
    QCOMPARE(t.yhs->text(), u".00"_s);

    chooseRule(*p, 0);
    QCOMPARE(menu->checkedAction()->text(), u"按设置的费率"_s);
    QCOMPARE(storedRow(h->db, "fygz"), u"按设置的费率"_s);
    QVERIFY(p->stampRate->isEnabled());
    // Priced again with the stamp-rate box, which the rules by date had left at 3 ‰.
    QCOMPARE(t.yhs->text(), u"3.00"_s);
    QCOMPARE(t.yj->text(), u"5"_s);
    QVERIFY(t.yhs->toolTip().isEmpty());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainWindowFeeTest::typeRates(const QString& stamp, const QString& commission,
                                  const QString& otherFee)
{
    app::MainWindow& w = h->window();
    retype(w.parameters().stampRate, stamp);
    retype(w.parameters().commissionRate, commission);
    retype(w.trade().otherFee, otherFee);
}

void MainWindowFeeTest::pricesTheTypedTrade_data()
{
    QTest::addColumn<int>("direction"); // 0 buy, 1 sell
    QTest::addColumn<QString>("code");  // typed first when not empty
    QTest::addColumn<int>("market");    // clicked when not -1
    QTest::addColumn<int>("unit");      // 0 股, 1 手
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("stamp");
    QTest::addColumn<QString>("commission");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("Shenzhen 1200 @ 14.46")
        << 0 << QString() << 0 << 0 << u"1200"_s << u"14.46"_s << u"1"_s << u"3"_s << shenzhen1200;
    QTest::newRow("Shanghai adds the transfer fee")
        << 0 << QString() << 1 << 0 << u"1200"_s << u"14.46"_s << u"1"_s << u"3"_s
        << QStringList{u"17352.00"_s, u"17.35"_s,    u"52.06"_s,  u"6.20"_s,
                       u"75.61"_s,    u"17427.61"_s, u"14.523"_s, u"14.587"_s};
    QTest::newRow("Shanghai code 600000 sets the market")
        << 0 << u"600000"_s << -1 << 0 << u"1200"_s << u"14.46"_s << u"1"_s << u"3"_s
        << QStringList{u"17352.00"_s, u"17.35"_s,    u"52.06"_s,  u"6.20"_s,
                       u"75.61"_s,    u"17427.61"_s, u"14.523"_s, u"14.587"_s};
    QTest::newRow("ChiNext code 300001 is Shenzhen")
        << 0 << u"300001"_s << -1 << 0 << u"1200"_s << u"14.46"_s << u"1"_s << u"3"_s
        << shenzhen1200;
    QTest::newRow("100 @ 10.00 Shanghai: minimum commission and transfer fee")
        << 0 << QString() << 1 << 0 << u"100"_s << u"10.00"_s << u"3"_s << u"3"_s
        << QStringList{u"1000.00"_s, u"3.00"_s,    u"5"_s,      u"6"_s,
                       u"14.00"_s,   u"1014.00"_s, u"10.140"_s, u"10.262"_s};
    QTest::newRow("100 @ 10.00 Shenzhen: other fee only")
        << 0 << QString() << 0 << 0 << u"100"_s << u"10.00"_s << u"3"_s << u"3"_s
        << QStringList{u"1000.00"_s, u"3.00"_s,    u"5"_s,      u"5"_s,
                       u"13.00"_s,   u"1013.00"_s, u"10.130"_s, u"10.241"_s};
    QTest::newRow("1000 shares reach the transfer-fee threshold")
        << 0 << QString() << 1 << 0 << u"1000"_s << u"10.00"_s << u"3"_s << u"3"_s
        << QStringList{u"10000.00"_s, u"30.00"_s,    u"30.00"_s,  u"6.00"_s,
                       u"66.00"_s,    u"10066.00"_s, u"10.066"_s, u"10.133"_s};
    QTest::newRow("900 shares pay the 1-yuan minimum")
        << 0 << QString() << 1 << 0 << u"900"_s << u"10.00"_s << u"3"_s << u"3"_s
        << QStringList{u"9000.00"_s, u"27.00"_s,   u"27.00"_s,  u"6"_s,
                       u"60.00"_s,   u"9060.00"_s, u"10.067"_s, u"10.134"_s};
    QTest::newRow("12 lots are 1200 shares")
        << 0 << QString() << 0 << 1 << u"12"_s << u"14.46"_s << u"1"_s << u"3"_s << shenzhen1200;
    QTest::newRow("warrant chosen: no stamp duty, no transfer fee")
        << 0 << QString() << 2 << 0 << u"1000"_s << u"1.50"_s << u"3"_s << u"3"_s
        << QStringList{u"1500.00"_s, u".00"_s,     u"5"_s,     u"5.00"_s,
                       u"10.00"_s,   u"1510.00"_s, u"1.510"_s, u"1.520"_s};
    QTest::newRow("warrant code 580010")
        << 0 << u"580010"_s << -1 << 0 << u"1000"_s << u"1.50"_s << u"3"_s << u"3"_s
        << QStringList{u"1500.00"_s, u".00"_s,     u"5"_s,     u"5.00"_s,
                       u"10.00"_s,   u"1510.00"_s, u"1.510"_s, u"1.520"_s};
    QTest::newRow("sell 1200 @ 14.46 Shenzhen")
        << 1 << QString() << 0 << 0 << u"1200"_s << u"14.46"_s << u"1"_s << u"3"_s
        << QStringList{u"17352.00"_s, u"17.35"_s,    u"52.06"_s,  u"5.00"_s,
                       u"74.41"_s,    u"17277.59"_s, u"14.398"_s, u"14.460"_s};
}

void MainWindowFeeTest::pricesTheTypedTrade()
{
    QFETCH(int, direction);
    QFETCH(QString, code);
    QFETCH(int, market);
    QFETCH(int, unit);
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, stamp);
    QFETCH(QString, commission);
    QFETCH(QStringList, expected);
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();

    click(w.parameters().directionGroup->button(direction));
    if (!code.isEmpty())
        pickStock(w, code);
    if (market >= 0)
        click(w.parameters().marketGroup->button(market));
    click(t.unitGroup->button(unit));
    typeRates(stamp, commission, u"5"_s);
    QVERIFY(!t.amountUnit->isEnabled());
    priceTrade(w, quantity, price);

    QCOMPARE(results(t), expected);
    QCOMPARE(t.recordBuyButton->isEnabled(), direction == 0);
    QCOMPARE(t.recordSellButton->isEnabled(), direction == 1);
    QVERIFY(t.amountUnit->isEnabled());
    QVERIFY(t.currentPrice->isEnabled());
}

void MainWindowFeeTest::failedConversionKeepsLaterResults_data()
{
    QTest::addColumn<QString>("otherFee");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("buyEnabled");

    // The other fee must be whole: the transfer step fails, the rest keep "0".
    QTest::newRow("other fee with a point stops after the commission")
        << u"5.5"_s << u"1200"_s << QStringList{u"17352.00"_s, u"52.06"_s, u"52.06"_s, u"0"_s,
                                                u"0"_s,        u"0"_s,     u"0"_s,     u"0"_s}
        << false;
    // Cost per share divides by the quantity.
    QTest::newRow("quantity 0 stops before the cost per share")
        << u"5"_s << u"0"_s
        << QStringList{u".00"_s, u".00"_s, u"5"_s, u"5"_s, u"10.00"_s, u"10.00"_s, u"0"_s, u"0"_s}
        << true;
}

void MainWindowFeeTest::failedConversionKeepsLaterResults()
{
    QFETCH(QString, otherFee);
    QFETCH(QString, quantity);
    QFETCH(QStringList, expected);
    QFETCH(bool, buyEnabled);
    app::TradePanel& t = h->window().trade();

    retype(t.otherFee, otherFee);
    priceTrade(h->window(), quantity, u"14.46"_s);

    QCOMPARE(results(t), expected);
    QCOMPARE(t.recordBuyButton->isEnabled(), buyEnabled);
    // The inputs were complete, so the amount unit is offered all the same.
    QVERIFY(t.amountUnit->isEnabled());
}

void MainWindowFeeTest::tenThousandsRoundTripKeepsTheYuanAmounts()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    typeRates(u"1"_s, u"3"_s, u"5"_s);
    priceTrade(w, u"1200"_s, u"14.46"_s);

    QTest::keyClick(t.amountUnit, Qt::Key_Down);
    QCOMPARE(t.amountUnit->currentText(), u"万元"_s);
    QCOMPARE(QStringList({t.jyje->text(), t.fyhj->text(), t.zfze->text()}),
             QStringList({u"1.7352"_s, u".0074"_s, u"1.7426"_s}));
    for (const QLabel* unit : {t.jyjeUnit, t.fyhjUnit, t.zfzeUnit})
        QCOMPARE(unit->text(), u"万元"_s);
    // Other results are not rescaled.
    QCOMPARE(t.yhs->text(), u"17.35"_s);

    // Back in 元 the amounts are those that were priced, not the four-decimal
    // texts scaled up again (17426.00 would lose 41 fen of the record).
    QTest::keyClick(t.amountUnit, Qt::Key_Up);
    QCOMPARE(QStringList({t.jyje->text(), t.fyhj->text(), t.zfze->text()}),
             QStringList({u"17352.00"_s, u"74.41"_s, u"17426.41"_s}));
    for (const QLabel* unit : {t.jyjeUnit, t.fyhjUnit, t.zfzeUnit})
        QCOMPARE(unit->text(), u"元"_s);

    // Pricing again while 万元 is shown goes back to 元 first.
    QTest::keyClick(t.amountUnit, Qt::Key_Down);
    QTest::keyClick(t.price, Qt::Key_End);
    QTest::keyClick(t.price, Qt::Key_Backspace);
    QTest::keyClicks(t.price, u"6"_s);
    QCOMPARE(t.amountUnit->currentText(), u"元"_s);
    QCOMPARE(t.zfzeUnit->text(), u"元"_s);
    QCOMPARE(results(t), shenzhen1200);
}

void MainWindowFeeTest::theTradeFormFollowsThePanelBothWays()
{
    using model::TradeText;
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    model::TradeForm& form = w.tradeForm();
    typeRates(u"1"_s, u"3"_s, u"5"_s);
    priceTrade(w, u"1200"_s, u"14.46"_s);

    // What the user typed and what the pricing wrote.
    QCOMPARE(form.quantity(), u"1200"_s);
    QCOMPARE(form.price(), u"14.46"_s);
    QCOMPARE(form.text(TradeText::StampRate), u"1"_s);
    QCOMPARE(form.text(TradeText::OtherFee), u"5"_s);
    QCOMPARE(form.totalFees(), u"74.41"_s);
    QCOMPARE(form.total(), u"17426.41"_s);
    QCOMPARE(form.breakEven(), u"14.585"_s);
    QVERIFY(form.isBuy());

    // Shown in 万元, the amounts are still kept in 元.
    QTest::keyClick(t.amountUnit, Qt::Key_Down);
    QCOMPARE(t.zfze->text(), u"1.7426"_s);
    QCOMPARE(form.amountUnit(), AmountUnit::TenThousandYuan);
    QCOMPARE(form.total(), u"17426.41"_s);
    QCOMPARE(form.totalFees(), u"74.41"_s);
    QCOMPARE(form.text(TradeText::TradeAmount), u"17352.00"_s);

    // What another window writes shows in the panel, amounts in the unit shown.
    form.setCurrentPrice(u"15.10"_s);
    QCOMPARE(t.currentPrice->text(), u"15.10"_s);
    form.setText(TradeText::Total, u"17426.41"_s);
    QCOMPARE(t.zfze->text(), u"1.7426"_s);
    form.setQuantity(u"300"_s);
    QCOMPARE(t.quantity->text(), u"300"_s);
    QTest::keyClick(t.amountUnit, Qt::Key_Up);
    QCOMPARE(t.zfze->text(), u"17426.41"_s);

    // The direction chosen in the panel is the form's.
    click(w.parameters().directionGroup->button(int(Direction::Sell)));
    QVERIFY(!form.isBuy());
    QCOMPARE(form.feeSnapshot().direction, Direction::Sell);
}

void MainWindowFeeTest::emptyPriceLeavesResultsAndDisablesAmountUnit()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    QVERIFY(!t.amountUnit->isEnabled());
    typeRates(u"1"_s, u"3"_s, u"5"_s);
    priceTrade(w, u"1200"_s, u"14.46"_s);
    QVERIFY(t.amountUnit->isEnabled());

    retype(t.price, QString());
    QCOMPARE(t.price->text(), QString());
    QCOMPARE(results(t), shenzhen1200);
    QVERIFY(!t.amountUnit->isEnabled());

    // A quantity typed while the price is empty changes nothing either.
    retype(t.quantity, u"300"_s);
    QCOMPARE(results(t), shenzhen1200);
    QVERIFY(!t.amountUnit->isEnabled());
}

void MainWindowFeeTest::keyFilters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("price refuses a leading point") << u"Edit5"_s << u".5"_s << u"5"_s;
    QTest::newRow("price refuses a second point") << u"Edit5"_s << u"1.2.3"_s << u"1.23"_s;
    QTest::newRow("price refuses 0 into 0") << u"Edit5"_s << u"00"_s << u"0"_s;
    QTest::newRow("price takes a point after 0") << u"Edit5"_s << u"0.5"_s << u"0.5"_s;
    QTest::newRow("price refuses letters") << u"Edit5"_s << u"1a2B"_s << u"12"_s;
    QTest::newRow("quantity refuses any point") << u"Edit4"_s << u"12.5"_s << u"125"_s;
    QTest::newRow("quantity refuses 0 into 0") << u"Edit4"_s << u"00"_s << u"0"_s;
    QTest::newRow("quantity refuses letters and blanks") << u"Edit4"_s << u"3x 1"_s << u"31"_s;
    QTest::newRow("stamp rate refuses a leading point") << u"stampRate"_s << u".5"_s << u"5"_s;
    QTest::newRow("commission rate refuses letters")
        << u"commissionRate"_s << u"0.2e"_s << u"0.2"_s;
    QTest::newRow("profit amount refuses a leading point") << u"Edit8"_s << u".5"_s << u"5"_s;
    QTest::newRow("loss price refuses letters") << u"Edit12"_s << u"9q"_s << u"9"_s;
    QTest::newRow("current price refuses a leading point") << u"syl"_s << u".7"_s << u"7"_s;
}

void MainWindowFeeTest::keyFilters()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    app::MainWindow& w = h->window();
    // A priced trade enables the sell-target boxes and the current price.
    priceTrade(w, u"100"_s, u"10"_s);

    QLineEdit* edit = field == u"stampRate"        ? w.parameters().stampRate->lineEdit()
                      : field == u"commissionRate" ? w.parameters().commissionRate->lineEdit()
                                                   : h->find<QLineEdit>(field);
    QVERIFY(edit);
    QVERIFY(edit->isEnabled());
    retype(edit, typed);
    QCOMPARE(edit->text(), expected);
}

void MainWindowFeeTest::rateBoxesFilterTheKeysTheyReceive()
{
    // The keyboard delivers keys to the combo box, which passes them to its line
    // edit directly: the rules must hold on that path too.
    QComboBox* box = h->window().parameters().stampRate;
    box->setFocus(Qt::OtherFocusReason);
    box->clearEditText();
    QTest::keyClicks(box, u".2a.5."_s);
    QCOMPARE(box->currentText(), u"2.5"_s);
}

void MainWindowFeeTest::pastedTextMustReadAsANumber()
{
    app::TradePanel& t = h->window().trade();
    for (const QString& pasted : {u"-5"_s, u"1e3"_s, u"12.5"_s, u"五"_s}) {
        t.quantity->clear();
        t.quantity->insert(pasted);
        QCOMPARE(t.quantity->text(), QString());
    }
    t.price->clear();
    t.price->insert(u"-3.5"_s);
    QCOMPARE(t.price->text(), QString());
    t.price->insert(u"12.50"_s);
    QCOMPARE(t.price->text(), u"12.50"_s);
}

void MainWindowFeeTest::inputMethodTextIsRefusedByNumericFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("price, Chinese numeral") << u"Edit5"_s << u"五"_s << u"12"_s;
    QTest::newRow("quantity, Chinese text") << u"Edit4"_s << u"一百股"_s << u"12"_s;
    QTest::newRow("quantity, a point") << u"Edit4"_s << u"1.5"_s << u"12"_s;
    QTest::newRow("current price, letters") << u"syl"_s << u"abc"_s << u"12"_s;
    QTest::newRow("price, digits and a point") << u"Edit5"_s << u"3.5"_s << u"123.5"_s;
}

void MainWindowFeeTest::inputMethodTextIsRefusedByNumericFields()
{
    QFETCH(QString, field);
    QFETCH(QString, committed);
    QFETCH(QString, expected);
    app::MainWindow& w = h->window();
    priceTrade(w, u"100"_s, u"10"_s);
    auto* edit = h->find<QLineEdit>(field);
    QVERIFY(edit);
    retype(edit, u"12"_s);

    commitText(edit, committed);
    QCOMPARE(edit->text(), expected);
}

void MainWindowFeeTest::directionShowsTheSideAndItsSavedRates()
{
    for (const auto& [side, other, stamp, commission] :
         {std::tuple{Direction::Buy, u"5"_s, u"3"_s, u"2.5"_s},
          std::tuple{Direction::Sell, u"6"_s, u"1"_s, u"0.3"_s}}) {
        ledger::SettingsToSave saved;
        saved.side = side;
        saved.otherFee = other;
        saved.stampRate = stamp;
        saved.commissionRate = commission;
        ledger::saveSettings(h->db, saved, {});
    }
    QVERIFY(h->reopen());
    app::MainWindow& w = h->window();
    app::ParametersPanel& p = w.parameters();
    app::TradePanel& t = w.trade();
    const auto inputs = [&] {
        return QStringList{t.otherFee->text(), p.stampRate->currentText(),
                           p.commissionRate->currentText()};
    };
    QCOMPARE(inputs(), QStringList({u"5"_s, u"3"_s, u"2.5"_s}));
    priceTrade(w, u"1000"_s, u"10"_s);
    QVERIFY(t.recordBuyButton->isEnabled());
    const QStringList priced = results(t);

    click(p.directionGroup->button(1));
    QCOMPARE(t.quantityCaption->text(), u"卖出数量"_s);
    QCOMPARE(t.priceCaption->text(), u"卖出价格"_s);
    QCOMPARE(t.totalCaption->text(), u"实收总额"_s);
    QCOMPARE(p.rateBox->title(), u"卖出税率"_s);
    QVERIFY(!t.mrcbCaption->isEnabled());
    QVERIFY(!t.bbjgCaption->isEnabled());
    QCOMPARE(t.mrcbCaption->text(), u"买入成本"_s);
    QCOMPARE(t.bbjgCaption->text(), u"保本价格"_s);
    QCOMPARE(inputs(), QStringList({u"6"_s, u"1"_s, u"0.3"_s}));
    QVERIFY(!t.recordBuyButton->isEnabled());
    // Nothing is priced again before the next key.
    QCOMPARE(results(t), priced);

    priceTrade(w, u"1000"_s, u"10"_s);
    QVERIFY(t.recordSellButton->isEnabled());
    click(p.directionGroup->button(0));
    QCOMPARE(t.quantityCaption->text(), u"买入数量"_s);
    QCOMPARE(t.priceCaption->text(), u"买入价格"_s);
    QCOMPARE(t.totalCaption->text(), u"支付总额"_s);
    QCOMPARE(p.rateBox->title(), u"买入税率"_s);
    QVERIFY(t.mrcbCaption->isEnabled());
    QVERIFY(t.bbjgCaption->isEnabled());
    QCOMPARE(t.mrcbCaption->text(), u"买入成本"_s);
    QCOMPARE(t.bbjgCaption->text(), u"保本价格"_s);
    QCOMPARE(inputs(), QStringList({u"5"_s, u"3"_s, u"2.5"_s}));
    QVERIFY(!t.recordSellButton->isEnabled());
}

void MainWindowFeeTest::choicesMoveTheFocus()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();

    click(t.unitGroup->button(1));
    QCOMPARE(t.unitSuffix->text(), u"手"_s);
    QCOMPARE(h->window().fees().snapshot().unitMultiplier, 100);
    QCOMPARE(QApplication::focusWidget(), t.quantity);

    click(w.parameters().marketGroup->button(1));
    QCOMPARE(h->window().fees().snapshot().transferFeeFlag, 1);
    QCOMPARE(QApplication::focusWidget(), t.code);

    click(t.unitGroup->button(0));
    QCOMPARE(t.unitSuffix->text(), u"股"_s);
    QCOMPARE(h->window().fees().snapshot().unitMultiplier, 1);
    QCOMPARE(QApplication::focusWidget(), t.quantity);
}

int runFeeTests(int argc, char* argv[])
{
    MainWindowFeeTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestFees.moc"
