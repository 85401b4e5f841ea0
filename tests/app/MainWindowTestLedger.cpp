#include "MainWindowTestSupport.h"

#include "ledger/LedgerWriter.h"
#include "ledger/Settings.h"
#include "ledger/StockHoldings.h"

#include "app/LedgerController.h"
#include "app/LedgerPanel.h"
#include "app/LedgerTableModel.h"
#include "app/MainMenus.h"
#include "app/ParametersPanel.h"
#include "app/SellTargetGroup.h"
#include "app/TradePanel.h"
#include "ledger/LedgerRestore.h"
#include "ledger/LedgerView.h"
#include "ledger/SafetyCopies.h"

#include "GeneratedLedger.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

const QString sampleName = u"唐钢股份"_s;

// Every field that recording and clearing set back to "0".
QList<QLineEdit*> resetFields(app::MainWindow& w)
{
    QList<QLineEdit*> fields{w.trade().quantity, w.trade().price, w.trade().currentPrice};
    fields.append(w.trade().resultFields());
    for (app::SellTargetGroup* group : {&w.profitTargets(), &w.lossTargets()})
        fields.append({group->amount, group->percent, group->price});
    return fields;
}

QList<QLineEdit*> sellTargetInputs(app::MainWindow& w)
{
    return {w.profitTargets().amount, w.profitTargets().percent, w.profitTargets().price,
            w.lossTargets().amount,   w.lossTargets().percent,   w.lossTargets().price,
            w.trade().currentPrice};
}

int currentGridRow(app::MainWindow& w)
{
    return w.ledger().ledgerGrid->currentIndex().row();
}

// The trade (or event) IDs of the grid's rows, in its order.
QList<qint64> gridIds(app::MainWindow& w)
{
    const auto* model = qobject_cast<const app::LedgerTableModel*>(w.ledger().ledgerGrid->model());
    QList<qint64> ids;
    for (int row = 0; model && row < model->rowCount(); ++row)
        ids.append(model->rowAt(row)->id);
    return ids;
}

QColor rowColour(app::MainWindow& w, int row)
{
    const QAbstractItemModel* model = w.ledger().ledgerGrid->model();
    return model->index(row, ledger::NameColumn).data(Qt::ForegroundRole).value<QBrush>().color();
}

} // namespace

class MainWindowLedgerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<Harness>();
        QVERIFY(h->open());
    }
    void cleanup() { endTest(h); }

    void recordingABuyInLots();
    void recordingWithTenThousandsStoresTheExactYuan();
    void overSellIsRefused();
    void stockWithoutNameIsNotRecorded_data();
    void stockWithoutNameIsNotRecorded();
    void selectingRowsLoadsThemBack();
    void deletion_data();
    void deletion();
    void deletingFromAnEmptyGridAsksNothing();
    void clearingTheLedger_data();
    void clearingTheLedger();
    void ledgerPopupFollowsTheCurrentRow_data();
    void ledgerPopupFollowsTheCurrentRow();
    void gridColours();
    void anEventIsARowOfItsOwnThatIsNoTrade();
    void sortByNameAndByDate();
    void recordingAndDeletingKeepTheGridsOrder_data();
    void recordingAndDeletingKeepTheGridsOrder();
    void aLongLedgerShowsItsEndBeforeReadingEveryId_data();
    void aLongLedgerShowsItsEndBeforeReadingEveryId();
    void aStatementsOwnWordFitsItsColumn();
    void aChosenRowShowsItsOwnCostAndBreakEven();
    void changingTheUnitAfterPricingRepricesWhatIsRecorded();
    void anUnpricableOtherFeeDisablesRecording();
    void absurdRatesAreRefused_data();
    void absurdRatesAreRefused();
    void selectingUnderTenThousandsAndLotsShowsYuanAndShares();
    void recordingFromThePopupCompletesAPartialCode();

private:
    std::unique_ptr<Harness> h;
};

void MainWindowLedgerTest::recordingABuyInLots()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"600003"_s);
    click(t.unitGroup->button(1));
    priceTrade(w, u"5"_s, u"10.00"_s);
    QVERIFY(t.recordBuyButton->isEnabled());
    // The commission may be overwritten by hand and is recorded as typed.
    retype(t.yj, u"8"_s);

    click(t.recordBuyButton);

    QVERIFY(h->prompter.messages.isEmpty());
    const QTableView* grid = w.ledger().ledgerGrid;
    QCOMPARE(grid->model()->rowCount(), 2);
    const int row = currentGridRow(w);
    QCOMPARE(row, 1);
    QCOMPARE(w.ledgerController().currentRow()->id,
             h->window().ledgerController().currentRecordId());
    const auto cell = [&](int column) {
        return grid->model()->index(row, column).data();
    };
    QCOMPARE(cell(ledger::NameColumn).toString(), u"沪市股票3"_s);
    QCOMPARE(cell(ledger::StateColumn).toString(), u"买入"_s);
    QCOMPARE(cell(ledger::QuantityColumn).toString(), u"500"_s);
    QCOMPARE(cell(ledger::PriceColumn).toString(), u"10"_s);
    QCOMPARE(cell(ledger::CommissionColumn).toString(), u"8"_s);
    QCOMPARE(openQuantity(h->db, u"沪市股票3"_s), 500);

    for (const QLineEdit* field : resetFields(w))
        QCOMPARE(field->text(), u"0"_s);
    QVERIFY(!t.recordBuyButton->isEnabled());
    QVERIFY(!t.recordSellButton->isEnabled());
    QCOMPARE(QApplication::focusWidget(), t.code);
    // The stock and the unit stay for the next trade.
    QCOMPARE(t.code->text(), u"600003"_s);
    QCOMPARE(t.unitSuffix->text(), u"手"_s);
}

