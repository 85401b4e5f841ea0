#include "MainWindowTestSupport.h"

#include "app/FeeController.h"
#include "app/LedgerController.h"
#include "app/LedgerPanel.h"
#include "app/MainMenus.h"
#include "app/ParametersPanel.h"
#include "app/SideWindows.h"
#include "app/SummaryController.h"
#include "app/TradeDetailPanel.h"
#include "app/TradePanel.h"
#include "calc/FeeCalculator.h"
#include "calc/Numbers.h"
#include "journal/Journal.h"
#include "ledger/LedgerWriter.h"
#include "ledger/StockHoldings.h"
#include "ledger/sql/Statement.h"
#include "market/NetworkState.h"
#include "market/QuoteLines.h"
#include "market/QuotePageSource.h"
#include "model/LedgerFocus.h"
#include "model/TradeForm.h"
#include "quote-server/QuoteServer.h"
#include "report/MoneyWeightedReturn.h"
#include "report/PositionSummary.h"
#include "report/SummaryTableModel.h"
#include "report/SummaryTexts.h"
#include "report/TradeDetailModel.h"
#include "windows/ProfitLossWindow.h"
#include "windows/StockEventWindow.h"
#include "windows/TotalsReportWindow.h"

#include <QAction>
#include <QBrush>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

const QString bankName = u"浦发银行"_s;
const QString steelName = u"唐钢股份"_s;

// The action of a popup menu with that text.
QAction* menuAction(QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

QColor foreground(const QAbstractItemModel& model, int row, int column)
{
    return model.index(row, column).data(Qt::ForegroundRole).value<QBrush>().color();
}

QString cell(const QAbstractItemModel& model, int row, int column)
{
    return model.index(row, column).data().toString();
}

// The grid row of a stock name, or -1.
int rowOf(const report::SummaryTableModel& model, const QString& name)
{
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.stockName(row) == name)
            return row;
    return -1;
}

// The trades of the ledger as the investor's cash flows (buys out, sells in),
// then `held` on today's date: the money-weighted return's flows worked out
// from the rows.
std::vector<report::CashFlow> flowsOf(sql::Database& db, const QString& name,
                                      std::optional<double> held)
{
    auto rows =
        db.prepare("SELECT 日期,交易状态,总金额 FROM gpjl WHERE 交易状态 IN ('买入','卖出') "
                   "AND 虚拟卖出='假' AND (?1='' OR 股票名=?1)");
    rows.bind(1, name);
    std::vector<report::CashFlow> flows;
    while (rows.step()) {
        const double total = rows.real(2);
        flows.push_back({QDate::fromString(rows.text(0), Qt::ISODate),
                         rows.text(1) == u"卖出"_s ? total : -total});
    }
    if (held)
        flows.push_back({QDate::currentDate(), *held});
    return flows;
}

// A rate as the return column shows it.
QString percent(std::optional<double> rate)
{
    return rate ? QString::number(*rate * 100, 'f', 2) + u"%"_s : u"无法计算"_s;
}

} // namespace

class MainWindowSummaryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<Harness>();
        // A small ledger of its own: one stock sold out at a profit, one still held.
        h->db.exec("delete from gpjl");
        addTrade(h->db, u"600000"_s, bankName, Direction::Buy, 1000, u"10"_s, u"2021-03-01"_s);
        addTrade(h->db, u"600000"_s, bankName, Direction::Sell, 1000, u"12"_s, u"2021-03-02"_s);
        addTrade(h->db, u"000709"_s, steelName, Direction::Buy, 500, u"8"_s, u"2021-03-03"_s);
        QVERIFY(h->open());
    }
    void cleanup()
    {
        endTest(h);
        server.reset();
    }

    void switchingShowsTheSummaryAndBackTheLedgerAsItWas_data();
    void switchingShowsTheSummaryAndBackTheLedgerAsItWas();
    void aRecordedTradeRefreshesTheShownSummary();
    void summaryShownAgainGivesTheSameFigures();
    void detailPanelListsOneStock();
    void detailPanelFollowsTheLedgerByKeys();
    void totalsReportBeforeAndAfterASummary();
    void quotedSummaryValuesHoldingsAtFetchedPrices();
    void failedFetchEndsTheSummary_data();
    void failedFetchEndsTheSummary();
    void secondRequestWhileFetchingIsRefused();
    void switchingBackDuringTheFetchDropsTheSummary();
    void aQuotedSummaryTellsAJournalTargetItReached();
    void returnsValueTheHoldingsAtMarketUntilTheTradesChange();
    void aDividendAddedInItsWindowCountsInTheSaleSummaryAndTotals();
    void theBuySelectedAfterAnEventShowsTheCostAfterEvents_data();
    void theBuySelectedAfterAnEventShowsTheCostAfterEvents();
    void aSaleBearingDividendTaxShowsItInTheTradeDetail_data();
    void aSaleBearingDividendTaxShowsItInTheTradeDetail();

