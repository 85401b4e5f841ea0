#include "SampleTrade.h"

#include "windows/DetailRefresh.h"
#include "windows/ProfitLossMenu.h"
#include "windows/ProfitLossWindow.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using corvanta::AmountUnit;
using corvanta::SellTargetBox;
using corvanta::model::TradeText;
using corvanta::test::SampleTrade;
using corvanta::windows::ProfitLossWindow;

namespace {

template <class T> T* part(const QWidget& window, const QString& name)
{
    auto* found = window.findChild<T*>(name);
    if (!found)
        qFatal("no %s in the window", qPrintable(name));
    return found;
}

QString cell(const ProfitLossWindow& window, int row, int column)
{
    const QAbstractItemModel* model = part<QTableView>(window, u"ladderGrid"_s)->model();
    return model->index(row, column).data().toString();
}

QColor cellColour(const ProfitLossWindow& window, int row, int column)
{
    const QAbstractItemModel* model = part<QTableView>(window, u"ladderGrid"_s)->model();
    return model->index(row, column).data(Qt::ForegroundRole).value<QColor>();
}

void sendFocus(QWidget* widget, QEvent::Type type)
{
    QFocusEvent event(type, Qt::OtherFocusReason);
    QApplication::sendEvent(widget, &event);
}

// The refresh timer's tick, without waiting for it.
void tick(const ProfitLossWindow& window)
{
    auto* timer = window.findChild<QTimer*>();
    QVERIFY(timer);
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
}

} // namespace

class ProfitLossWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsTheLadderOfAPricedBuy_data();
    void showsTheLadderOfAPricedBuy();
    void aLadderThatCannotBeBuiltSaysWhy();
    void sellTargetsFollowTheMainWindow();
    void theMarkerGrowsByOnePerTickUpToSeventeen();
    void aTickRefreshesPriceGainAndHeaderButNotTheLadder();
    void stoppingKeepsTheCaptionAndClosingEmptiesTheMarker();
    void foldingTogglesBetweenTheTwoHeights();
    void theBuyBackBoxFollowsTheCurrentPrice_data();
    void theBuyBackBoxFollowsTheCurrentPrice();
    void theBuyBackIsExplainedWhileTypedThenTheHeaderReturns();
    void copyPutsTheGridOnTheClipboard();
    void theMenuHidesAndShowsTheMainWindow();
};

void ProfitLossWindowTest::showsTheLadderOfAPricedBuy_data()
{
    QTest::addColumn<bool>("tenThousands");
    QTest::newRow("yuan") << false;
    // A total shown in 万元 is switched back first, or the ladder would subtract 1.0035.
    QTest::newRow("ten thousands") << true;
}

void ProfitLossWindowTest::showsTheLadderOfAPricedBuy()
{
    QFETCH(bool, tenThousands);
    SampleTrade trade;
    if (tenThousands)
        trade.form.setAmountUnit(AmountUnit::TenThousandYuan);
    ProfitLossWindow window(trade.form);
    window.open(QRect());

    QCOMPARE(trade.form.total(), u"10035.00"_s);
    QCOMPARE(cell(window, 0, 0), u"10.05 ↑  0.5%"_s);
    QCOMPARE(cell(window, 0, 1), u"-30.20"_s);
    QCOMPARE(cell(window, 0, 5), u"-1.29%"_s);
    QCOMPARE(cell(window, 19, 0), u"11.00 ↑  10.0%"_s);
    QCOMPARE(cell(window, 19, 3), u"9.00 ↓  10.0%"_s);
    QCOMPARE(cellColour(window, 0, 0), QColor(0, 128, 0)); // a loss on the way up
    QCOMPARE(cellColour(window, 1, 1), QColor(Qt::red));
    QCOMPARE(cellColour(window, 0, 4), QColor(0, 128, 0));
    QCOMPARE(part<QLabel>(window, u"Label1"_s)->text(),
             u"平安银行  买入价格:10.00  数量:1000  今开:10.00  昨收:9.90  涨停:10.89  跌停:8.91\n"
             u"　　　　  时价:10.20  　　 主买:  10.19    主卖:  10.21"_s);
    QCOMPARE(part<QLineEdit>(window, u"syl"_s)->text(), u"10.20"_s);
    QCOMPARE(part<QLabel>(window, u"Label58"_s)->text(), u"盈利:119.20元"_s);
    QVERIFY(part<QLabel>(window, u"ladderNote"_s)->isHidden());
}