void MainWindowLedgerTest::recordingWithTenThousandsStoresTheExactYuan()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"000709"_s);
    retype(w.parameters().stampRate, u"1"_s);
    priceTrade(w, u"1200"_s, u"14.46"_s);
    QTest::keyClick(t.amountUnit, Qt::Key_Down);
    QCOMPARE(t.zfze->text(), u"1.7426"_s);

    click(t.recordBuyButton);

    QCOMPARE(t.amountUnit->currentText(), u"元"_s);
    const QAbstractItemModel* model = w.ledger().ledgerGrid->model();
    QCOMPARE(model->index(currentGridRow(w), ledger::TotalColumn).data().toString(), u"17426.41"_s);
    QCOMPARE(model->index(currentGridRow(w), ledger::FeesColumn).data().toString(), u"74.41"_s);
    QCOMPARE(openQuantity(h->db, sampleName), 2400);
}

void MainWindowLedgerTest::overSellIsRefused()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"000709"_s);
    click(w.parameters().directionGroup->button(1));
    priceTrade(w, u"1300"_s, u"20"_s);
    QVERIFY(t.recordSellButton->isEnabled());

    click(t.recordSellButton);

    QCOMPARE(h->prompter.messages,
             QStringList{u"卖出总数大于已有的买入总数,不能添加!\n该股票在账本中没有分红送配记录："
                         u"如有送股或转增，请先在“分红送配”中添加。"_s});
    QCOMPARE(w.ledger().ledgerGrid->model()->rowCount(), 1);
    QCOMPARE(openQuantity(h->db, sampleName), 1200);
    QVERIFY(!t.recordSellButton->isEnabled());
    // The refused trade stays in the inputs.
    QCOMPARE(t.quantity->text(), u"1300"_s);

    // Selling exactly what is held closes the position.
    retype(t.quantity, u"1200"_s);
    click(t.recordSellButton);
    QCOMPARE(h->prompter.messages.size(), 1);
    QCOMPARE(w.ledger().ledgerGrid->model()->rowCount(), 2);
    QCOMPARE(openQuantity(h->db, sampleName), -1);
}

void MainWindowLedgerTest::stockWithoutNameIsNotRecorded_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("placeholder stock") << u"000000"_s;
    QTest::newRow("code without a stock") << u"999999"_s;
}

void MainWindowLedgerTest::stockWithoutNameIsNotRecorded()
{
    QFETCH(QString, code);
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, code);
    priceTrade(w, u"100"_s, u"10"_s);

    click(t.recordBuyButton);

    QCOMPARE(h->prompter.messages, QStringList{u"股票没有名称不添加"_s});
    QCOMPARE(w.ledger().ledgerGrid->model()->rowCount(), 1);
    QCOMPARE(t.quantity->text(), u"100"_s);
}

void MainWindowLedgerTest::selectingRowsLoadsThemBack()
{
    addTrade(h->db, u"000709"_s, sampleName, Direction::Sell, 200, u"20.5"_s, u"2007-06-01"_s);
    QVERIFY(h->reopen());
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    app::LedgerPanel& panel = w.ledger();
    QCOMPARE(panel.ledgerGrid->model()->rowCount(), 2);
    // Another stock and market, which the selection must replace.
    pickStock(w, u"600000"_s);
    click(w.parameters().marketGroup->button(1));

    clickGridRow(panel.ledgerGrid, 0);

    QCOMPARE(t.title(), sampleName);
    QCOMPARE(t.code->text(), u"000709"_s);
    QCOMPARE(t.quantity->text(), u"1200"_s);
    QCOMPARE(t.price->text(), u"14.46"_s);
    QCOMPARE(t.jyje->text(), u"17352"_s);
    QCOMPARE(t.zfze->text(), u"17426.41"_s);
    QCOMPARE(t.fyhj->text(), u"74.41"_s);
    QCOMPARE(t.yj->text(), u"52.06"_s);
    QCOMPARE(w.parameters().direction(), Direction::Buy);
    QCOMPARE(w.parameters().market(), MarketKind::ShenzhenA);
    QCOMPARE(w.parameters().tradeDate->date(), QDate(2007, 5, 21));
    QVERIFY(panel.recordLabel->isVisible());
    QCOMPARE(panel.recordLabel->text(), u"唐钢股份:000709"_s);
    QCOMPARE(panel.title(), u"交易记录    当前记录号:1"_s);
    QCOMPARE(h->window().ledgerController().currentRecordId(),
             w.ledgerController().currentRow()->id);
    for (QLineEdit* input : sellTargetInputs(w))
        QVERIFY(input->isEnabled());
    QVERIFY(!t.recordBuyButton->isEnabled());
    QVERIFY(!t.recordSellButton->isEnabled());

    // Typing a target after loading a buy row works from its texts.
    retype(w.profitTargets().amount, u"100"_s);
    QVERIFY(w.profitTargets().price->text() != u"0"_s);

    // Down to the sell row: the targets are emptied and disabled.
    QTest::keyClick(panel.ledgerGrid, Qt::Key_Down);
    QCOMPARE(currentGridRow(w), 1);
    QCOMPARE(t.quantity->text(), u"200"_s);
    QCOMPARE(t.price->text(), u"20.5"_s);
    QCOMPARE(w.parameters().direction(), Direction::Sell);
    QCOMPARE(t.quantityCaption->text(), u"卖出数量"_s);
    QCOMPARE(w.parameters().tradeDate->date(), QDate(2007, 6, 1));
    QCOMPARE(panel.title(), u"交易记录    当前记录号:2"_s);
    for (QLineEdit* input : sellTargetInputs(w)) {
        QVERIFY(!input->isEnabled());
        QCOMPARE(input->text(), u"0"_s);
    }
    QVERIFY(!t.recordBuyButton->isEnabled());
    QVERIFY(!t.recordSellButton->isEnabled());
}