private:
    app::SummaryController& summary() const { return h->program().summary(); }
    QComboBox& selector() const { return h->window().viewSelector(); }
    app::LedgerPanel& panel() const { return h->window().ledger(); }

    // Records a buy of 1000 of 600003 at 20.00 on 2024-03-01 through the trade
    // inputs; the stock's name.
    QString buy1000At20()
    {
        app::MainWindow& w = h->window();
        pickStock(w, u"600003"_s);
        w.parameters().tradeDate->setDate(QDate(2024, 3, 1));
        priceTrade(w, u"1000"_s, u"20.00"_s);
        click(w.trade().recordBuyButton);
        return h->program().tradeForm().stockName();
    }
    // Adds 10派3元送2股转3股, record 2024-06-20, ex 2024-06-21.
    void addTheExample(const QString& name)
    {
        ledger::EventEntry entry;
        entry.code = u"600003"_s;
        entry.name = name;
        entry.record = QDate(2024, 6, 20);
        entry.ex = QDate(2024, 6, 21);
        entry.cash = u"3"_s;
        entry.bonus = u"2"_s;
        entry.transfer = u"3"_s;
        QVERIFY(h->program().ledgerWriter().addEvent(entry, false).saved());
    }

    // Puts the network up with quotes from an in-process server.
    void goOnline(tools::QuoteServerOptions options = {})
    {
        server = std::make_unique<tools::QuoteServer>(
            QList<tools::ListedStock>{{u"600000"_s, bankName}, {u"000709"_s, steelName}}, options);
        QVERIFY(server->listen());
        quoteFromPages(h->program(), server->address());
        h->program().network().setNetworkOk(true);
    }

    std::unique_ptr<Harness> h;
    std::unique_ptr<tools::QuoteServer> server;
};

void MainWindowSummaryTest::switchingShowsTheSummaryAndBackTheLedgerAsItWas_data()
{
    QTest::addColumn<bool>("byItems");
    QTest::newRow("by the selector") << false;
    // The ledger popup's 交易汇总(&H), the summary popup's 交易记录(&J).
    QTest::newRow("by the popup items") << true;
}

void MainWindowSummaryTest::switchingShowsTheSummaryAndBackTheLedgerAsItWas()
{
    QFETCH(bool, byItems);
    QTableView* ledgerGrid = panel().ledgerGrid;
    clickGridRow(ledgerGrid, 1);
    const QStringList ledgerNames = gridColumn(ledgerGrid, ledger::NameColumn);
    const model::LedgerFocus& focus = h->window().focus();
    QVERIFY(focus.record());
    const qint64 chosen = focus.record()->id;
    QCOMPARE(chosen, h->window().ledgerController().currentRow()->id);
    // The row loaded back names its stock over the grid; the summary takes its place.
    QLabel* recordLabel = panel().recordLabel;
    QVERIFY(recordLabel->isVisible());
    QCOMPARE(recordLabel->text(),
             ledgerNames[1] + u":"_s + h->window().ledgerController().currentRow()->code);

    if (byItems) {
        QVERIFY(h->window().menus().summary->isEnabled());
        h->window().menus().summary->trigger();
    } else {
        selector().setCurrentIndex(1);
    }
    QVERIFY(panel().summaryGrid->isVisible());
    QVERIFY(!ledgerGrid->isVisible());
    QCOMPARE(selector().currentIndex(), 1);
    QCOMPARE(focus.view(), model::LedgerViewKind::Summary);
    QCOMPARE(panel().title(), u"交易汇总"_s);
    QCOMPARE(selector().toolTip(), u"点击显示汇总后每只股票盈亏金额等数据"_s);
    QVERIFY(!recordLabel->isVisible());
    QCOMPARE(recordLabel->text(), QString());
    QVERIFY(!h->window().trade().deleteButton->isEnabled());

    // The totals row first, then one row per stock.
    const report::SummaryTableModel& model = summary().model();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(cell(model, 0, report::NameColumn), u"合　　计"_s);
    const int bank = rowOf(model, bankName);
    QVERIFY(bank > 0);
    QCOMPARE(cell(model, bank, report::BoughtColumn), u"1000"_s);
    QCOMPARE(cell(model, bank, report::SoldColumn), u"1000"_s);
    QCOMPARE(cell(model, bank, report::ProfitColumn), u"1980.00"_s);
    QCOMPARE(foreground(model, bank, report::ProfitColumn), QColor(Qt::red));
    QVERIFY(rowOf(model, steelName) > 0);

    if (byItems)
        menuAction(summary().popup(), report::texts::ledgerAction.toString())->trigger();
    else
        selector().setCurrentIndex(0);
    QVERIFY(ledgerGrid->isVisible());
    QVERIFY(!panel().summaryGrid->isVisible());
    QCOMPARE(selector().currentIndex(), 0);
    QCOMPARE(selector().toolTip(), u"点击显示所有买卖股票数据"_s);
    QCOMPARE(focus.view(), model::LedgerViewKind::Ledger);
    QCOMPARE(focus.record()->id, chosen);
    QCOMPARE(panel().title(), u"交易记录"_s);
    QCOMPARE(ledgerGrid->currentIndex().row(), 1);
    // Back on the ledger no row is loaded until one is chosen again.
    QVERIFY(!recordLabel->isVisible());
    QCOMPARE(recordLabel->text(), QString());
    clickGridRow(ledgerGrid, 1);
    QVERIFY(recordLabel->isVisible());
    QCOMPARE(recordLabel->text(),
             ledgerNames[1] + u":"_s + h->window().ledgerController().currentRow()->code);
    QCOMPARE(gridColumn(ledgerGrid, ledger::NameColumn), ledgerNames);
    QVERIFY(h->window().trade().deleteButton->isEnabled());
    // The hidden summary lets go of its rows: it is built again when next shown.
    QCOMPARE(summary().model().rowCount(), 1);
    QVERIFY(summary().summary().stocks.isEmpty());
}

