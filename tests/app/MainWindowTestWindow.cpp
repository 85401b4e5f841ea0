#include "MainWindowTestSupport.h"

#include "app/InputBox.h"
#include "app/MainMenus.h"
#include "app/MonitorController.h"
#include "app/ParametersPanel.h"
#include "app/SellTargetGroup.h"
#include "app/StatusBarPanels.h"
#include "app/TradePanel.h"
#include "market/NetworkState.h"
#include "windows/MonitorWindow.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

enum class TitleAnswer { CommitChinese, TypeBlanks, Cancel };

} // namespace

} // namespace mwtest

Q_DECLARE_METATYPE(mwtest::TitleAnswer)

namespace mwtest {

class MainWindowBehaviourTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<Harness>(/*trayAvailable=*/true);
        QVERIFY(h->open());
    }
    void cleanup() { endTest(h); }

    void opacityFollowsTheSlider_data();
    void opacityFollowsTheSlider();
    void hideToTray_data();
    void hideToTray();
    void restoreFromTheTray_data();
    void restoreFromTheTray();
    void clearResetsTheTrade();
    void savedSellSettingsLeaveTheBuyTexts();
    void customTitle_data();
    void customTitle();
    void proxyDialog_data();
    void proxyDialog();
    void enterMovesToTheCodeInput_data();
    void enterMovesToTheCodeInput();

private:
    std::unique_ptr<Harness> h;
};

void MainWindowBehaviourTest::enterMovesToTheCodeInput_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("trade date") << u"tradeDate"_s;
    QTest::newRow("direction") << u"direction"_s;
    QTest::newRow("market") << u"market"_s;
}

void MainWindowBehaviourTest::enterMovesToTheCodeInput()
{
    QFETCH(QString, control);
    app::MainWindow& w = h->window();
    app::ParametersPanel& p = w.parameters();
    QWidget* from = control == u"tradeDate"_s ? static_cast<QWidget*>(p.tradeDate)
                    : control == u"direction"_s
                        ? static_cast<QWidget*>(p.directionGroup->checkedButton())
                        : static_cast<QWidget*>(p.marketGroup->checkedButton());
    from->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), from);

    QTest::keyClick(from, Qt::Key_Return);

    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.trade().code));
}

void MainWindowBehaviourTest::opacityFollowsTheSlider_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("opacity");
    QTest::newRow("far right: most transparent") << int(Qt::Key_End) << 155 << 100.0 / 255;
    QTest::newRow("far left: opaque") << int(Qt::Key_Home) << 0 << 1.0;
}

void MainWindowBehaviourTest::opacityFollowsTheSlider()
{
    QFETCH(int, key);
    QFETCH(int, position);
    QFETCH(double, opacity);
    QSlider* slider = h->window().parameters().opacitySlider;
    // Start between the ends, so either key moves the slider.
    QTest::keyClick(slider, Qt::Key_End);
    QTest::keyClick(slider, Qt::Key_PageDown);

    QTest::keyClick(slider, Qt::Key(key));

    QCOMPARE(slider->value(), position);
    QVERIFY(qFuzzyCompare(h->window().windowOpacity(), opacity));
}

void MainWindowBehaviourTest::hideToTray_data()
{
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("inTray");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<bool>("refreshOn");

    QTest::newRow("tray, a stock chosen")
        << true << u"000709"_s << true << u"000709-唐钢股份 当前价:0元,"_s << true;
    QTest::newRow("tray, placeholder code")
        << true << u"000000"_s << false << u"Corvanta Ostrel"_s << false;
    QTest::newRow("no tray, a stock chosen")
        << false << u"000709"_s << true << u"000709-唐钢股份 当前价:0元,"_s << true;
}

void MainWindowBehaviourTest::hideToTray()
{
    QFETCH(bool, trayAvailable);
    QFETCH(QString, code);
    QFETCH(bool, inTray);
    QFETCH(QString, toolTip);
    QFETCH(bool, refreshOn);
    h = std::make_unique<Harness>(trayAvailable);
    QVERIFY(h->open());
    app::MainWindow& w = h->window();
    pickStock(w, code);

    w.menus().hideToTray->trigger();

    QCOMPARE(h->window().tray().inTray(), inTray);
    QCOMPARE(h->tray.toolTip(), toolTip);
    // With a stock chosen its quote is kept current from the tray.
    QCOMPARE(w.menus().tradeRefresh->isChecked(), refreshOn);
    QCOMPARE(w.menus().trayRefresh->isChecked(), refreshOn);
    if (trayAvailable) {
        QVERIFY(h->tray.isVisible());
        QVERIFY(!w.isVisible());
    } else {
        // Without a tray to come back from, the window stays on the taskbar.
        QVERIFY(!h->tray.isVisible());
        QVERIFY(w.isVisible());
        QVERIFY(w.isMinimized());
    }
}