void MainWindowLedgerTest::deletion_data()
{
    QTest::addColumn<QList<int>>("trades"); // shares of stock 甲: positive buy, negative sell
    QTest::addColumn<int>("row");           // grid row deleted (the sample trade is row 0)
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<int>("rowsAfter");
    QTest::addColumn<int>("currentAfter");
    QTest::addColumn<qint64>("openAfter"); // -1: no open-position row

    const QString mismatch =
        u"股票:新和成 删除后买入数量与卖出数量不符，请先删除卖出记录后再删除此记录!"_s;
    const QString sold = u"股票:新和成 的已有卖出记录，请先删除卖出记录后再删除此记录!"_s;
    QTest::newRow("one of two buys, Yes")
        << QList<int>{500, 300} << 1 << true << u"股票：新和成买入500股的交易记录删除吗？"_s
        << QString() << 2 << 0 << qint64(300);
    QTest::newRow("one of two buys, No")
        << QList<int>{500, 300} << 1 << false << u"股票：新和成买入500股的交易记录删除吗？"_s
        << QString() << 3 << 1 << qint64(800);
    QTest::newRow("buy whose shares were partly sold, open equals it")
        << QList<int>{500, 300, -300} << 1 << true << u"股票：新和成买入500股的交易记录删除吗？"_s
        << QString() << 3 << 0 << qint64(-1);
    QTest::newRow("buy of 500 with only 200 open is refused")
        << QList<int>{500, 300, -600} << 1 << true << u"股票：新和成买入500股的交易记录删除吗？"_s
        << mismatch << 4 << 1 << qint64(200);
    QTest::newRow("buy of a sold-out stock is refused")
        << QList<int>{500, -500} << 1 << true << u"股票：新和成买入500股的交易记录删除吗？"_s
        << sold << 3 << 1 << qint64(-1);
    QTest::newRow("sell while a position is open grows it")
        << QList<int>{500, -300} << 2 << true << u"股票：新和成卖出300股的交易记录删除吗？"_s
        << QString() << 2 << 1 << qint64(500);
    QTest::newRow("sell that closed the position re-opens it")
        << QList<int>{500, -500} << 2 << true << u"股票：新和成卖出500股的交易记录删除吗？"_s
        << QString() << 2 << 1 << qint64(500);
    QTest::newRow("the only trade of the sample stock")
        << QList<int>{} << 0 << true << u"股票：唐钢股份买入1200股的交易记录删除吗？"_s << QString()
        << 0 << -1 << qint64(-1);
}

void MainWindowLedgerTest::deletion()
{
    QFETCH(QList<int>, trades);
    QFETCH(int, row);
    QFETCH(bool, yes);
    QFETCH(QString, question);
    QFETCH(QString, refusal);
    QFETCH(int, rowsAfter);
    QFETCH(int, currentAfter);
    QFETCH(qint64, openAfter);
    for (int shares : trades) {
        addTrade(h->db, u"002001"_s, u"新和成"_s, shares > 0 ? Direction::Buy : Direction::Sell,
                 std::abs(shares), u"10"_s);
    }
    QVERIFY(h->reopen());
    app::MainWindow& w = h->window();
    clickGridRow(w.ledger().ledgerGrid, row);
    h->prompter.answers = {yes};

    click(w.trade().deleteButton);

    QCOMPARE(h->prompter.questions.size(), 1);
    QCOMPARE(h->prompter.questions[0].caption, u"记录删除确认"_s);
    QCOMPARE(h->prompter.questions[0].text, question);
    QCOMPARE(h->prompter.messages, refusal.isEmpty() ? QStringList() : QStringList{refusal});
    QCOMPARE(w.ledger().ledgerGrid->model()->rowCount(), rowsAfter);
    QCOMPARE(currentGridRow(w), currentAfter);
    const QString name = trades.isEmpty() ? sampleName : u"新和成"_s;
    QCOMPARE(openQuantity(h->db, name), openAfter);
    if (yes)
        QCOMPARE(QApplication::focusWidget(), w.trade().code);
}

void MainWindowLedgerTest::deletingFromAnEmptyGridAsksNothing()
{
    app::MainWindow& w = h->window();
    h->prompter.answers = {true};
    w.menus().clearLedger->trigger();
    QCOMPARE(w.ledger().ledgerGrid->model()->rowCount(), 0);
    h->prompter.questions.clear();

    click(w.trade().deleteButton);
    QVERIFY(h->prompter.questions.isEmpty());
}