void MainWindowSummaryTest::summaryShownAgainGivesTheSameFigures()
{
    const auto figures = [this] {
        const report::SummaryTableModel& model = summary().model();
        QStringList rows;
        for (int row = 0; row < model.rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model.columnCount(); ++column)
                cells << cell(model, row, column) + u'/' + foreground(model, row, column).name();
            rows << cells.join(u'|');
        }
        return rows;
    };
    selector().setCurrentIndex(1);
    const QStringList first = figures();
    QCOMPARE(first.size(), 3);
    QCOMPARE(panel().title(), u"交易汇总"_s);
    selector().setCurrentIndex(0);
    selector().setCurrentIndex(1);
    QVERIFY(panel().summaryGrid->isVisible());
    QCOMPARE(figures(), first);
}

void MainWindowSummaryTest::aRecordedTradeRefreshesTheShownSummary()
{
    selector().setCurrentIndex(1);
    QCOMPARE(summary().model().rowCount(), 3);

    const ledger::RecordOutcome outcome = h->program().ledgerWriter().record(
        tradeEntry(u"000709"_s, steelName, Direction::Sell, 500, u"9"_s, u"2021-03-04"_s));
    QVERIFY(outcome.recorded());

    // Still the summary, now with the steel stock sold out: 4490 - 4010.
    QVERIFY(panel().summaryGrid->isVisible());
    QCOMPARE(selector().currentIndex(), 1);
    const report::SummaryTableModel& model = summary().model();
    const int steel = rowOf(model, steelName);
    QVERIFY(steel > 0);
    QCOMPARE(cell(model, steel, report::SoldColumn), u"500"_s);
    QCOMPARE(cell(model, steel, report::ProfitColumn), u"480.00"_s);
    // The ledger grid took the trade too.
    selector().setCurrentIndex(0);
    QCOMPARE(panel().ledgerGrid->model()->rowCount(), 4);
}

void MainWindowSummaryTest::detailPanelListsOneStock()
{
    selector().setCurrentIndex(1);
    QTableView* grid = panel().summaryGrid;
    const int bank = rowOf(summary().model(), bankName);
    grid->setCurrentIndex(grid->model()->index(bank, 0));
    QAction* detail = menuAction(summary().popup(), u"交易明细(L)"_s);
    QVERIFY(detail);
    detail->trigger();

    app::TradeDetailPanel& detailPanel = summary().detailPanel();
    QVERIFY(detailPanel.isVisible());
    QCOMPARE(detailPanel.title(), u"交易明细"_s);
    const report::TradeDetailModel& model = summary().detailModel();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(foreground(model, 0, 0), QColor(Qt::red));  // the buy
    QCOMPARE(foreground(model, 1, 0), QColor(Qt::blue)); // the sell

    // Locked for the monitored stocks, every row is red; a new detail unlocks it.
    summary().detailModel().setLocked(true);
    QCOMPARE(foreground(model, 1, 0), QColor(Qt::red));
    const int steel = rowOf(summary().model(), steelName);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(steel, 0)).center());
    QCOMPARE(model.name(), steelName);
    QVERIFY(!model.locked());
    QCOMPARE(model.rowCount(), 1);

    detailPanel.closeAction->trigger();
    QVERIFY(!detailPanel.isVisible());
}

