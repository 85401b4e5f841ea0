#include "MainWindowTestSupport.h"

#include "app/MainMenus.h"
#include "app/ParametersPanel.h"
#include "app/TradePanel.h"
#include "windows/StockEditorWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

enum class Leave { Enter, Tab, ClickPrice };

} // namespace

} // namespace mwtest

Q_DECLARE_METATYPE(mwtest::Leave)

namespace mwtest {

class MainWindowPickerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<Harness>();
        QVERIFY(h->open());
    }
    void cleanup() { endTest(h); }

    void typingPicksAStock_data();
    void typingPicksAStock();
    void leavingCompletesTheCode_data();
    void leavingCompletesTheCode();
    void leavingTheUntouchedCodeAsksNothing();
    void unknownCodeOffersTheStockEditor_data();
    void unknownCodeOffersTheStockEditor();
    void choosingACandidate();
    void aStockSavedInTheEditorBringsItsMarket();
    void pinyinOfAnotherReading_data();
    void pinyinOfAnotherReading();

private:
    std::unique_ptr<Harness> h;
};

void MainWindowPickerTest::typingPicksAStock_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<MarketKind>("market");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("candidates");
    QTest::addColumn<int>("stampDuty"); // follows the market the typing names

    QTest::newRow("6 is Shanghai, 20 of 27 listed")
        << u"6"_s << MarketKind::ShanghaiA << u"沪市股票0"_s << 20 << 1;
    QTest::newRow("600") << u"600"_s << MarketKind::ShanghaiA << u"沪市股票0"_s << 20 << 1;
    QTest::newRow("0 is Shenzhen") << u"0"_s << MarketKind::ShenzhenA << u"无名股票"_s << 4 << 1;
    QTest::newRow("full Shenzhen code")
        << u"000709"_s << MarketKind::ShenzhenA << u"唐钢股份"_s << 1 << 1;
    QTest::newRow("3 (ChiNext) is Shenzhen")
        << u"3"_s << MarketKind::ShenzhenA << u"特锐德"_s << 3 << 1;
    QTest::newRow("58 is a warrant without stamp duty")
        << u"58"_s << MarketKind::WarrantOrFund << u"马钢CWB1"_s << 1 << 0;
    QTest::newRow("51 is a fund without stamp duty")
        << u"510050"_s << MarketKind::WarrantOrFund << u"50ETF"_s << 1 << 0;
    QTest::newRow("lower-case pinyin")
        << u"zgyh"_s << MarketKind::WarrantOrFund << u"中国银行"_s << 2 << 0;
    QTest::newRow("pinyin of one stock")
        << u"tggf"_s << MarketKind::WarrantOrFund << u"唐钢股份"_s << 1 << 0;
    QTest::newRow("unknown code") << u"999"_s << MarketKind::WarrantOrFund << QString() << 0 << 0;
}

void MainWindowPickerTest::typingPicksAStock()
{
    QFETCH(QString, typed);
    QFETCH(MarketKind, market);
    QFETCH(QString, caption);
    QFETCH(int, candidates);
    QFETCH(int, stampDuty);
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();

    retype(t.code, typed);

    QCOMPARE(t.code->text(), typed);
    QCOMPARE(w.parameters().market(), market);
    QCOMPARE(t.title(), caption);
    QCOMPARE(t.candidates->count(), candidates);
    QCOMPARE(t.candidates->currentText(), caption);
    QCOMPARE(h->window().fees().snapshot().stampDutyFlag, stampDuty);
    // The focus stays in the code input while the market follows the typing.
    QCOMPARE(QApplication::focusWidget(), t.code);
}

void MainWindowPickerTest::leavingCompletesTheCode_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Leave>("leave");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<MarketKind>("market");

    QTest::newRow("partial code, Enter")
        << u"600"_s << Leave::Enter << u"600000"_s << u"沪市股票0"_s << MarketKind::ShanghaiA;
    QTest::newRow("partial code, Tab")
        << u"00070"_s << Leave::Tab << u"000709"_s << u"唐钢股份"_s << MarketKind::ShenzhenA;
    QTest::newRow("pinyin, Enter")
        << u"zgyh"_s << Leave::Enter << u"601988"_s << u"中国银行"_s << MarketKind::ShanghaiA;
    QTest::newRow("pinyin, click elsewhere")
        << u"tggf"_s << Leave::ClickPrice << u"000709"_s << u"唐钢股份"_s << MarketKind::ShenzhenA;
    QTest::newRow("emptied input")
        << QString() << Leave::Enter << u"000000"_s << u"无名股票"_s << MarketKind::ShenzhenA;
}

void MainWindowPickerTest::leavingCompletesTheCode()
{
    QFETCH(QString, typed);
    QFETCH(Leave, leave);
    QFETCH(QString, code);
    QFETCH(QString, caption);
    QFETCH(MarketKind, market);
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();

    retype(t.code, typed);
    switch (leave) {
    case Leave::Enter:
        QTest::keyClick(t.code, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), t.quantity);
        break;
    case Leave::Tab:
        QTest::keyClick(t.code, Qt::Key_Tab);
        break;
    case Leave::ClickPrice:
        QTest::mouseClick(t.price, Qt::LeftButton);
        break;
    }

    QVERIFY(QApplication::focusWidget() != t.code);
    QCOMPARE(t.code->text(), code);
    QCOMPARE(t.title(), caption);
    QCOMPARE(w.parameters().market(), market);
    QCOMPARE(t.infoLink->text(), u"打开"_s + caption + u"相关资讯网页"_s);
    QVERIFY(h->prompter.questions.isEmpty());
}