void MainWindowLedgerTest::clearingTheLedger_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void MainWindowLedgerTest::clearingTheLedger()
{
    QFETCH(bool, yes);
    addTrade(h->db, u"600000"_s, u"沪市股票0"_s, Direction::Buy, 100, u"8"_s);
    QVERIFY(h->reopen());
    app::MainWindow& w = h->window();
    h->prompter.answers = {yes};
    const ledger::SafetyCopies copies(h->db.path());
    const QStringList copiesBefore = copies.copies();
    const qint64 rowsBefore = h->db.scalarInt("SELECT count(*) FROM gpjl");

    w.menus().clearLedger->trigger();

    QCOMPARE(h->prompter.questions.size(), 1);
    QCOMPARE(h->prompter.questions[0].caption, u"数据库清空确认"_s);
    QCOMPARE(h->prompter.questions[0].text, u"股票买卖记录清空，将不能恢复，继续吗？"_s);
    // A Yes keeps the ledger as it was in a safety copy first, and says where.
    const QStringList copiesAfter = copies.copies();
    QCOMPARE(copiesAfter.size(), copiesBefore.size() + (yes ? 1 : 0));
    if (yes) {
        const QString copy = copiesAfter.constLast();
        QCOMPARE(
            h->prompter.messages,
            QStringList{
                u"数据库清空结束\n清空前的账本已另存为安全副本（可在“数据备份恢复”中恢复）：\n"_s +
                QDir::toNativeSeparators(copy)});
        QCOMPARE(ledger::LedgerRestore(h->db, copy).tradeCount(), rowsBefore);
    } else {
        QVERIFY(h->prompter.messages.isEmpty());
    }
    QCOMPARE(w.ledger().ledgerGrid->model()->rowCount(), yes ? 0 : 2);
    QCOMPARE(openQuantity(h->db, sampleName), yes ? -1 : 1200);
    QCOMPARE(openQuantity(h->db, u"沪市股票0"_s), yes ? -1 : 100);
}

void MainWindowLedgerTest::ledgerPopupFollowsTheCurrentRow_data()
{
    QTest::addColumn<bool>("emptied");
    QTest::newRow("SampleTradeCurrent") << false;
    QTest::newRow("LedgerEmptied") << true;
}

// The items that act on the current row are offered exactly while there is one,
// whatever the network timer did or did not see.
void MainWindowLedgerTest::ledgerPopupFollowsTheCurrentRow()
{
    QFETCH(bool, emptied);
    app::MainWindow& w = h->window();
    app::MainMenus& m = w.menus();
    if (emptied) {
        h->prompter.answers = {true};
        m.clearLedger->trigger();
        QCOMPARE(w.ledger().ledgerGrid->model()->rowCount(), 0);
    }
    QTableView* grid = w.ledger().ledgerGrid;
    Q_EMIT grid->customContextMenuRequested(QPoint(10, 30));
    const bool shown = m.ledgerPopup->isVisible();
    const bool summary = m.summary->isEnabled();
    const bool monitorList = m.monitorListMenu->isEnabled();
    const bool deletion = m.popupDelete->isEnabled();
    m.ledgerPopup->close();
    QVERIFY(shown);
    const bool hasRow = !emptied;
    QCOMPARE(summary, hasRow);
    QCOMPARE(monitorList, hasRow);
    QCOMPARE(deletion, hasRow);
}

void MainWindowLedgerTest::gridColours()
{
    addTrade(h->db, u"600000"_s, u"沪市股票0"_s, Direction::Buy, 100, u"8"_s);
    addTrade(h->db, u"600000"_s, u"沪市股票0"_s, Direction::Sell, 100, u"9"_s);
    QVERIFY(h->reopen());
    app::MainWindow& w = h->window();
    QCOMPARE(gridColumn(w.ledger().ledgerGrid, ledger::NameColumn),
             QStringList({sampleName, u"沪市股票0"_s, u"沪市股票0"_s}));

    QCOMPARE(rowColour(w, 0), QColor(Qt::magenta)); // the sample trade is monitored
    QCOMPARE(rowColour(w, 1), QColor(Qt::red));
    QCOMPARE(rowColour(w, 2), QColor(Qt::blue));

    // A new buy of a monitored stock joins the monitor list.
    pickStock(w, u"000709"_s);
    priceTrade(w, u"100"_s, u"15"_s);
    click(w.trade().recordBuyButton);
    QCOMPARE(currentGridRow(w), 3);
    QCOMPARE(rowColour(w, 3), QColor(Qt::magenta));
}

