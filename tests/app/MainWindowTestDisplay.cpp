#include "MainWindowTestSupport.h"

#include "app/DesktopServices.h"
#include "app/FeeController.h"
#include "app/LedgerPanel.h"
#include "app/ParametersPanel.h"
#include "app/SellTargetGroup.h"
#include "app/TradePanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

// True when the field shows its whole text: the text starts where a field scrolled
// to its start draws it, and ends the text's width further on.
bool showsWholeText(QLineEdit* edit)
{
    // The field scrolls its text when it paints; moving the cursor here must not
    // trigger what the window does when a text is written.
    const QSignalBlocker quiet(edit);
    const auto xAt = [edit](int position) {
        edit->setCursorPosition(position);
        edit->repaint();
        return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    const int position = edit->cursorPosition();
    const int start = xAt(0);
    const int end = xAt(int(edit->text().size()));
    xAt(position);
    return end - start == edit->fontMetrics().horizontalAdvance(edit->text());
}

// The rectangle of a child in the main window's coordinates.
QRect inWindow(const QWidget* child)
{
    return QRect(child->mapTo(child->window(), QPoint(0, 0)), child->size());
}

} // namespace

class MainWindowDisplayTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<Harness>();
        QVERIFY(h->open());
    }
    void cleanup() { endTest(h); }

    void sevenDigitTradeShowsInFull_data();
    void sevenDigitTradeShowsInFull();
    void sellTargetsShowTheirStart();
    void loadedRatesShowTheirStart();
    void carriageReturnsBreakLines();
    void unitLabelClearOfTheViewSelector();
    void ledgerHeadersShowInFull();
    void emptyStockNameMovesNothing();
    void datePickerInChinese();
    void unopenedInfoLinkReported_data();
    void unopenedInfoLinkReported();
    void otherFeeRefusesAMinusSign_data();
    void otherFeeRefusesAMinusSign();
    void otherFeeWithDecimalsSaysWhy();

private:
    std::unique_ptr<Harness> h;
};

void MainWindowDisplayTest::sevenDigitTradeShowsInFull_data()
{
    QTest::addColumn<bool>("tenThousands");
    QTest::addColumn<QString>("amount");
    QTest::newRow("元") << false << u"1234500.00"_s;
    QTest::newRow("万元") << true << u"123.4500"_s;
}

void MainWindowDisplayTest::sevenDigitTradeShowsInFull()
{
    QFETCH(bool, tenThousands);
    QFETCH(QString, amount);
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"000709"_s);

    priceTrade(w, u"100"_s, u"12345"_s);
    if (tenThousands)
        QTest::keyClick(t.amountUnit, Qt::Key_Down);

    QCOMPARE(t.jyje->text(), amount);
    for (QLineEdit* field : t.resultFields()) {
        QVERIFY2(field->cursorPosition() == 0, qPrintable(field->objectName()));
        QVERIFY2(showsWholeText(field), qPrintable(field->objectName() + u' ' + field->text()));
    }
}

void MainWindowDisplayTest::sellTargetsShowTheirStart()
{
    app::MainWindow& w = h->window();
    pickStock(w, u"000709"_s);
    priceTrade(w, u"100"_s, u"1000"_s);
    app::SellTargetGroup& profit = w.profitTargets();

    retype(profit.amount, u"5600"_s);

    // The price and the percentage are the program's, the amount the user's.
    QVERIFY(profit.price->text().size() >= 7);
    for (QLineEdit* written : {profit.price, profit.percent}) {
        QCOMPARE(written->cursorPosition(), 0);
        QVERIFY2(showsWholeText(written), qPrintable(written->text()));
    }
}

void MainWindowDisplayTest::loadedRatesShowTheirStart()
{
    app::MainWindow& w = h->window();
    FeeRates rates = w.fees().savedRates();
    rates.sellStampRate = 0.25;
    rates.sellCommissionRate = 99999;
    w.fees().setSavedRates(rates);

    click(w.parameters().directionGroup->button(1));

    QLineEdit* stamp = w.parameters().stampRate->lineEdit();
    QLineEdit* commission = w.parameters().commissionRate->lineEdit();
    QCOMPARE(stamp->text(), u"0.25"_s);
    QVERIFY(showsWholeText(stamp));
    QCOMPARE(commission->text(), u"99999"_s);
    QCOMPARE(commission->cursorPosition(), 0);
}