void ProfitLossWindowTest::aLadderThatCannotBeBuiltSaysWhy()
{
    SampleTrade trade;
    trade.set(TradeText::Total, u"0"_s);
    ProfitLossWindow window(trade.form);
    window.open(QRect());
    QVERIFY(!part<QLabel>(window, u"ladderNote"_s)->isHidden());
    QVERIFY(!part<QLabel>(window, u"ladderNote"_s)->text().isEmpty());
    QCOMPARE(cell(window, 0, 1), u"10004.80"_s);
    QCOMPARE(cell(window, 0, 2), QString());
    QVERIFY(!cellColour(window, 0, 2).isValid()); // an empty cell is drawn plain

    // The next showing with a sound total rebuilds the whole ladder.
    window.close();
    trade.set(TradeText::Total, u"10035.00"_s);
    window.open(QRect());
    QVERIFY(part<QLabel>(window, u"ladderNote"_s)->isHidden());
    QCOMPARE(cell(window, 0, 2), u"-.30%"_s);
}

void ProfitLossWindowTest::sellTargetsFollowTheMainWindow()
{
    SampleTrade trade;
    trade.form.setSellTargetEnabled(SellTargetBox::LossAmount, false);
    trade.form.setSellTargetEnabled(SellTargetBox::LossPercent, false);
    trade.form.setAmountUnit(AmountUnit::TenThousandYuan);
    ProfitLossWindow window(trade.form);
    window.open(QRect());
    QVERIFY(!part<QLineEdit>(window, u"Edit11"_s)->isEnabled());
    QVERIFY(!part<QLineEdit>(window, u"Edit10"_s)->isEnabled());
    QVERIFY(part<QLineEdit>(window, u"Edit8"_s)->isEnabled());

    trade.form.setAmountUnit(
        AmountUnit::TenThousandYuan); // the user switched to 万元 while the window was open
    auto* amount = part<QLineEdit>(window, u"Edit8"_s);
    amount->clear();
    QTest::keyClicks(amount, u"100"_s);
    QCOMPARE(trade.form.total(), u"10035.00"_s);
    QCOMPARE(part<QLineEdit>(window, u"Edit7"_s)->text(), u"10.18"_s);
    QCOMPARE(part<QLineEdit>(window, u"Edit9"_s)->text(), u"1.00"_s);
}

void ProfitLossWindowTest::theMarkerGrowsByOnePerTickUpToSeventeen()
{
    SampleTrade trade;
    ProfitLossWindow window(trade.form);
    window.open(QRect());
    window.popupMenu()->intervalActions.at(0)->trigger();
    auto* header = part<QGroupBox>(window, u"grp2"_s);
    QCOMPARE(part<QGroupBox>(window, u"grp1"_s)->title(), u"各价位盈亏明细        刷新时间:5秒"_s);
    for (int n = 1; n <= 16; ++n) {
        tick(window);
        QCOMPARE(header->title(), QString(n + 1, u'>'));
    }
    tick(window);
    QCOMPARE(header->title(), u">"_s);
    tick(window);
    QCOMPARE(header->title(), u">>"_s);
}