// The trades of the ledger's current stock are shown; moving through the ledger
// with the arrow keys, the panel shows each row's stock as a click would.
void MainWindowSummaryTest::detailPanelFollowsTheLedgerByKeys()
{
    QTableView* ledgerGrid = panel().ledgerGrid;
    clickGridRow(ledgerGrid, 0);
    h->window().menus().stockTrades->trigger();
    app::TradeDetailPanel& detailPanel = summary().detailPanel();
    QVERIFY(detailPanel.isVisible());
    const report::TradeDetailModel& model = summary().detailModel();
    const QStringList names = gridColumn(ledgerGrid, ledger::NameColumn);
    QCOMPARE(model.name(), names.at(0));
    QVERIFY(QSet<QString>(names.begin(), names.end()).size() > 1);

    ledgerGrid->setFocus();
    for (int row = 1; row < names.size(); ++row) {
        QTest::keyClick(ledgerGrid, Qt::Key_Down);
        QCOMPARE(ledgerGrid->currentIndex().row(), row);
        QCOMPARE(model.name(), names.at(row));
    }
    QTest::keyClick(ledgerGrid, Qt::Key_PageUp);
    QCOMPARE(model.name(), names.at(0));
    detailPanel.closeAction->trigger();
}

void MainWindowSummaryTest::totalsReportBeforeAndAfterASummary()
{
    windows::TotalsReportWindow& report = h->program().totalsReport();
    QAction* totals = menuAction(summary().popup(), u"显示汇总金额(&S)"_s);
    QVERIFY(totals);
    totals->trigger();
    QVERIFY(report.isVisible());
    QCOMPARE(report.windowTitle(), u"汇总总金额显示"_s);
    QCOMPARE(report.lines(), (QStringList{u""_s, u"空"_s, u""_s, u""_s}));
    report.exitButton->click();
    QVERIFY(!report.isVisible());

    selector().setCurrentIndex(1);
    totals->trigger();
    const QStringList lines = report.lines();
    QVERIFY(lines.size() > 14);
    // Bought 10010, sold for 11990 which paid the 4010 of the next buy.
    QCOMPARE(lines[1], u"买卖2只股票：　总计投入:10010.00元"_s);
    QCOMPARE(lines[3], u"　现持有:1支股票"_s);
    QCOMPARE(lines[8], u"    卖出总金额：11990.00元(未卖出不统计)"_s);
    QCOMPARE(report.balance->text(), u"7980"_s);
    QVERIFY(!report.closeButton->isEnabled());
}

void MainWindowSummaryTest::quotedSummaryValuesHoldingsAtFetchedPrices()
{
    goOnline();
    app::MainMenus& menus = h->window().menus();
    menus.tradeRefresh->trigger();
    QVERIFY(menus.tradeRefresh->isChecked());
    QSignalSpy done(&summary(), &app::SummaryController::summaryFinished);
    selector().setCurrentIndex(1);
    // The summary's quotes replace the single stock's refresh.
    QVERIFY(!menus.tradeRefresh->isChecked());
    QVERIFY(!menus.trayRefresh->isChecked());
    QCOMPARE(panel().title(), u"实时行情下载中"_s);
    QVERIFY(summary().isFetching());
    QVERIFY(summary().progress().isVisible());
    QCOMPARE(summary().progress().maximum(), 2);
    // The ledger stays on show while the quotes come in.
    QVERIFY(panel().ledgerGrid->isVisible());

    QVERIFY(done.wait(10000));
    QCOMPARE(done.first().first().toBool(), true);
    QCOMPARE(panel().title(), u"交易汇总 未卖出股票的数据按当前价格进行卖出计算"_s);
    QVERIFY(panel().summaryGrid->isVisible());
    QVERIFY(!summary().progress().isVisible());
    QCOMPARE(server->requests().size(), 2);
    const market::QuoteLines& quotes = h->program().quoteLines();
    QCOMPARE(quotes.monitorLines().size(), 2);
    QVERIFY(quotes.holdsCode(u"000709"_s));
    QCOMPARE(quotes.latestQuoteTime(), market::QuoteLines::noQuoteTime);
    // The held stock has a market value now.
    const report::SummaryTableModel& model = summary().model();
    QVERIFY(!cell(model, rowOf(model, steelName), report::MarketValueColumn).isEmpty());
    QVERIFY(!summary().marketValueText().isEmpty());
}

void MainWindowSummaryTest::failedFetchEndsTheSummary_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("timeoutMs");
    QTest::newRow("second stock answers an error") << int(tools::Answer::Error) << 60000;
    QTest::newRow("second stock's server hangs") << int(tools::Answer::Hang) << 300;
}