void MainWindowDisplayTest::carriageReturnsBreakLines()
{
    app::MainWindow& w = h->window();
    for (const QWidget* widget : w.findChildren<QWidget*>()) {
        QVERIFY2(!widget->toolTip().contains(u'\r'), qPrintable(widget->toolTip()));
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            QVERIFY2(!label->text().contains(u'\r'), qPrintable(label->text()));
    }
    QCOMPARE(w.parameters().tradeDate->toolTip(),
             u"买卖股票日期选择\n2007年5月30日前印花税为0.1%\n以后为0.3%"_s);
    QCOMPARE(w.ledger().ledgerGrid->toolTip(),
             u"红色为买入股票,粉色为实时监控列表中股票\n蓝色为卖出股票"_s);
}

void MainWindowDisplayTest::unitLabelClearOfTheViewSelector()
{
    app::MainWindow& w = h->window();
    const auto* unit = w.ledger().findChild<QLabel*>(u"unitLabel"_s);
    const auto* selector = h->find<QComboBox>(u"viewSelector"_s);
    QVERIFY(unit && selector);
    QCOMPARE(unit->text(), u"单位:元"_s);
    QVERIFY(unit->isVisible());
    QVERIFY(!inWindow(unit).intersects(inWindow(selector)));
    QVERIFY(unit->width() >= unit->sizeHint().width());
}

void MainWindowDisplayTest::ledgerHeadersShowInFull()
{
    const QHeaderView* header = h->window().ledger().ledgerGrid->horizontalHeader();
    for (int column = 0; column < header->count(); ++column) {
        const QString caption = header->model()->headerData(column, Qt::Horizontal).toString() +
                                u' ' + QString::number(header->sectionSize(column));
        QVERIFY2(header->sectionSize(column) >= header->sectionSizeHint(column),
                 qPrintable(caption));
    }
}

void MainWindowDisplayTest::emptyStockNameMovesNothing()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"000709"_s);
    QCOMPARE(t.title(), u"唐钢股份"_s);
    const QRect named = inWindow(t.code);

    t.setTitle(QString());
    QApplication::sendPostedEvents();
    t.layout()->activate();

    QCOMPARE(inWindow(t.code), named);
}

void MainWindowDisplayTest::datePickerInChinese()
{
    QDateEdit* date = h->window().parameters().tradeDate;
    QCOMPARE(date->calendarWidget()->locale().language(), QLocale::Chinese);
    QCOMPARE(date->locale().language(), QLocale::Chinese);
    // The date itself keeps the ledger's digits.
    QCOMPARE(date->text(), QDate::currentDate().toString(u"yyyy-MM-dd"_s));
}

void MainWindowDisplayTest::unopenedInfoLinkReported_data()
{
    QTest::addColumn<bool>("opens");
    QTest::newRow("a browser opens it") << true;
    QTest::newRow("no browser") << false;
}

void MainWindowDisplayTest::unopenedInfoLinkReported()
{
    QFETCH(bool, opens);
    app::MainWindow& w = h->window();
    pickStock(w, u"000709"_s);
    h->desktop.urlOpens = opens;

    QTest::mouseDClick(w.trade().infoLink, Qt::LeftButton);

    QCOMPARE(h->desktop.openedUrls.size(), 1);
    const QStringList expected =
        opens ? QStringList() : QStringList{app::browserFailedMessage(h->desktop.openedUrls[0])};
    QCOMPARE(h->prompter.messages, expected);
}

void MainWindowDisplayTest::otherFeeRefusesAMinusSign_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("typed") << u"typed"_s;
    QTest::newRow("pasted") << u"pasted"_s;
    QTest::newRow("input method") << u"input method"_s;
}

void MainWindowDisplayTest::otherFeeRefusesAMinusSign()
{
    QFETCH(QString, how);
    QLineEdit* fee = h->window().trade().otherFee;
    retype(fee, QString());

    if (how == u"typed"_s)
        QTest::keyClicks(fee, u"-100"_s);
    else if (how == u"pasted"_s)
        fee->insert(u"-100"_s);
    else
        commitText(fee, u"-100"_s);

    QVERIFY2(!fee->text().contains(u'-'), qPrintable(fee->text()));
}

void MainWindowDisplayTest::otherFeeWithDecimalsSaysWhy()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"600003"_s);
    priceTrade(w, u"100"_s, u"10"_s);
    QVERIFY(t.otherFee->toolTip().isEmpty());

    retype(t.otherFee, u"5.5"_s);
    QVERIFY(!t.recordBuyButton->isEnabled());
    QVERIFY(t.otherFee->toolTip().contains(u"整数"_s));

    retype(t.otherFee, u"6"_s);
    QVERIFY(t.recordBuyButton->isEnabled());
    QVERIFY(t.otherFee->toolTip().isEmpty());
}

int runDisplayTests(int argc, char* argv[])
{
    MainWindowDisplayTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestDisplay.moc"