void MainWindowBehaviourTest::restoreFromTheTray_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("double-click on the icon") << true;
    QTest::newRow("还原(&H)") << false;
}

void MainWindowBehaviourTest::restoreFromTheTray()
{
    QFETCH(bool, doubleClick);
    app::MainWindow& w = h->window();
    pickStock(w, u"000709"_s);
    w.menus().hideToTray->trigger();
    QVERIFY(!w.isVisible());

    if (doubleClick)
        Q_EMIT h->tray.doubleClicked();
    else
        w.menus().trayRestore->trigger();

    QVERIFY(w.isVisible());
    QVERIFY(!w.isMinimized());
    QVERIFY(!h->tray.isVisible());
    QVERIFY(!h->window().tray().inTray());
    QCOMPARE(h->tray.toolTip(), u"Corvanta Ostrel"_s);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // Back from the tray the live refresh stops.
    QVERIFY(!w.menus().tradeRefresh->isChecked());
    QVERIFY(!w.menus().trayRefresh->isChecked());
}

void MainWindowBehaviourTest::clearResetsTheTrade()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    app::ParametersPanel& p = w.parameters();
    pickStock(w, u"000709"_s);
    click(p.directionGroup->button(1));
    click(t.unitGroup->button(1));
    p.tradeDate->setDate(QDate(2020, 2, 3));
    priceTrade(w, u"3"_s, u"10"_s);
    retype(t.currentPrice, u"11"_s);
    retype(w.profitTargets().amount, u"50"_s);
    QVERIFY(t.recordSellButton->isEnabled());

    click(t.clearButton);

    QList<QLineEdit*> zeroed{t.quantity,
                             t.price,
                             t.currentPrice,
                             w.profitTargets().amount,
                             w.profitTargets().percent,
                             w.profitTargets().price,
                             w.lossTargets().amount,
                             w.lossTargets().percent,
                             w.lossTargets().price};
    zeroed.append(t.resultFields());
    for (const QLineEdit* field : zeroed)
        QCOMPARE(field->text(), u"0"_s);
    QVERIFY(!t.currentPrice->isEnabled());
    QVERIFY(!w.profitTargets().amount->isEnabled());
    QVERIFY(!t.recordBuyButton->isEnabled());
    QVERIFY(!t.recordSellButton->isEnabled());
    QCOMPARE(p.direction(), Direction::Buy);
    QCOMPARE(t.quantityCaption->text(), u"买入数量"_s);
    QCOMPARE(t.unitSuffix->text(), u"股"_s);
    QCOMPARE(h->window().fees().snapshot().unitMultiplier, 1);
    QCOMPARE(p.tradeDate->date(), QDate::currentDate());
    QCOMPARE(QApplication::focusWidget(), t.code);
    // The stock stays chosen.
    QCOMPARE(t.code->text(), u"000709"_s);
}

void MainWindowBehaviourTest::savedSellSettingsLeaveTheBuyTexts()
{
    app::MainWindow& w = h->window();
    click(w.parameters().directionGroup->button(1));
    retype(w.trade().otherFee, u"6"_s);
    retype(w.parameters().stampRate, u"1"_s);
    retype(w.parameters().commissionRate, u"2"_s);

    w.menus().saveSettings->trigger();
    QCOMPARE(h->prompter.messages,
             QStringList{u"卖出费率设置、代理服务器地址、字体等保存成功按确定返回 "_s});

    QVERIFY(h->reopen());
    app::MainWindow& next = h->window();
    const auto inputs = [&] {
        return QStringList{next.trade().otherFee->text(),
                           next.parameters().stampRate->currentText(),
                           next.parameters().commissionRate->currentText()};
    };
    QCOMPARE(next.parameters().direction(), Direction::Buy);
    QCOMPARE(inputs(), QStringList({u"5"_s, u"3"_s, u"3"_s}));
    click(next.parameters().directionGroup->button(1));
    QCOMPARE(inputs(), QStringList({u"6"_s, u"1"_s, u"2"_s}));
}