void MainWindowSummaryTest::failedFetchEndsTheSummary()
{
    QFETCH(int, answer);
    QFETCH(int, timeoutMs);
    const QStringList codes = report::ledgerQuoteCodes(h->db);
    QCOMPARE(codes.size(), 2);
    tools::QuoteServerOptions options;
    options.byCode.insert(codes[1], tools::Answer(answer));
    goOnline(options);
    h->program().quoteService().setTransferTimeout(market::QuoteUse::Summary,
                                                   std::chrono::milliseconds(timeoutMs));

    QSignalSpy done(&summary(), &app::SummaryController::summaryFinished);
    selector().setCurrentIndex(1);
    QVERIFY(done.wait(10000));
    QCOMPARE(done.first().first().toBool(), false);
    QCOMPARE(panel().title(), u"网络连接超时!"_s);
    // The grids as they were: the ledger, and the selector on it.
    QVERIFY(panel().ledgerGrid->isVisible());
    QVERIFY(!panel().summaryGrid->isVisible());
    QCOMPARE(selector().currentIndex(), 0);
    QVERIFY(!summary().isFetching());
    QCOMPARE(h->program().quoteLines().monitorLines().size(), 1);
}

void MainWindowSummaryTest::secondRequestWhileFetchingIsRefused()
{
    goOnline();
    QSignalSpy done(&summary(), &app::SummaryController::summaryFinished);
    selector().setCurrentIndex(1);
    QVERIFY(summary().isFetching());
    summary().requestSummary();
    summary().requestSummary();
    QVERIFY(done.wait(10000));
    QTest::qWait(800); // time for a second run's requests, were there one
    QCOMPARE(done.size(), 1);
    QCOMPARE(server->requests().size(), 2);
    QVERIFY(h->prompter.messages.isEmpty());
}

void MainWindowSummaryTest::switchingBackDuringTheFetchDropsTheSummary()
{
    tools::QuoteServerOptions options;
    options.delay = std::chrono::milliseconds(200);
    goOnline(options);
    QSignalSpy done(&summary(), &app::SummaryController::summaryFinished);
    selector().setCurrentIndex(1);
    QVERIFY(summary().isFetching());
    selector().setCurrentIndex(0);
    QVERIFY(!summary().isFetching());
    QCOMPARE(done.size(), 1);
    QCOMPARE(done.first().first().toBool(), false);
    QCOMPARE(panel().title(), u"交易记录"_s);
    QTest::qWait(600);
    QVERIFY(panel().ledgerGrid->isVisible());
    QCOMPARE(selector().currentIndex(), 0);
}

void MainWindowSummaryTest::aQuotedSummaryTellsAJournalTargetItReached()
{
    // A note on the held stock whose target any traded price reaches.
    journal::Journal notes(h->db);
    ledger::LedgerNotifier changes;
    const auto added = notes.add({u"000709"_s, steelName, u"8.00"_s, {}, {}, {}, {}, u"到价提醒"_s},
                                 QDate::currentDate(), changes);
    QVERIFY(added.written());
    journal::ReminderSettings reminder;
    reminder.targets = {0.01, std::nullopt};
    QVERIFY(notes.setReminder(added.id, reminder, changes));
    QVERIFY(h->window().statusBar()->currentMessage().isEmpty());

    goOnline();
    QSignalSpy done(&summary(), &app::SummaryController::summaryFinished);
    selector().setCurrentIndex(1);
    QVERIFY(done.wait(10000));
    const QString told = h->window().statusBar()->currentMessage();
    QVERIFY2(told.contains(u"000709"_s) && told.contains(u"目标价"_s), qPrintable(told));
}