void MainWindowPickerTest::leavingTheUntouchedCodeAsksNothing()
{
    app::TradePanel& t = h->window().trade();
    t.code->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(t.quantity, Qt::LeftButton);

    QCOMPARE(QApplication::focusWidget(), t.quantity);
    QCOMPARE(t.code->text(), u"000000"_s);
    QVERIFY(h->prompter.questions.isEmpty());
}

void MainWindowPickerTest::unknownCodeOffersTheStockEditor_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes opens the editor") << true;
    QTest::newRow("No leaves it closed") << false;
}

void MainWindowPickerTest::unknownCodeOffersTheStockEditor()
{
    QFETCH(bool, yes);
    app::MainWindow& w = h->window();
    h->prompter.answers = {yes};

    pickStock(w, u"999999"_s);

    QCOMPARE(h->prompter.questions.size(), 1);
    QCOMPARE(h->prompter.questions[0].caption, u"股票添加确认"_s);
    QCOMPARE(h->prompter.questions[0].text, u"此股票无记录,是否添加？"_s);
    QCOMPARE(h->stockEditor().isVisible(), yes);
    QCOMPARE(w.trade().code->text(), u"999999"_s);
    h->stockEditor().close();
}

void MainWindowPickerTest::choosingACandidate()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    retype(t.code, u"zgyh"_s);
    QCOMPARE(t.candidates->count(), 2);

    QTest::keyClick(t.candidates, Qt::Key_Down);

    QCOMPARE(t.code->text(), u"601881"_s);
    QCOMPARE(t.title(), u"中国银河"_s);
    QCOMPARE(t.candidates->currentText(), u"中国银河"_s);
    QCOMPARE(w.parameters().market(), MarketKind::ShanghaiA);
}

int runPickerTests(int argc, char* argv[])
{
    MainWindowPickerTest test;
    return QTest::qExec(&test, argc, argv);
}

// A ChiNext stock saved while a Shanghai stock is shown is priced without the
// Shanghai transfer fee.
void MainWindowPickerTest::aStockSavedInTheEditorBringsItsMarket()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"600000"_s);
    priceTrade(w, u"1000"_s, u"6.94"_s);
    QCOMPARE(w.parameters().market(), MarketKind::ShanghaiA);
    QCOMPARE(t.qtzf->text(), u"6.00"_s); // the 1-yuan transfer fee and the other fee

    w.menus().addStock->trigger();
    windows::StockEditorWindow& editor = h->stockEditor();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QTest::mouseClick(editor.findChild<QPushButton*>(u"changeCodeButton"_s), Qt::LeftButton);
    retype(editor.findChild<QLineEdit*>(u"Edit2"_s), u"301999"_s);
    auto* name = editor.findChild<QLineEdit*>(u"Edit1"_s);
    name->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(name, Qt::Key_Backspace);
    commitText(name, u"测试股份"_s);
    QTest::mouseClick(editor.findChild<QPushButton*>(u"saveButton"_s), Qt::LeftButton);
    editor.close();

    QCOMPARE(t.code->text(), u"301999"_s);
    QCOMPARE(t.title(), u"测试股份"_s);
    QCOMPARE(w.parameters().market(), MarketKind::ShenzhenA);
    QCOMPARE(t.qtzf->text(), u"5.00"_s); // the other fee alone
}

void MainWindowPickerTest::pinyinOfAnotherReading_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("code");
    QTest::newRow("the stored code") << u"zsyx"_s << u"招商银行"_s << u"600036"_s;
    QTest::newRow("行 read háng") << u"zsyh"_s << u"招商银行"_s << u"600036"_s;
    QTest::newRow("长 read zhǎng") << u"zjgf"_s << u"长江股份"_s << u"600999"_s;
    QTest::newRow("长 read cháng, as stored") << u"cjgf"_s << u"长江股份"_s << u"600999"_s;
    QTest::newRow("no reading of 银 begins with H") << u"zshh"_s << QString() << u"zshh"_s;
}

// A name is found by the common other readings of its characters too; the stored
// code stays as it was.
void MainWindowPickerTest::pinyinOfAnotherReading()
{
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    QFETCH(QString, code);
    h->db.exec("INSERT INTO gpmc (gpid,gpmc,gppy) VALUES ('600036','招商银行','ZSYX'),"
               "('600999','长江股份','CJGF')");
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    h->prompter.answers = {false};

    retype(t.code, typed);
    QCOMPARE(t.title(), caption);
    QTest::keyClick(t.code, Qt::Key_Return);
    QCOMPARE(t.code->text(), code);
    QCOMPARE(h->db.scalarInt("SELECT count(*) FROM gpmc WHERE gppy IN ('ZSYX','CJGF')"), 2);
}

} // namespace mwtest

#include "MainWindowTestPicker.moc"