// 10派1.5元转10股 of the sample stock (1200 shares since 2007-05-21) shows on its
// ex-date as a 送转 row of its own colour with the new shares and the cash; it sits
// in its stock's group when sorted by name. Choosing it loads no trade, and
// deleting from it deletes nothing.
void MainWindowLedgerTest::anEventIsARowOfItsOwnThatIsNoTrade()
{
    addTrade(h->db, u"600001"_s, u"沪市股票1"_s, Direction::Buy, 100, u"10"_s, u"2009-07-01"_s);
    QVERIFY(h->reopen());
    app::MainWindow& w = h->window();
    QTableView* grid = w.ledger().ledgerGrid;
    QCOMPARE(grid->model()->rowCount(), 2);
    const ledger::EventEntry entry{
        u"000709"_s, sampleName, QDate(2009, 6, 19), QDate(2009, 6, 22), u"1.5"_s, {}, u"10"_s, {},
        {},          {}};
    QVERIFY(h->program().ledgerWriter().addEvent(entry, false).saved());

    QCOMPARE(gridColumn(grid, ledger::DateColumn),
             (QStringList{u"2007-05-21"_s, u"2009-06-22"_s, u"2009-07-01"_s}));
    QCOMPARE(gridColumn(grid, ledger::StateColumn), (QStringList{u"买入"_s, u"送转"_s, u"买入"_s}));
    QCOMPARE(gridColumn(grid, ledger::NameColumn)[1], sampleName);
    QCOMPARE(gridColumn(grid, ledger::QuantityColumn)[1], u"1200"_s);
    QCOMPARE(gridColumn(grid, ledger::TotalColumn)[1], u"180"_s);
    const QColor eventColour = rowColour(w, 1);
    QVERIFY(eventColour != rowColour(w, 0) && eventColour != rowColour(w, 2));
    QVERIFY(eventColour != QColor(Qt::red) && eventColour != QColor(Qt::blue));

    w.menus().sortByName->trigger();
    QCOMPARE(gridColumn(grid, ledger::NameColumn),
             (QStringList{u"沪市股票1"_s, sampleName, sampleName}));
    QCOMPARE(gridColumn(grid, ledger::StateColumn), (QStringList{u"买入"_s, u"买入"_s, u"送转"_s}));
    w.menus().sortByDate->trigger();

    clickGridRow(grid, 2);
    QCOMPARE(w.trade().quantity->text(), u"100"_s);
    clickGridRow(grid, 1);
    // The last trade chosen stays in the inputs.
    QCOMPARE(w.trade().quantity->text(), u"100"_s);
    h->prompter.questions.clear();
    h->prompter.answers = {true, true};
    click(w.trade().deleteButton);
    w.menus().popupDelete->trigger();
    QVERIFY(h->prompter.questions.isEmpty());
    QCOMPARE(grid->model()->rowCount(), 3);
    QCOMPARE(ledger::sharesHeld(h->db, sampleName), 2400);
    QCOMPARE(ledger::sharesHeld(h->db, u"沪市股票1"_s), 100);
}

void MainWindowLedgerTest::sortByNameAndByDate()
{
    const qint64 late =
        addTrade(h->db, u"002001"_s, u"新和成"_s, Direction::Buy, 100, u"10"_s, u"2021-05-01"_s);
    addTrade(h->db, u"600001"_s, u"沪市股票1"_s, Direction::Buy, 100, u"10"_s, u"2020-01-01"_s);
    addTrade(h->db, u"002001"_s, u"新和成"_s, Direction::Buy, 100, u"10"_s, u"2019-01-01"_s);
    QVERIFY(h->reopen());
    app::MainWindow& w = h->window();
    QTableView* grid = w.ledger().ledgerGrid;
    QCOMPARE(gridColumn(grid, ledger::DateColumn),
             QStringList({u"2007-05-21"_s, u"2019-01-01"_s, u"2020-01-01"_s, u"2021-05-01"_s}));
    clickGridRow(grid, 3);
    QCOMPARE(h->window().ledgerController().currentRecordId(), late);

    w.menus().sortByName->trigger();
    // Names in pinyin order (hu, tang, xin), not by code point, then by ID within a name.
    QCOMPARE(gridColumn(grid, ledger::NameColumn),
             QStringList({u"沪市股票1"_s, u"唐钢股份"_s, u"新和成"_s, u"新和成"_s}));
    QCOMPARE(gridColumn(grid, ledger::DateColumn),
             QStringList({u"2020-01-01"_s, u"2007-05-21"_s, u"2021-05-01"_s, u"2019-01-01"_s}));
    QCOMPARE(int(h->window().ledgerController().sortOrder()), 1);
    QCOMPARE(w.ledgerController().currentRow()->id, late);

    w.menus().sortByDate->trigger();
    QCOMPARE(gridColumn(grid, ledger::DateColumn),
             QStringList({u"2007-05-21"_s, u"2019-01-01"_s, u"2020-01-01"_s, u"2021-05-01"_s}));
    QCOMPARE(w.ledgerController().currentRow()->id, late);
}