void MainWindowBehaviourTest::customTitle_data()
{
    QTest::addColumn<TitleAnswer>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("monitorTitle");
    QTest::newRow("Chinese through the input method")
        << TitleAnswer::CommitChinese << u"股票行情分析"_s << u"股票行情分析"_s
        << u"股票行情分析"_s;
    QTest::newRow("blanks only are ignored")
        << TitleAnswer::TypeBlanks << u"Corvanta "_s << u"Corvanta Ostrel"_s << u"实时行情监控"_s;
    QTest::newRow("Cancel") << TitleAnswer::Cancel << u"Corvanta "_s << u"Corvanta Ostrel"_s
                            << u"实时行情监控"_s;
}

void MainWindowBehaviourTest::customTitle()
{
    QFETCH(TitleAnswer, answer);
    QFETCH(QString, title);
    QFETCH(QString, toolTip);
    QFETCH(QString, monitorTitle);
    app::MainWindow& w = h->window();
    QCOMPARE(w.windowTitle(), u"Corvanta "_s);
    QString caption, prompt, initial;
    QPoint offset;
    whenInputBoxShows([&](app::InputBoxDialog& box) {
        caption = box.windowTitle();
        prompt = box.promptLabel()->text();
        initial = box.input()->text();
        offset = box.frameGeometry().topLeft() - w.frameGeometry().topLeft();
        switch (answer) {
        case TitleAnswer::CommitChinese:
            commitText(box.input(), u"股票行情分析"_s);
            break;
        case TitleAnswer::TypeBlanks:
            QTest::keyClicks(box.input(), u"   "_s);
            break;
        case TitleAnswer::Cancel:
            commitText(box.input(), u"新标题"_s);
            click(box.cancelButton());
            return;
        }
        click(box.okButton());
    });

    w.menus().customTitle->trigger();

    QCOMPARE(caption, u"窗口标题"_s);
    QCOMPARE(prompt, u"请输入自定义窗口标题:　　"_s);
    QCOMPARE(initial, u"Word文档编辑中... ..."_s);
    QCOMPARE(offset, QPoint(60, 120));
    QCOMPARE(w.windowTitle(), title);
    QCOMPARE(h->tray.toolTip(), toolTip);

    // The monitor window, opened from the tray afterwards, bears the title too.
    windows::MonitorWindow& monitor = h->program().monitor().monitorWindow();
    h->program().network().setNetworkOk(false); // no pass: only the window matters
    w.menus().trayRealtime->trigger();
    QVERIFY(monitor.isVisible());
    QCOMPARE(monitor.windowTitle(), monitorTitle);
    monitor.close();
    QVERIFY(w.isVisible());
}

void MainWindowBehaviourTest::proxyDialog_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("accepted") << u"192.168.1.10:8080"_s
                              << u"代理服务器地址已设置并起用为：192.168.1.10:8080"_s
                              << u"192.168.1.10"_s << 8080;
    QTest::newRow("the template") << u"X.X.X.X:X"_s << u"代理服务器地址未设置起用"_s << QString()
                                  << 0;
    QTest::newRow("first part above 255")
        << u"300.1.1.1:80"_s << u"代理服务器地址未设置起用"_s << QString() << 0;
}

void MainWindowBehaviourTest::proxyDialog()
{
    QFETCH(QString, entry);
    QFETCH(QString, message);
    QFETCH(QString, host);
    QFETCH(int, port);
    app::MainWindow& w = h->window();
    // A proxy in use is shown, and cleared by a refused entry.
    h->program().network().setProxy(u"10.0.0.1"_s, 3128);
    QString prompt, initial;
    whenInputBoxShows([&](app::InputBoxDialog& box) {
        prompt = box.promptLabel()->text();
        initial = box.input()->text();
        QTest::keyClicks(box.input(), entry);
        click(box.okButton());
    });

    w.menus().proxy->trigger();

    QCOMPARE(initial, u"10.0.0.1:3128"_s);
    QCOMPARE(prompt, u"请输入代理服务器地址及端口号：\n代理服务器地址已设置并起用为如下地址："_s);
    QCOMPARE(h->prompter.messages, QStringList{message});
    QCOMPARE(h->program().network().proxyHost(), host);
    QCOMPARE(h->program().network().proxyPort(), port);
    if (port > 0)
        QCOMPARE(w.status().contact->text(), u"代理IP:"_s + host + u":"_s + QString::number(port));
}

int runWindowTests(int argc, char* argv[])
{
    MainWindowBehaviourTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestWindow.moc"