void ProfitLossWindowTest::aTickRefreshesPriceGainAndHeaderButNotTheLadder()
{
    SampleTrade trade;
    ProfitLossWindow window(trade.form);
    window.open(QRect());
    window.popupMenu()->intervalActions.at(3)->trigger();
    QCOMPARE(part<QGroupBox>(window, u"grp1"_s)->title(), u"各价位盈亏明细        刷新时间:60秒"_s);

    trade.set(TradeText::CurrentPrice, u"9.90"_s);
    trade.set(TradeText::Total, u"10135.00"_s);
    tick(window);
    QCOMPARE(trade.quoteRequests, 1);
    QCOMPARE(part<QLineEdit>(window, u"syl"_s)->text(), u"9.90"_s);
    QCOMPARE(part<QLabel>(window, u"Label58"_s)->text(), u"盈利:-279.60元"_s);
    QVERIFY(part<QLabel>(window, u"Label58"_s)->styleSheet().contains(u"blue"_s));
    QVERIFY(part<QLabel>(window, u"Label1"_s)->text().contains(u"时价:9.90"_s));
    QCOMPARE(cell(window, 0, 1), u"-30.20"_s); // still the ladder of the showing

    // No price fetched: the price is taken, the last gain stays.
    trade.set(TradeText::CurrentPrice, u"-"_s);
    tick(window);
    QCOMPARE(part<QLineEdit>(window, u"syl"_s)->text(), u"-"_s);
    QCOMPARE(part<QLabel>(window, u"Label58"_s)->text(), u"盈利:-279.60元"_s);
}

void ProfitLossWindowTest::stoppingKeepsTheCaptionAndClosingEmptiesTheMarker()
{
    SampleTrade trade;
    ProfitLossWindow window(trade.form);
    QSignalSpy mainShown(&window, &ProfitLossWindow::showMainWindowRequested);
    window.open(QRect());
    auto* timer = window.findChild<QTimer*>();
    window.popupMenu()->intervalActions.at(1)->trigger();
    QCOMPARE(timer->interval(), 15000);
    tick(window);
    window.popupMenu()->stopAction->trigger();
    QVERIFY(!timer->isActive());
    QCOMPARE(part<QGroupBox>(window, u"grp1"_s)->title(), u"各价位盈亏明细        刷新时间:15秒"_s);
    QCOMPARE(part<QGroupBox>(window, u"grp2"_s)->title(), u">>"_s);

    window.popupMenu()->intervalActions.at(5)->trigger();
    QCOMPARE(timer->interval(), 300000);
    window.close();
    QVERIFY(!timer->isActive());
    QCOMPARE(part<QGroupBox>(window, u"grp2"_s)->title(), QString());
    QCOMPARE(mainShown.count(), 1);
    window.open(QRect());
    QVERIFY(!timer->isActive()); // showing again does not restart it
}

void ProfitLossWindowTest::foldingTogglesBetweenTheTwoHeights()
{
    SampleTrade trade;
    ProfitLossWindow window(trade.form);
    window.open(QRect());
    auto* grid = part<QTableView>(window, u"ladderGrid"_s);
    auto* group = part<QGroupBox>(window, u"grp1"_s);
    QCOMPARE(window.height(), 597);
    window.popupMenu()->foldAction->trigger();
    QCOMPARE(window.height(), 288);
    QCOMPARE(grid->height(), 93);
    QCOMPARE(group->height(), 213);
    window.popupMenu()->foldAction->trigger();
    QCOMPARE(window.height(), 597);
    QCOMPARE(grid->height(), 393);
    QCOMPARE(group->height(), 513);
}

void ProfitLossWindowTest::theBuyBackBoxFollowsTheCurrentPrice_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byFocusOut");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("a price typed") << u"9.5"_s << false << true;
    QTest::newRow("emptied") << QString() << false << false;
    QTest::newRow("emptied, then left") << QString() << true << false;
    QTest::newRow("no price fetched yet") << u"-"_s << true << true;
}