void MainWindowLedgerTest::recordingAndDeletingKeepTheGridsOrder_data()
{
    QTest::addColumn<bool>("byName");
    QTest::addColumn<QString>("code"); // the buy recorded
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("recordedRow");
    QTest::addColumn<int>("deletedRow");
    QTest::addColumn<bool>("inPlace"); // the IDs are not all read again

    // The grid by date: 唐钢股份 2007-05-21, 新和成 2019-01-01, 沪市股票1 2020-01-01,
    // 新和成 2021-05-01; by name: 沪市股票1, 唐钢股份, 新和成 ×2.
    QTest::newRow("by date, first, then the first deleted")
        << false << u"600001"_s << QDate(2001, 1, 1) << 0 << 0 << true;
    QTest::newRow("by date, middle, then a middle one deleted")
        << false << u"002001"_s << QDate(2019, 6, 3) << 2 << 3 << true;
    QTest::newRow("by date, on a date taken, after its trades")
        << false << u"600003"_s << QDate(2020, 1, 1) << 3 << 2 << true;
    QTest::newRow("by date, last, then the last deleted")
        << false << u"600001"_s << QDate(2022, 2, 7) << 4 << 4 << true;
    QTest::newRow("by name, first group, then the first deleted")
        << true << u"600001"_s << QDate(2001, 1, 1) << 1 << 0 << true;
    QTest::newRow("by name, middle group, then a middle one deleted")
        << true << u"000709"_s << QDate(2022, 2, 7) << 2 << 2 << true;
    QTest::newRow("by name, last group, then the last deleted")
        << true << u"002001"_s << QDate(2001, 1, 1) << 4 << 4 << true;
    QTest::newRow("by name, a stock's first trade") // its group's place takes every name
        << true << u"600003"_s << QDate(2022, 2, 7) << 1 << 3 << false;
}

// A recorded or deleted trade is put in or taken out at its place, in either order,
// and the grid goes on as after a full read: the same rows, the recorded trade
// current, after a deletion the row above.
void MainWindowLedgerTest::recordingAndDeletingKeepTheGridsOrder()
{
    QFETCH(bool, byName);
    QFETCH(QString, code);
    QFETCH(QDate, date);
    QFETCH(int, recordedRow);
    QFETCH(int, deletedRow);
    QFETCH(bool, inPlace);
    addTrade(h->db, u"002001"_s, u"新和成"_s, Direction::Buy, 100, u"10"_s, u"2021-05-01"_s);
    addTrade(h->db, u"600001"_s, u"沪市股票1"_s, Direction::Buy, 100, u"10"_s, u"2020-01-01"_s);
    addTrade(h->db, u"002001"_s, u"新和成"_s, Direction::Buy, 100, u"10"_s, u"2019-01-01"_s);
    QVERIFY(h->reopen());
    app::MainWindow& w = h->window();
    const auto order = byName ? ledger::LedgerSortOrder::ByName : ledger::LedgerSortOrder::ByDate;
    (byName ? w.menus().sortByName : w.menus().sortByDate)->trigger();
    QSignalSpy resets(w.ledger().ledgerGrid->model(), &QAbstractItemModel::modelReset);

    pickStock(w, code);
    w.parameters().tradeDate->setDate(date);
    priceTrade(w, u"100"_s, u"10"_s);
    click(w.trade().recordBuyButton);

    QVERIFY(h->prompter.messages.isEmpty());
    QCOMPARE(gridIds(w), ledger::ledgerRowIds(h->db, order));
    QCOMPARE(currentGridRow(w), recordedRow);
    QCOMPARE(w.ledgerController().currentRow()->id, w.ledgerController().currentRecordId());
    QCOMPARE(gridColumn(w.ledger().ledgerGrid, ledger::DateColumn)[recordedRow],
             date.toString(Qt::ISODate));

    clickGridRow(w.ledger().ledgerGrid, deletedRow);
    const qint64 deleted = w.ledgerController().currentRow()->id;
    h->prompter.answers = {true};
    click(w.trade().deleteButton);

    QVERIFY(h->prompter.messages.isEmpty());
    QVERIFY(!gridIds(w).contains(deleted));
    QCOMPARE(gridIds(w), ledger::ledgerRowIds(h->db, order));
    QCOMPARE(currentGridRow(w), deletedRow >= 1 ? deletedRow - 1 : 3);
    QCOMPARE(resets.count(), inPlace ? 0 : 1);
}

void MainWindowLedgerTest::aLongLedgerShowsItsEndBeforeReadingEveryId_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("the window shows and the event loop runs") << u"events"_s;
    QTest::newRow("Ctrl+Home") << u"home"_s;
    QTest::newRow("scrolling to the top") << u"top"_s;
    QTest::newRow("sorting by name") << u"by name"_s;
    QTest::newRow("sorting by date") << u"by date"_s;
    QTest::newRow("recording a buy") << u"record"_s;
    QTest::newRow("deleting the current trade") << u"delete"_s;
    QTest::newRow("selecting the current row") << u"select"_s;
}