// The return column: at cost in a plain summary; at market after a quoted one,
// also in a plain summary while the trades stay as they were; at cost again once
// a trade is recorded. The title says which.
void MainWindowSummaryTest::returnsValueTheHoldingsAtMarketUntilTheTradesChange()
{
    const report::SummaryTableModel& model = summary().model();
    const auto title = [&model] {
        return model.headerData(report::ReturnColumn, Qt::Horizontal, Qt::DisplayRole).toString();
    };
    QCOMPARE(title(), u"年化收益率"_s);

    // Offline: a plain summary values the held steel shares at their cost.
    selector().setCurrentIndex(1);
    QCOMPARE(panel().title(), u"交易汇总"_s);
    const int steel = rowOf(model, steelName);
    const int bank = rowOf(model, bankName);
    const double steelCost = -flowsOf(h->db, steelName, std::nullopt).front().amount;
    QCOMPARE(title(), u"年化收益率(持仓按成本)"_s);
    QCOMPARE(cell(model, steel, report::ReturnColumn), u"0.00%"_s);
    // 20 % in one day has no annual rate to show.
    QCOMPARE(cell(model, bank, report::ReturnColumn), u"无法计算"_s);
    const auto atCost = report::moneyWeightedReturn(flowsOf(h->db, {}, steelCost));
    QVERIFY(atCost);
    QCOMPARE(cell(model, 0, report::ReturnColumn), percent(atCost));
    QVERIFY(panel().summaryGrid->columnWidth(report::ReturnColumn) > 0);

    // A quoted summary values them at the fetched price.
    selector().setCurrentIndex(0);
    goOnline();
    QSignalSpy done(&summary(), &app::SummaryController::summaryFinished);
    selector().setCurrentIndex(1);
    QVERIFY(done.wait(10000));
    QCOMPARE(done.first().first().toBool(), true);
    const QString valueText = cell(model, steel, report::MarketValueColumn);
    bool isNumber = false;
    const double value = valueText.toDouble(&isNumber);
    QVERIFY2(isNumber && value > 0, qPrintable(valueText));
    const auto steelRate = report::moneyWeightedReturn(flowsOf(h->db, steelName, value));
    QVERIFY(steelRate);
    // One buy and the value today: (value / cost) ^ (365 / days) − 1.
    const double days = double(QDate(2021, 3, 3).daysTo(QDate::currentDate()));
    QCOMPARE(percent(steelRate), percent(std::pow(value / steelCost, 365 / days) - 1));
    const QStringList atMarket{title(), cell(model, steel, report::ReturnColumn),
                               cell(model, 0, report::ReturnColumn)};
    QCOMPARE(atMarket,
             (QStringList{u"年化收益率(持仓按市值)"_s, percent(steelRate),
                          percent(report::moneyWeightedReturn(flowsOf(h->db, {}, value)))}));
    QVERIFY(atMarket[2] != percent(atCost));

    // Offline again and back to the summary: the trades have not changed, so the
    // last quoted values still hold.
    h->program().network().setNetworkOk(false);
    selector().setCurrentIndex(0);
    selector().setCurrentIndex(1);
    QCOMPARE(panel().title(), u"交易汇总"_s);
    QCOMPARE((QStringList{title(), cell(model, steel, report::ReturnColumn),
                          cell(model, 0, report::ReturnColumn)}),
             atMarket);

    // A recorded trade: the shown summary follows at cost.
    const ledger::RecordOutcome outcome = h->program().ledgerWriter().record(
        tradeEntry(u"600000"_s, bankName, Direction::Buy, 100, u"11"_s, u"2021-03-05"_s));
    QVERIFY(outcome.recorded());
    QCOMPARE(title(), u"年化收益率(持仓按成本)"_s);
    QCOMPARE(cell(model, rowOf(model, steelName), report::ReturnColumn), u"0.00%"_s);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainWindowSummaryTest::theBuySelectedAfterAnEventShowsTheCostAfterEvents_data()
{
    QTest::addColumn<bool>("withEvent");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<bool>("ladderGains"); // at today's open of 14.00 + 0.5%
    // 1000 grew to 1500; the 20000.00 traded over them is 13.333 a share.
    QTest::newRow("after 10派3元送2股转3股") << true << u"1500"_s << u"13.333"_s << true;
    QTest::newRow("without an event") << false << u"1000"_s << u"20"_s << false;
}

// Selecting the buy shows it as the shares it has become: 买入成本 and 保本价格
// over them, and the sell targets, the gain and the profit/loss window's ladder
// reckon with them.
void MainWindowSummaryTest::theBuySelectedAfterAnEventShowsTheCostAfterEvents()
{
    QFETCH(bool, withEvent);
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(bool, ladderGains);
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    const QString name = buy1000At20();
    QVERIFY2(h->prompter.messages.isEmpty(), qPrintable(h->prompter.messages.join(u'\n')));
    if (withEvent)
        addTheExample(name);
    auto stored =
        h->db.prepare("SELECT 总金额,过户费等 FROM gpjl WHERE 股票名=?1 AND 交易状态='买入'");
    stored.bind(1, name);
    QVERIFY(stored.step());
    const double paid = stored.real(0);
    const double transferAndOther = stored.real(1);
    QVERIFY(paid > 20000);

    // The buy's row in the ledger grid; an event has a row of its own.
    QTableView* grid = panel().ledgerGrid;
    const QStringList names = gridColumn(grid, ledger::NameColumn);
    const QStringList states = gridColumn(grid, ledger::StateColumn);
    int row = -1;
    for (int i = 0; i < names.size(); ++i)
        if (names[i] == name && states[i] == u"买入"_s)
            row = i;
    QVERIFY(row >= 0);
    clickGridRow(grid, row);

    const double shares = quantity.toDouble();
    QCOMPARE(t.quantity->text(), quantity);
    QCOMPARE(t.price->text(), price);
    QCOMPARE(t.zfze->text(), num::general(paid));
    QCOMPARE(t.mrcb->text(), num::perShare(paid / shares));
    const PerShareTexts expected =
        recordedPerShare(w.fees().snapshot(), paid, transferAndOther, shares);
    QVERIFY(expected.breakEven);
    QCOMPARE(t.bbjg->text(), *expected.breakEven);

    // Selling at about the cost per share breaks even: the target for no profit lies
    // just above it.
    retype(h->find<QLineEdit>(u"Edit8"_s), u"0"_s);
    const double target = h->find<QLineEdit>(u"Edit7"_s)->text().toDouble();
    QVERIFY2(target > paid / shares && target < paid / shares + 0.2,
             qPrintable(QString::number(target)));

    t.todayOpen->setText(u"14.00"_s);
    w.menus().tradeDetail->trigger();
    windows::ProfitLossWindow& window = h->program().sideWindows().profitLoss();
    QVERIFY(window.isVisible());
    auto* header = window.findChild<QLabel*>(u"Label1"_s);
    QVERIFY(header);
    QVERIFY2(header->text().contains(u"买入价格:"_s + price + u"  数量:"_s + quantity),
             qPrintable(header->text()));
    auto* ladder = window.findChild<QTableView*>(u"ladderGrid"_s);
    QVERIFY(ladder);
    const QString profit = ladder->model()->index(0, 1).data().toString();
    QVERIFY2(!profit.isEmpty() && (profit.toDouble() > 0) == ladderGains, qPrintable(profit));
    window.close();
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainWindowSummaryTest::aSaleBearingDividendTaxShowsItInTheTradeDetail_data()
{
    QTest::addColumn<QString>("sold");
    QTest::addColumn<QString>("tax");
    // Held from 2024-03-01 to 2024-07-09: 10% of 300 + 200 × 1.
    QTest::newRow("within a year") << u"2024-07-10"_s << u"50.00"_s;
    // Held over a year: no tax, and the panel shows its usual columns.
    QTest::newRow("after a year") << u"2025-03-10"_s << QString();
}

void MainWindowSummaryTest::aSaleBearingDividendTaxShowsItInTheTradeDetail()
{
    QFETCH(QString, sold);
    QFETCH(QString, tax);
    const QString name = buy1000At20();
    addTheExample(name);
    const ledger::RecordOutcome sale = h->program().ledgerWriter().record(
        tradeEntry(u"600003"_s, name, Direction::Sell, 1500, u"14"_s, sold));
    QVERIFY2(sale.recorded(), qPrintable(sale.refusal));

    selector().setCurrentIndex(1);
    QTableView* grid = panel().summaryGrid;
    grid->setCurrentIndex(grid->model()->index(rowOf(summary().model(), name), 0));
    QAction* detail = menuAction(summary().popup(), u"交易明细(L)"_s);
    QVERIFY(detail);
    detail->trigger();
    QVERIFY(summary().detailPanel().isVisible());
    const report::TradeDetailModel& model = summary().detailModel();
    QCOMPARE(model.name(), name);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(cell(model, 1, report::DetailStateColumn), u"卖出"_s);
    QCOMPARE(model.columnCount(), int(report::TradeDetailColumnCount) + (tax.isEmpty() ? 0 : 1));
    if (!tax.isEmpty()) {
        QCOMPARE(
            model.headerData(report::DetailTaxColumn, Qt::Horizontal, Qt::DisplayRole).toString(),
            u"红利税"_s);
        QCOMPARE(cell(model, 1, report::DetailTaxColumn), tax);
        QCOMPARE(cell(model, 0, report::DetailTaxColumn), QString()); // the buy
    }
    // The columns after it keep their texts.
    const int total = report::DetailTotalColumn + (tax.isEmpty() ? 0 : 1);
    QCOMPARE(model.headerData(total, Qt::Horizontal, Qt::DisplayRole).toString(), u"总金额"_s);
    QCOMPARE(cell(model, 1, total), u"20990"_s); // 1500 × 14 less fees of 10
    QCOMPARE(cell(model, 1, total + 2), QString::number(sale.id));
    summary().detailPanel().closeAction->trigger();
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

int runSummaryTests(int argc, char* argv[])
{
    MainWindowSummaryTest test;
    return QTest::qExec(&test, argc, argv);
}

// The worked example through the windows: a buy of 1000 on 2024-03-01, then
// 10派3元送2股转3股 (record 2024-06-20, ex 2024-06-21) added in the 分红送配 window
// opened from the ledger popup, then a sale of all 1500 shares on 2024-07-10. The
// sale is accepted; it carries 10% tax on 300 + 200 × 1 = 50.00, and the summary
// and the totals report count the dividend and the tax.
void MainWindowSummaryTest::aDividendAddedInItsWindowCountsInTheSaleSummaryAndTotals()
{
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    pickStock(w, u"600003"_s);
    const QString name = h->program().tradeForm().stockName();
    QVERIFY(!name.isEmpty());
    w.parameters().tradeDate->setDate(QDate(2024, 3, 1));
    priceTrade(w, u"1000"_s, u"20.00"_s);
    click(t.recordBuyButton);
    QVERIFY2(h->prompter.messages.isEmpty(), qPrintable(h->prompter.messages.join(u'\n')));

    QAction* eventsItem = menuAction(*w.menus().ledgerPopup, u"分红送配(&F)"_s);
    QVERIFY(eventsItem);
    eventsItem->trigger();
    windows::StockEventWindow& events = h->program().stockEvents();
    QVERIFY(events.isVisible());
    QCOMPARE(events.stockName(), name);
    events.findChild<QDateEdit*>(u"recordDate"_s)->setDate(QDate(2024, 6, 20));
    events.findChild<QDateEdit*>(u"exDate"_s)->setDate(QDate(2024, 6, 21));
    const QList<QPair<QString, QString>> terms = {
        {u"cash"_s, u"3"_s}, {u"bonus"_s, u"2"_s}, {u"transfer"_s, u"3"_s}};
    for (const auto& [field, text] : terms)
        QTest::keyClicks(events.findChild<QLineEdit*>(field), text);
    QCOMPARE(events.findChild<QLabel*>(u"entitlement"_s)->text(),
             u"登记日持有 1000 股：派现 300.00 元，送转 500 股"_s);
    click(events.findChild<QPushButton*>(u"addButton"_s));
    QVERIFY2(h->prompter.messages.isEmpty(), qPrintable(h->prompter.messages.join(u'\n')));
    QCOMPARE(ledger::sharesHeld(h->db, name), 1500);
    events.close();
    // The stock panel's popup opens it for the current stock, listing the event.
    QAction* panelItem = menuAction(*w.menus().tradePopup, u"分红送配(&F)"_s);
    QVERIFY(panelItem);
    panelItem->trigger();
    QVERIFY(events.isVisible());
    QCOMPARE(events.stockName(), name);
    QCOMPARE(events.findChild<QTableView*>(u"eventTable"_s)->model()->rowCount(), 1);
    events.close();

    pickStock(w, u"600003"_s);
    click(w.parameters().directionGroup->button(1));
    w.parameters().tradeDate->setDate(QDate(2024, 7, 10));
    // The recorded buy left a lone 0 in the quantity, which the field's key rules
    // keep when it is typed over; the user empties it first.
    t.quantity->clear();
    priceTrade(w, u"1500"_s, u"14.00"_s);
    QCOMPARE(t.quantity->text(), u"1500"_s);
    QVERIFY(t.recordSellButton->isEnabled());
    click(t.recordSellButton);
    QVERIFY2(h->prompter.messages.isEmpty(), qPrintable(h->prompter.messages.join(u'\n')));
    QCOMPARE(ledger::sharesHeld(h->db, name), 0);

    // What the buy paid and the sale received, fees included, as recorded.
    auto amounts = h->db.prepare("SELECT 交易状态,总金额,费用 FROM gpjl WHERE 股票名=?1 AND "
                                 "交易状态 IN ('买入','卖出') ORDER BY ID");
    amounts.bind(1, name);
    double paid = 0, received = 0, saleFees = 0;
    while (amounts.step()) {
        if (amounts.text(0) == u"买入"_s) {
            paid += amounts.real(1);
        } else {
            received += amounts.real(1);
            saleFees += amounts.real(2);
        }
    }
    QVERIFY(paid > 20000 && received > 20000);

    selector().setCurrentIndex(1);
    const report::SummaryTableModel& model = summary().model();
    const int row = rowOf(model, name);
    QVERIFY(row >= 0);
    QCOMPARE(cell(model, row, report::SoldColumn), u"1500"_s);
    QCOMPARE(cell(model, row, report::ProfitColumn), num::money(received - paid + 300 - 50));
    QCOMPARE(cell(model, row, report::SellFeesColumn), num::money(saleFees + 50));

    windows::TotalsReportWindow& report = h->program().totalsReport();
    QAction* totals = menuAction(summary().popup(), u"显示汇总金额(&S)"_s);
    QVERIFY(totals);
    totals->trigger();
    const QStringList lines = report.lines();
    QVERIFY2(lines.contains(u"    分红派息：300.00元(税前)"_s), qPrintable(lines.join(u'\n')));
    QVERIFY2(lines.contains(u"    红利税：50.00元"_s), qPrintable(lines.join(u'\n')));
    report.exitButton->click();
}

} // namespace mwtest

#include "MainWindowTestSummary.moc"