void ProfitLossWindowTest::theBuyBackBoxFollowsTheCurrentPrice()
{
    QFETCH(QString, typed);
    QFETCH(bool, byFocusOut);
    QFETCH(bool, enabled);
    SampleTrade trade;
    trade.set(TradeText::CurrentPrice, enabled ? QString() : u"10.20"_s);
    ProfitLossWindow window(trade.form);
    window.open(QRect());
    auto* current = part<QLineEdit>(window, u"syl"_s);
    auto* buyBack = part<QLineEdit>(window, u"Edit1"_s);
    QCOMPARE(buyBack->isEnabled(), !enabled);
    if (byFocusOut) {
        current->setText(typed);
        sendFocus(current, QEvent::FocusOut);
    } else {
        current->clear();
        QTest::keyClicks(current, typed);
        if (typed.isEmpty())
            QTest::keyClick(current, Qt::Key_Backspace);
    }
    QCOMPARE(buyBack->isEnabled(), enabled);
}

void ProfitLossWindowTest::theBuyBackIsExplainedWhileTypedThenTheHeaderReturns()
{
    SampleTrade trade;
    ProfitLossWindow window(trade.form);
    window.open(QRect());
    auto* header = part<QLabel>(window, u"Label1"_s);
    auto* buyBack = part<QLineEdit>(window, u"Edit1"_s);
    auto* gain = part<QLabel>(window, u"Label4"_s);
    const QString shownHeader = header->text();

    sendFocus(buyBack, QEvent::FocusIn);
    QTest::keyClicks(buyBack, u"9.80"_s);
    QCOMPARE(gain->text(), u"310.000"_s);
    QCOMPARE(header->text(), u"该股以当前价格:10.20卖出，当股价跌到价位:9.80后买入\n"
                             u"回涨到当前价位:10.20 后多赚取的金额为:310.000"_s);
    QCOMPARE(buyBack->toolTip(), u"以当前价格:10.20卖出，\n当股价跌到价位:9.80后买入,\n"
                                 u"该股价回涨到当前价位:10.20后多赚取的金额"_s);
    buyBack->clear();
    QTest::keyClicks(buyBack, u"10.5"_s);
    QCOMPARE(gain->text(), u"-392.800"_s);
    QVERIFY(gain->styleSheet().contains(u"blue"_s));
    sendFocus(buyBack, QEvent::FocusOut);
    QCOMPARE(header->text(), shownHeader);

    // Without a fetched price nothing is computed.
    part<QLineEdit>(window, u"syl"_s)->setText(u"-"_s);
    buyBack->clear();
    QTest::keyClicks(buyBack, u"9"_s);
    QCOMPARE(gain->text(), u"-392.800"_s);
}

void ProfitLossWindowTest::copyPutsTheGridOnTheClipboard()
{
    SampleTrade trade;
    ProfitLossWindow window(trade.form);
    window.open(QRect());
    QGuiApplication::clipboard()->clear();
    window.popupMenu()->copyAction->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
    QCOMPARE(lines.size(), 43);
    QCOMPARE(lines.at(0), u"盈利价位　盈利金额　盈利比率　亏损价位　亏损金额　亏损比率　"_s);
    QCOMPARE(lines.at(1), QString(38, u'='));
    QCOMPARE(lines.at(2), u"10.05 ↑  0.5%　-30.20　-.30%　9.95 ↓  0.5%　-129.80　-1.29%　"_s);
    QCOMPARE(lines.at(41), QString(38, u'='));
}

void ProfitLossWindowTest::theMenuHidesAndShowsTheMainWindow()
{
    SampleTrade trade;
    ProfitLossWindow window(trade.form);
    QSignalSpy hidden(&window, &ProfitLossWindow::hideMainWindowRequested);
    QSignalSpy shown(&window, &ProfitLossWindow::showMainWindowRequested);
    QAction* toggle = window.popupMenu()->mainWindowAction;
    QCOMPARE(toggle->text(), u"隐藏主窗口(&H)"_s);
    toggle->trigger();
    QCOMPARE(toggle->text(), u"显示主窗口(&S)"_s);
    QCOMPARE(hidden.count(), 1);
    toggle->trigger();
    QCOMPARE(toggle->text(), u"隐藏主窗口(&H)"_s);
    QCOMPARE(shown.count(), 1);
}

QTEST_MAIN(ProfitLossWindowTest)
#include "ProfitLossWindowTest.moc"