// A long ledger's grid shows its last rows at start before every trade's ID has been
// read; whatever the user does first, it is the grid a full read gives.
void MainWindowLedgerTest::aLongLedgerShowsItsEndBeforeReadingEveryId()
{
    QFETCH(QString, step);
    tools::fillBenchLedger(h->db, 3000, 40);
    const QList<qint64> byDate = ledger::ledgerRowIds(h->db, ledger::LedgerSortOrder::ByDate);
    const QList<QStringList> lastRows = [&] {
        QList<QStringList> rows;
        for (const ledger::LedgerRow& row : ledger::ledgerRowsOf(
                 h->db, std::span<const qint64>(byDate.constData() + byDate.size() - 40, 40)))
            rows.append(QStringList(row.cells.cbegin(), row.cells.cend()));
        return rows;
    }();
    h->restartWithoutEvents();
    app::MainWindow& w = h->window();
    QTableView* grid = w.ledger().ledgerGrid;
    const auto* model = qobject_cast<const app::LedgerTableModel*>(grid->model());
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);

    // As a full read shows it: every row counted, the last one current, the
    // last rows' texts and colours, the ledger's caption.
    QVERIFY(!model->holdsEveryId());
    QCOMPARE(model->rowCount(), byDate.size());
    QCOMPARE(currentGridRow(w), byDate.size() - 1);
    QCOMPARE(w.ledgerController().currentRow()->id, byDate.constLast());
    for (int i = 0; i < lastRows.size(); ++i) {
        const int row = int(byDate.size() - lastRows.size() + i);
        QCOMPARE(model->rowAt(row)->id, byDate[row]);
        for (int column = 0; column < ledger::LedgerColumnCount; ++column)
            QCOMPARE(model->index(row, column).data().toString(), lastRows[i][column]);
        const ledger::LedgerRow* shown = model->rowAt(row);
        QCOMPARE(rowColour(w, row), shown->colour == ledger::RowColour::Sell ? QColor(Qt::blue)
                                    : shown->monitor == u"是"_s              ? QColor(Qt::magenta)
                                                                             : QColor(Qt::red));
    }
    QCOMPARE(w.ledger().title(), u"交易记录"_s);
    QVERIFY(!model->holdsEveryId());

    auto order = ledger::LedgerSortOrder::ByDate;
    int current = int(byDate.size() - 1);
    if (step == u"events") {
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(model->holdsEveryId());
        QCOMPARE(resets.count(), 0); // the rows shown stayed as they were
    } else if (step == u"home") {
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
        current = 0;
        QCOMPARE(model->index(0, ledger::DateColumn).data().toString(), u"2007-01-01"_s);
    } else if (step == u"top") {
        grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(grid->rowAt(0), 0);
        const QImage shown = grid->viewport()->grab().toImage(); // painted as on screen
        QVERIFY(!shown.isNull());
        QVERIFY(model->holdsEveryId());
    } else if (step == u"by name" || step == u"by date") {
        order =
            step == u"by name" ? ledger::LedgerSortOrder::ByName : ledger::LedgerSortOrder::ByDate;
        (step == u"by name" ? w.menus().sortByName : w.menus().sortByDate)->trigger();
        current = -1; // the trade last chosen; none yet
    } else if (step == u"record") {
        // The row above the last one chosen (its stock and date in the inputs)
        // and a quantity typed: a buy of it, last of its date.
        QTest::keyClick(grid, Qt::Key_Up);
        for (QLineEdit* input : {w.trade().quantity, w.trade().price}) {
            input->selectAll();
            QTest::keyClicks(input, u"100"_s);
        }
        QVERIFY(!model->holdsEveryId());
        click(w.trade().recordBuyButton);
        QVERIFY2(h->prompter.messages.isEmpty(), qPrintable(h->prompter.messages.join(u'|')));
        current =
            int(ledger::ledgerRowIds(h->db, order).indexOf(w.ledgerController().currentRecordId()));
        QCOMPARE(current, byDate.size());
    } else if (step == u"delete") {
        h->prompter.answers = {true};
        click(w.trade().deleteButton);
        QVERIFY(h->prompter.messages.isEmpty());
        QVERIFY(!gridIds(w).contains(byDate.constLast()));
        current = int(byDate.size() - 2);
    } else if (step == u"select") {
        QTest::keyClick(grid, Qt::Key_Up);
        --current;
        QCOMPARE(w.ledger().title(), ledger::selectedRecordCaption(current + 1));
        QCOMPARE(w.ledger().recordLabel->text(), model->rowAt(current)->cells[ledger::NameColumn] +
                                                     u":"_s + model->rowAt(current)->code);
    }

    QCOMPARE(gridIds(w), ledger::ledgerRowIds(h->db, order));
    if (current >= 0) {
        QCOMPARE(currentGridRow(w), current);
        QCOMPARE(w.ledgerController().currentRow()->id, gridIds(w)[current]);
    }
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

// An imported line keeps its statement's own operation word (a transfer, 证券买入):
// the column shows it whole.
void MainWindowLedgerTest::aStatementsOwnWordFitsItsColumn()
{
    const qint64 id =
        addTrade(h->db, u"002001"_s, u"新和成"_s, Direction::Buy, 100, u"10"_s, u"2021-05-01"_s);
    auto rename = h->db.prepare("UPDATE gpjl SET 交易状态='证券买入' WHERE id=?1");
    rename.bind(1, id);
    rename.step();
    QVERIFY(h->reopen());
    QTableView* grid = h->window().ledger().ledgerGrid;
    QCOMPARE(gridColumn(grid, ledger::StateColumn).last(), u"证券买入"_s);
    // What the cells need to be drawn whole, the text and the cell's margins.
    const QModelIndex cell =
        grid->model()->index(grid->model()->rowCount() - 1, ledger::StateColumn);
    QStyleOptionViewItem option;
    option.initFrom(grid);
    option.font = grid->font();
    option.features |= QStyleOptionViewItem::HasDisplay;
    const int needed = grid->itemDelegateForIndex(cell)->sizeHint(option, cell).width();
    QVERIFY2(grid->columnWidth(ledger::StateColumn) >= needed,
             qPrintable(QString::number(grid->columnWidth(ledger::StateColumn)) + u" < "_s +
                        QString::number(needed)));
}

// Choosing a row shows that trade's cost per share and break-even price, never
// those of the trade priced before: the break-even is what pricing the same trade
// with the same rates shows.
void MainWindowLedgerTest::aChosenRowShowsItsOwnCostAndBreakEven()
{
    ledger::SettingsToSave rates;
    rates.side = Direction::Buy;
    rates.otherFee = u"5"_s;
    rates.stampRate = u"1"_s;
    rates.commissionRate = u"3"_s;
    ledger::saveSettings(h->db, rates, ledger::defaultFeeRates());
    QVERIFY(h->reopen());
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"600003"_s);
    priceTrade(w, u"100"_s, u"10"_s);
    const QString otherBreakEven = t.bbjg->text();

    clickGridRow(w.ledger().ledgerGrid, 0); // 唐钢股份 bought 1200 at 14.46, paid 17426.41
    QCOMPARE(t.zfze->text(), u"17426.41"_s);
    QCOMPARE(t.mrcb->text(), u"14.522"_s);
    const QString breakEven = t.bbjg->text();
    QVERIFY(breakEven != otherBreakEven);

    priceTrade(w, u"1200"_s, u"14.46"_s);
    QCOMPARE(t.zfze->text(), u"17426.41"_s);
    QCOMPARE(t.bbjg->text(), breakEven);
}

void MainWindowLedgerTest::changingTheUnitAfterPricingRepricesWhatIsRecorded()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"600003"_s);
    priceTrade(w, u"12"_s, u"10"_s);
    QCOMPARE(t.jyje->text(), u"120.00"_s);

    // 12 lots are 1200 shares: the shown amounts follow before anything is stored.
    click(t.unitGroup->button(1));
    QCOMPARE(t.jyje->text(), u"12000.00"_s);
    QVERIFY(t.recordBuyButton->isEnabled());
    click(t.recordBuyButton);

    const QTableView* grid = w.ledger().ledgerGrid;
    const int row = currentGridRow(w);
    QCOMPARE(grid->model()->index(row, ledger::QuantityColumn).data().toString(), u"1200"_s);
    const double total =
        grid->model()->index(row, ledger::TotalColumn).data().toString().toDouble();
    QVERIFY(total > 12000);
}

void MainWindowLedgerTest::anUnpricableOtherFeeDisablesRecording()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"600003"_s);
    priceTrade(w, u"100"_s, u"10"_s);
    QVERIFY(t.recordBuyButton->isEnabled());

    // An other fee with a point stops the pricing after the commission: the
    // totals on show belong to the old fee and must not be recorded.
    retype(t.otherFee, u"5.5"_s);
    QVERIFY(!t.recordBuyButton->isEnabled());

    retype(t.otherFee, u"6"_s);
    QVERIFY(t.recordBuyButton->isEnabled());
    QCOMPARE(t.qtzf->text(), u"7"_s);
}

void MainWindowLedgerTest::absurdRatesAreRefused_data()
{
    QTest::addColumn<bool>("stamp"); // the stamp rate, else the commission rate
    QTest::newRow("stamp rate") << true;
    QTest::newRow("commission rate") << false;
}

void MainWindowLedgerTest::absurdRatesAreRefused()
{
    QFETCH(bool, stamp);
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"600003"_s);
    retype(stamp ? w.parameters().stampRate : w.parameters().commissionRate, u"99999"_s);
    priceTrade(w, u"100"_s, u"10"_s);

    click(t.recordBuyButton);

    QCOMPARE(h->prompter.messages.size(), 1);
    QVERIFY2(h->prompter.messages.first().endsWith(u"超过100‰,不能添加!"_s),
             qPrintable(h->prompter.messages.first()));
    QCOMPARE(w.ledger().ledgerGrid->model()->rowCount(), 1);
}

void MainWindowLedgerTest::selectingUnderTenThousandsAndLotsShowsYuanAndShares()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    click(t.unitGroup->button(1));
    priceTrade(w, u"1"_s, u"10"_s);
    QTest::keyClick(t.amountUnit, Qt::Key_Down);
    QCOMPARE(t.amountUnit->currentText(), u"万元"_s);

    clickGridRow(w.ledger().ledgerGrid, 0);

    QCOMPARE(t.amountUnit->currentText(), u"元"_s);
    QCOMPARE(t.zfze->text(), u"17426.41"_s);
    QCOMPARE(t.quantity->text(), u"1200"_s);
    QCOMPARE(t.unitSuffix->text(), u"股"_s);
    QCOMPARE(h->window().fees().snapshot().unitMultiplier, 1);
}

void MainWindowLedgerTest::recordingFromThePopupCompletesAPartialCode()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"600003"_s);
    priceTrade(w, u"100"_s, u"10"_s);
    // Back in the code input, a partial code is typed and not yet left.
    retype(t.code, u"6000"_s);
    QCOMPARE(t.title(), u"沪市股票0"_s);

    w.menus().popupRecordBuy->trigger();

    const QTableView* grid = w.ledger().ledgerGrid;
    const int row = currentGridRow(w);
    QCOMPARE(grid->model()->index(row, ledger::NameColumn).data().toString(), u"沪市股票0"_s);
    QCOMPARE(w.ledgerController().currentRow()->code, u"600000"_s);
}

int runLedgerTests(int argc, char* argv[])
{
    MainWindowLedgerTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestLedger.moc"
