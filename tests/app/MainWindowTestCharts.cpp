#include "MainWindowTestSupport.h"

#include "app/MainMenus.h"
#include "app/SummaryController.h"
#include "ledger/LedgerWriter.h"
#include "market/NetworkState.h"
#include "quote-server/QuoteServer.h"
#include "report/SummaryTableModel.h"
#include "windows/AccountCharts.h"
#include "windows/YearlyStatementWindow.h"

#include <QAction>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

// One trade of a test ledger: every trade pays 10 in fees.
struct ChartTrade {
    QString code;
    QString name;
    Direction direction;
    int shares;
    QString price;
    QString date;
};

} // namespace mwtest

Q_DECLARE_METATYPE(mwtest::ChartTrade)

namespace mwtest {

namespace {

const QString bankName = u"浦发银行"_s;
const QString steelName = u"唐钢股份"_s;

ChartTrade bankBuy(int shares, const QString& price, const QString& date)
{
    return {u"600000"_s, bankName, Direction::Buy, shares, price, date};
}

ChartTrade bankSell(int shares, const QString& price, const QString& date)
{
    return {u"600000"_s, bankName, Direction::Sell, shares, price, date};
}

ChartTrade steelBuy(int shares, const QString& price, const QString& date)
{
    return {u"000709"_s, steelName, Direction::Buy, shares, price, date};
}

ChartTrade steelSell(int shares, const QString& price, const QString& date)
{
    return {u"000709"_s, steelName, Direction::Sell, shares, price, date};
}

QString yuan(qreal value)
{
    return QString::number(value, 'f', 2);
}

QString dateOf(qreal msecs)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(msecs)))
        .date()
        .toString(u"yyyy-MM-dd");
}

template <typename T> T* seriesNamed(QChart* chart, const QString& name)
{
    for (QAbstractSeries* series : chart->series())
        if (series->name() == name)
            return qobject_cast<T*>(series);
    return nullptr;
}

template <typename T> T* firstSeries(QChart* chart)
{
    for (QAbstractSeries* series : chart->series())
        if (auto* found = qobject_cast<T*>(series))
            return found;
    return nullptr;
}

QStringList categories(QChart* chart)
{
    for (QAbstractAxis* axis : chart->axes(Qt::Horizontal))
        if (auto* bars = qobject_cast<QBarCategoryAxis*>(axis))
            return bars->categories();
    return {};
}

// The labels of a chart's vertical value axis, as its format prints its ticks.
QStringList valueLabels(QChart* chart)
{
    for (QAbstractAxis* axis : chart->axes(Qt::Vertical)) {
        if (auto* values = qobject_cast<QValueAxis*>(axis)) {
            QStringList labels;
            const int ticks = values->tickCount();
            const QByteArray format = values->labelFormat().toLatin1();
            for (int i = 0; i < ticks; ++i)
                labels << QString::asprintf(format.constData(),
                                            values->min() + i * (values->max() - values->min()) /
                                                                std::max(1, ticks - 1));
            return labels;
        }
    }
    return {};
}

// The money page as "date|invested|cash|holding cost", in yuan.
QStringList moneyLines(QChart* chart)
{
    auto* invested = seriesNamed<QLineSeries>(chart, u"总计投入"_s);
    auto* cash = seriesNamed<QLineSeries>(chart, u"现金余额"_s);
    auto* holdings = seriesNamed<QLineSeries>(chart, u"持仓成本"_s);
    if (!invested || !cash || !holdings)
        return {u"missing line"_s};
    QStringList lines;
    for (int i = 0; i < invested->count(); ++i)
        lines << dateOf(invested->at(i).x()) + u'|' + yuan(invested->at(i).y()) + u'|' +
                     yuan(cash->at(i).y()) + u'|' + yuan(holdings->at(i).y());
    return lines;
}

// The profit page as "date name|profit|cumulative", in yuan.
QStringList profitLines(QChart* chart)
{
    auto* bars = firstSeries<QAbstractBarSeries>(chart);
    auto* cumulative = seriesNamed<QLineSeries>(chart, u"累计盈亏"_s);
    if (!bars || bars->count() != 2 || !cumulative)
        return {u"missing series"_s};
    const QBarSet* gains = bars->barSets()[0];
    const QBarSet* losses = bars->barSets()[1];
    const QStringList sells = categories(chart);
    // A bar without its own label, or a running total beyond the last label, is off the axis.
    if (gains->count() != sells.size() || losses->count() != sells.size() ||
        cumulative->count() != sells.size())
        return {u"%1 labels for %2 bars and %3 running totals"_s.arg(sells.size())
                    .arg(gains->count())
                    .arg(cumulative->count())};
    QStringList lines;
    for (int i = 0; i < sells.size(); ++i)
        lines << QString(sells[i]).replace(u'\n', u' ') + u'|' +
                     yuan(gains->at(i) + losses->at(i)) + u'|' + yuan(cumulative->at(i).y());
    return lines;
}

// The positions page as "name|value", in yuan.
QStringList positionLines(QChart* chart)
{
    auto* bars = firstSeries<QBarSeries>(chart);
    if (!bars || bars->count() != 1)
        return {u"missing series"_s};
    const QBarSet* values = bars->barSets()[0];
    const QStringList names = categories(chart);
    QStringList lines;
    for (int i = 0; i < names.size(); ++i)
        lines << names[i] + u'|' + yuan(values->at(i));
    return lines;
}

// The profit page of a ledger with dividends as "date name|sell's bar|dividend's
// bar|cumulative", in yuan.
QStringList profitAndDividendLines(QChart* chart)
{
    auto* bars = firstSeries<QAbstractBarSeries>(chart);
    auto* cumulative = seriesNamed<QLineSeries>(chart, u"累计盈亏"_s);
    if (!bars || bars->count() != 3 || !cumulative)
        return {u"missing series"_s};
    const QBarSet* gains = bars->barSets()[0];
    const QBarSet* losses = bars->barSets()[1];
    const QBarSet* dividends = bars->barSets()[2];
    const QStringList labels = categories(chart);
    if (dividends->count() != labels.size() || cumulative->count() != labels.size())
        return {u"%1 labels for %2 dividend bars"_s.arg(labels.size()).arg(dividends->count())};
    QStringList lines;
    for (int i = 0; i < labels.size(); ++i)
        lines << QString(labels[i]).replace(u'\n', u' ') + u'|' +
                     yuan(gains->at(i) + losses->at(i)) + u'|' + yuan(dividends->at(i)) + u'|' +
                     yuan(cumulative->at(i).y());
    return lines;
}

// The tip shown when pointing at the first bar of the positions page.
QString positionTip(QChart* chart)
{
    auto* bars = firstSeries<QBarSeries>(chart);
    if (!bars || bars->count() != 1)
        return u"missing series"_s;
    Q_EMIT bars->barSets()[0]->hovered(true, 0);
    const QString tip = QToolTip::text();
    QToolTip::hideText();
    return tip;
}

QAction* menuAction(QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

} // namespace

class MainWindowChartsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<Harness>();
        h->db.exec("delete from gpjl");
    }
    void cleanup()
    {
        endTest(h);
        server.reset();
    }

    void menusOpenTheCharts();
    void pagesShowTheLedger_data();
    void pagesShowTheLedger();
    void chartsFollowLedgerChanges();
    void eachPageIsDrawnWhenShown();
    void quotedSummaryValuesTheHoldings();
    void theLedgerShownAgainKeepsTheQuotedValues();
    void unreadableLedgerKeepsTheChartsAndSaysWhy();
    void yearlyStatementOpensFromBothPopupsAndFollowsTheTrades();
    void returnsPageShowsEachStockAndTheAccount();
    void aSmallReturnsLabelsReadApart();
    void manyBarsStandOnAnAxisWithoutNames();
    void dividendsAndBonusSharesShowOnEveryPage();
    void closedChartsLetGoOfTheirSeriesAndReopenAsBefore();
    void closedChartsAreLetGoOfAndTheLedgerCacheEmptied();
    void aChartsModuleThatCannotLoadIsTold_data();
    void aChartsModuleThatCannotLoadIsTold();

private:
    void showQuotedSummaryOfTwoHoldings(QStringList& expected, double& total);
    void record(const QList<ChartTrade>& trades)
    {
        for (const ChartTrade& t : trades)
            addTrade(h->db, t.code, t.name, t.direction, t.shares, t.price, t.date);
    }
    windows::AccountCharts& charts() const
    {
        windows::AccountCharts* built = h->program().accountCharts();
        if (!built)
            qFatal("the account charts' module did not load");
        return *built;
    }
    // The bytes the program's ledger connection holds in its page cache.
    qint64 pageCacheBytes() const
    {
        int current = 0, highest = 0;
        sqlite3_db_status(h->program().database().handle(), SQLITE_DBSTATUS_CACHE_USED, &current,
                          &highest, 0);
        return current;
    }
    // The chart windows among the main window's children, by their class's name:
    // the window's class lives in the charts' module.
    qsizetype chartWindows() const
    {
        const QList<QWidget*> children = h->window().findChildren<QWidget*>();
        return std::count_if(children.begin(), children.end(), [](QWidget* w) {
            return w->inherits("corvanta::windows::AccountChartWindow");
        });
    }
    // Each page's chart as the user sees it: its page shown first, as a page is
    // drawn when it is shown.
    QChart* shownChart(int page, QChartView* view) const
    {
        charts().pages()->setCurrentIndex(page);
        return view->chart();
    }
    QChart* moneyChart() const { return shownChart(0, charts().moneyView()); }
    QChart* profitChart() const { return shownChart(1, charts().profitView()); }
    QChart* positionsChart() const { return shownChart(2, charts().positionsView()); }
    QChart* returnsChart() const { return shownChart(3, charts().returnsView()); }

    std::unique_ptr<Harness> h;
    std::unique_ptr<tools::QuoteServer> server;
};

void MainWindowChartsTest::menusOpenTheCharts()
{
    record({bankBuy(1000, u"10"_s, u"2021-03-01"_s)});
    QVERIFY(h->open());
    // Built when first asked for, not at start.
    QCOMPARE(chartWindows(), 0);
    QAction* fromLedger = h->window().menus().accountCharts;
    QCOMPARE(fromLedger->text(), u"账户图表"_s);
    QVERIFY(fromLedger->isEnabled());
    fromLedger->trigger();
    QCOMPARE(chartWindows(), 1);
    QVERIFY(charts().isVisible());
    QCOMPARE(charts().windowTitle(), u"账户图表"_s);
    QCOMPARE(charts().pages()->count(), 4);
    QCOMPARE(positionLines(positionsChart()), QStringList{bankName + u"|10010.00"_s});
    // "复制图片" puts the shown chart on the clipboard.
    charts().pages()->setCurrentIndex(2);
    QGuiApplication::clipboard()->clear();
    auto* copy = charts().findChild<QPushButton*>();
    QVERIFY(copy);
    QCOMPARE(copy->text(), u"复制图片"_s);
    click(copy);
    const QImage copied = QGuiApplication::clipboard()->image();
    QVERIFY(!copied.isNull());
    QCOMPARE(copied.size() / copied.devicePixelRatio(), charts().positionsView()->size());
    // And says so, until another page is shown.
    QVERIFY(charts().copiedNote()->isVisible());
    QCOMPARE(charts().copiedNote()->text(), u"已将“持仓分布”图复制到剪贴板"_s);
    charts().pages()->setCurrentIndex(0);
    QVERIFY(charts().copiedNote()->text().isEmpty());
    charts().close();

    // The summary grid's menu has it right after the totals.
    QMenu& popup = h->program().summary().popup();
    const QList<QAction*> actions = popup.actions();
    const qsizetype totals = actions.indexOf(menuAction(popup, u"显示汇总金额(&S)"_s));
    QVERIFY(totals >= 0 && totals + 1 < actions.size());
    QAction* fromSummary = actions[totals + 1];
    QCOMPARE(fromSummary->text(), u"账户图表"_s);
    QVERIFY(fromSummary->isEnabled());
    fromSummary->trigger();
    QVERIFY(charts().isVisible());
}

void MainWindowChartsTest::pagesShowTheLedger_data()
{
    QTest::addColumn<QList<ChartTrade>>("trades");
    QTest::addColumn<QStringList>("money");
    QTest::addColumn<QStringList>("profits");
    QTest::addColumn<QStringList>("positions");

    // Fees are 10 a trade: a buy of 1000 at 10 pays 10010, a sell at 12 gets 11990.
    QTest::newRow("buy then sell at a profit")
        << QList<ChartTrade>{bankBuy(1000, u"10"_s, u"2021-03-01"_s),
                             bankSell(1000, u"12"_s, u"2021-03-02"_s)}
        << QStringList{u"2021-03-01|10010.00|0.00|10010.00"_s,
                       u"2021-03-02|10010.00|11990.00|0.00"_s}
        << QStringList{u"2021-03-02 浦发银行|1980.00|1980.00"_s} << QStringList{};
    QTest::newRow("buy then sell at a loss")
        << QList<ChartTrade>{bankBuy(1000, u"10"_s, u"2021-03-01"_s),
                             bankSell(1000, u"9"_s, u"2021-03-02"_s)}
        << QStringList{u"2021-03-01|10010.00|0.00|10010.00"_s,
                       u"2021-03-02|10010.00|8990.00|0.00"_s}
        << QStringList{u"2021-03-02 浦发银行|-1020.00|-1020.00"_s} << QStringList{};
    // 400 of the 1000 shares carry 4004 of the 10010 paid.
    QTest::newRow("partial sale") << QList<ChartTrade>{bankBuy(1000, u"10"_s, u"2021-03-01"_s),
                                                       bankSell(400, u"12"_s, u"2021-03-02"_s)}
                                  << QStringList{u"2021-03-01|10010.00|0.00|10010.00"_s,
                                                 u"2021-03-02|10010.00|4790.00|6006.00"_s}
                                  << QStringList{u"2021-03-02 浦发银行|786.00|786.00"_s}
                                  << QStringList{u"浦发银行|6006.00"_s};
    // The second steel buy is paid from the bank's proceeds; the steel sell takes
    // half of 4010 + 4510.
    QTest::newRow("two stocks") << QList<ChartTrade>{bankBuy(1000, u"10"_s, u"2021-03-01"_s),
                                                     steelBuy(500, u"8"_s, u"2021-03-02"_s),
                                                     bankSell(1000, u"12"_s, u"2021-03-03"_s),
                                                     steelBuy(500, u"9"_s, u"2021-03-04"_s),
                                                     steelSell(500, u"7"_s, u"2021-03-05"_s)}
                                << QStringList{u"2021-03-01|10010.00|0.00|10010.00"_s,
                                               u"2021-03-02|14020.00|0.00|14020.00"_s,
                                               u"2021-03-03|14020.00|11990.00|4010.00"_s,
                                               u"2021-03-04|14020.00|7480.00|8520.00"_s,
                                               u"2021-03-05|14020.00|10970.00|4260.00"_s}
                                << QStringList{u"2021-03-03 浦发银行|1980.00|1980.00"_s,
                                               u"2021-03-05 唐钢股份|-770.00|1210.00"_s}
                                << QStringList{u"唐钢股份|4260.00"_s};
    // Both sells of one day keep a bar of their own; the second is numbered.
    QTest::newRow("one stock sold twice on one day")
        << QList<ChartTrade>{bankBuy(1000, u"10"_s, u"2021-03-01"_s),
                             steelBuy(500, u"8"_s, u"2021-03-01"_s),
                             bankSell(400, u"12"_s, u"2021-03-02"_s),
                             bankSell(400, u"11"_s, u"2021-03-02"_s),
                             steelSell(500, u"9"_s, u"2021-03-03"_s)}
        << QStringList{u"2021-03-01|14020.00|0.00|14020.00"_s,
                       u"2021-03-02|14020.00|9180.00|6012.00"_s,
                       u"2021-03-03|14020.00|13670.00|2002.00"_s}
        << QStringList{u"2021-03-02 浦发银行|786.00|786.00"_s,
                       u"2021-03-02 浦发银行(2)|386.00|1172.00"_s,
                       u"2021-03-03 唐钢股份|480.00|1652.00"_s}
        << QStringList{u"浦发银行|2002.00"_s};
    QTest::newRow("empty ledger") << QList<ChartTrade>{} << QStringList{} << QStringList{}
                                  << QStringList{};
}

void MainWindowChartsTest::pagesShowTheLedger()
{
    QFETCH(QList<ChartTrade>, trades);
    QFETCH(QStringList, money);
    QFETCH(QStringList, profits);
    QFETCH(QStringList, positions);
    record(trades);
    QVERIFY(h->open());
    h->window().menus().accountCharts->trigger();

    QCOMPARE(moneyLines(moneyChart()), money);
    QCOMPARE(profitLines(profitChart()), profits);
    QCOMPARE(positionLines(positionsChart()), positions);
    // Without a quoted summary the holdings are at cost and there is no market point.
    QVERIFY(!seriesNamed<QLineSeries>(moneyChart(), u"持仓市值（今日）"_s));
    QCOMPARE(positionsChart()->title(), u"持仓分布（按成本）"_s);
    // Profit red, loss blue, as everywhere in the program.
    auto* bars = firstSeries<QAbstractBarSeries>(profitChart());
    QVERIFY(bars);
    QCOMPARE(bars->barSets()[0]->color(), QColor(Qt::red));
    QCOMPARE(bars->barSets()[1]->color(), QColor(Qt::blue));
    QVERIFY(!charts().failure()->isVisible());
}

namespace {

QStringList tableRows(const QTableView* table)
{
    const QAbstractItemModel* model = table->model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        rows << cells.join(u'|');
    }
    return rows;
}

} // namespace

// 年度对账 in the ledger popup and in the summary's, right after 账户图表; the
// table reads the ledger again when a trade is recorded.
void MainWindowChartsTest::yearlyStatementOpensFromBothPopupsAndFollowsTheTrades()
{
    record({bankBuy(1000, u"10"_s, u"2021-03-01"_s), bankSell(400, u"12"_s, u"2022-01-05"_s)});
    QVERIFY(h->open());
    windows::YearlyStatementWindow& yearly = h->program().yearlyStatement();
    QAction* fromLedger = h->window().menus().yearlyStatement;
    QCOMPARE(fromLedger->text(), u"年度对账"_s);
    fromLedger->trigger();
    QVERIFY(yearly.isVisible());
    QCOMPARE(yearly.windowTitle(), u"年度对账"_s);
    // Every trade pays 5 commission and 5 other fee; the sell of 400 takes 40 %
    // of the 10010 paid.
    QCOMPARE(
        tableRows(yearly.table()),
        (QStringList{
            u"2021|10010.00|0.00|0.00|0.00|0.00|5.00|0.00|0.00|5.00|10.00|1|10010.00"_s,
            u"2022|0.00|4790.00|786.00|0.00|0.00|5.00|0.00|0.00|5.00|10.00|1|6006.00"_s,
            u"合计|10010.00|4790.00|786.00|0.00|0.00|10.00|0.00|0.00|10.00|20.00|2|6006.00"_s}));

    const ledger::RecordOutcome outcome = h->program().ledgerWriter().record(
        tradeEntry(u"000709"_s, steelName, Direction::Buy, 500, u"8"_s, u"2023-02-01"_s));
    QVERIFY(outcome.recorded());
    const QStringList rows = tableRows(yearly.table());
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[2], u"2023|4010.00|0.00|0.00|0.00|0.00|5.00|0.00|0.00|5.00|10.00|1|10016.00"_s);
    QCOMPARE(rows[3],
             u"合计|14020.00|4790.00|786.00|0.00|0.00|15.00|0.00|0.00|15.00|30.00|3|10016.00"_s);
    yearly.close();

    QMenu& popup = h->program().summary().popup();
    const QList<QAction*> actions = popup.actions();
    const qsizetype charts = actions.indexOf(menuAction(popup, u"账户图表"_s));
    QVERIFY(charts >= 0 && charts + 1 < actions.size());
    QCOMPARE(actions[charts + 1]->text(), u"年度对账"_s);
    actions[charts + 1]->trigger();
    QVERIFY(yearly.isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

// 10010 paid on 2021-03-01 and 11990 back a year later: 19.78 % a year. A
// stock still held is valued at cost without a quoted summary.
void MainWindowChartsTest::returnsPageShowsEachStockAndTheAccount()
{
    record({bankBuy(1000, u"10"_s, u"2021-03-01"_s), bankSell(1000, u"12"_s, u"2022-03-01"_s)});
    QVERIFY(h->open());
    h->window().menus().accountCharts->trigger();
    QCOMPARE(charts().pages()->tabText(3), u"收益率"_s);
    QChart* returns = returnsChart();
    QCOMPARE(returns->title(), u"账户资金加权年化收益率：19.78%（持仓按成本）"_s);
    QCOMPARE(categories(returns), QStringList{bankName});

    const ledger::RecordOutcome outcome = h->program().ledgerWriter().record(
        tradeEntry(u"000709"_s, steelName, Direction::Buy, 500, u"8"_s,
                   QDate::currentDate().toString(Qt::ISODate)));
    QVERIFY(outcome.recorded());
    returns = returnsChart();
    // Bought and valued today: no rate, so no bar; the account's rate stays.
    QCOMPARE(categories(returns), QStringList{bankName});
    QVERIFY(returns->title().contains(u"（持仓按成本）"_s));
}

// 10010 paid and 10040 back a year later: 0.30 % a year. Every label of the
// rate's axis reads apart from the others; the money page keeps whole yuan.
void MainWindowChartsTest::aSmallReturnsLabelsReadApart()
{
    record({bankBuy(1000, u"10"_s, u"2021-03-01"_s), bankSell(1000, u"10.05"_s, u"2022-03-01"_s)});
    QVERIFY(h->open());
    h->window().menus().accountCharts->trigger();
    QChart* returns = returnsChart();
    QCOMPARE(returns->title(), u"账户资金加权年化收益率：0.30%（持仓按成本）"_s);
    const QStringList labels = valueLabels(returns);
    QVERIFY2(labels.size() > 2, qPrintable(labels.join(u' ')));
    QVERIFY2(QSet<QString>(labels.begin(), labels.end()).size() == labels.size(),
             qPrintable(labels.join(u' ')));
    const QStringList money = valueLabels(moneyChart());
    QVERIFY2(!money.isEmpty() && !money.join(QString()).contains(u'.'),
             qPrintable(money.join(u' ')));
}

// Thirty-one stocks held: their names could not be read under the bars, so the
// axis holds none (an axis of hidden names still draws a grid line per bar and
// leaves no room for its title); every bar stays.
void MainWindowChartsTest::manyBarsStandOnAnAxisWithoutNames()
{
    QList<ChartTrade> trades;
    for (int i = 0; i < 31; ++i)
        trades << ChartTrade{u"6001%1"_s.arg(i, 2, 10, QChar(u'0')),
                             u"股票%1"_s.arg(i),
                             Direction::Buy,
                             100,
                             u"10"_s,
                             u"2021-03-01"_s};
    record(trades);
    QVERIFY(h->open());
    h->window().menus().accountCharts->trigger();
    QChart* positions = positionsChart();
    const QList<QAbstractAxis*> along = positions->axes(Qt::Horizontal);
    QCOMPARE(along.size(), 1);
    QVERIFY(!qobject_cast<QBarCategoryAxis*>(along[0]));
    auto* bars = firstSeries<QBarSeries>(positions);
    QVERIFY(bars);
    QCOMPARE(bars->barSets()[0]->count(), 31);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainWindowChartsTest::chartsFollowLedgerChanges()
{
    record({bankBuy(1000, u"10"_s, u"2021-03-01"_s), bankSell(1000, u"12"_s, u"2021-03-02"_s)});
    QVERIFY(h->open());
    h->window().menus().accountCharts->trigger();
    QCOMPARE(positionLines(positionsChart()), QStringList{});

    // Paid from the 11990 of the sell.
    const ledger::RecordOutcome outcome = h->program().ledgerWriter().record(
        tradeEntry(u"000709"_s, steelName, Direction::Buy, 500, u"8"_s, u"2021-03-03"_s));
    QVERIFY(outcome.recorded());
    QCOMPARE(moneyLines(moneyChart()).last(), u"2021-03-03|10010.00|7980.00|4010.00"_s);
    QCOMPARE(positionLines(positionsChart()), QStringList{steelName + u"|4010.00"_s});
}

namespace {

// A page's tab, clicked as the user does.
void clickTab(QTabBar* tabs, int index)
{
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    QCOMPARE(tabs->currentIndex(), index);
}

} // namespace

// Opening shows the money page and draws it alone; another page is drawn from the
// latest trades when it is shown, and the first page keeps its chart.
void MainWindowChartsTest::eachPageIsDrawnWhenShown()
{
    record({bankBuy(1000, u"10"_s, u"2021-03-01"_s), bankSell(400, u"12"_s, u"2021-03-02"_s)});
    QVERIFY(h->open());
    h->window().menus().accountCharts->trigger();
    QCOMPARE(charts().pages()->currentIndex(), 0);
    QCOMPARE(moneyLines(charts().moneyView()->chart()).size(), 2);
    for (QChartView* view :
         {charts().profitView(), charts().positionsView(), charts().returnsView()})
        QVERIFY(view->chart()->series().isEmpty());

    // Recorded while the money page shows: the profit page, shown next, has it.
    const ledger::RecordOutcome outcome = h->program().ledgerWriter().record(
        tradeEntry(u"600000"_s, bankName, Direction::Sell, 600, u"11"_s, u"2021-03-03"_s));
    QVERIFY(outcome.recorded());
    QVERIFY(charts().positionsView()->chart()->series().isEmpty());
    clickTab(charts().pages()->tabBar(), 1);
    QCOMPARE(profitLines(charts().profitView()->chart()).size(), 2);
    QVERIFY(charts().positionsView()->chart()->series().isEmpty());
    clickTab(charts().pages()->tabBar(), 0);
    QCOMPARE(moneyLines(charts().moneyView()->chart()).size(), 3);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

// Records two buys, shows the summary quoted by the local server and gives each
// holding at the market value its grid shows ("name|value"), and their sum.
void MainWindowChartsTest::showQuotedSummaryOfTwoHoldings(QStringList& expected, double& total)
{
    record({bankBuy(1000, u"10"_s, u"2021-03-01"_s), steelBuy(500, u"8"_s, u"2021-03-02"_s)});
    QVERIFY(h->open());
    server = std::make_unique<tools::QuoteServer>(
        QList<tools::ListedStock>{{u"600000"_s, bankName}, {u"000709"_s, steelName}},
        tools::QuoteServerOptions{});
    QVERIFY(server->listen());
    app::SummaryController& summary = h->program().summary();
    quoteFromPages(h->program(), server->address());
    h->program().network().setNetworkOk(true);

    QSignalSpy done(&summary, &app::SummaryController::summaryFinished);
    h->window().viewSelector().setCurrentIndex(1);
    QVERIFY(done.wait(10000));
    QVERIFY(done.first().first().toBool());

    const report::SummaryTableModel& grid = summary.model();
    for (int row = 1; row < grid.rowCount(); ++row) {
        const double value = grid.index(row, report::MarketValueColumn).data().toDouble();
        QVERIFY2(value > 0, "a held stock without a market value");
        expected << grid.stockName(row) + u'|' + yuan(value);
        total += value;
    }
    QCOMPARE(expected.size(), 2);
}

void MainWindowChartsTest::quotedSummaryValuesTheHoldings()
{
    // Each holding at the market value the summary grid shows.
    QStringList expected;
    double total = 0;
    showQuotedSummaryOfTwoHoldings(expected, total);
    if (QTest::currentTestFailed())
        return;
    app::SummaryController& summary = h->program().summary();

    QAction* open = menuAction(summary.popup(), u"账户图表"_s);
    QVERIFY(open);
    open->trigger();
    QCOMPARE(positionsChart()->title(), u"持仓分布（按市值）"_s);
    QStringList shown = positionLines(positionsChart());
    shown.sort();
    expected.sort();
    QCOMPARE(shown, expected);
    auto* market = seriesNamed<QLineSeries>(moneyChart(), u"持仓市值（今日）"_s);
    QVERIFY(market);
    QCOMPARE(market->count(), 2);
    QCOMPARE(yuan(market->at(0).y()), u"14020.00"_s); // from the holdings at cost
    QCOMPARE(yuan(market->at(1).y()), yuan(total));

    // A trade recorded now makes the shown summary plain again: back to cost.
    const ledger::RecordOutcome outcome = h->program().ledgerWriter().record(
        tradeEntry(u"000709"_s, steelName, Direction::Sell, 500, u"9"_s, u"2021-03-03"_s));
    QVERIFY(outcome.recorded());
    QCOMPARE(positionsChart()->title(), u"持仓分布（按成本）"_s);
    QCOMPARE(positionLines(positionsChart()), QStringList{bankName + u"|10010.00"_s});
    QVERIFY(!seriesNamed<QLineSeries>(moneyChart(), u"持仓市值（今日）"_s));
}

// The summary's rows are let go of when the ledger is shown again; charts opened
// afterwards still value the holdings at the quoted summary's market values.
void MainWindowChartsTest::theLedgerShownAgainKeepsTheQuotedValues()
{
    QStringList expected;
    double total = 0;
    showQuotedSummaryOfTwoHoldings(expected, total);
    if (QTest::currentTestFailed())
        return;
    const report::SummaryTableModel& grid = h->program().summary().model();

    h->window().viewSelector().setCurrentIndex(0);
    QCOMPARE(grid.rowCount(), 1);
    h->window().menus().accountCharts->trigger();
    QCOMPARE(positionsChart()->title(), u"持仓分布（按市值）"_s);
    QStringList shown = positionLines(positionsChart());
    shown.sort();
    expected.sort();
    QCOMPARE(shown, expected);
}

void MainWindowChartsTest::unreadableLedgerKeepsTheChartsAndSaysWhy()
{
    record({bankBuy(1000, u"10"_s, u"2021-03-01"_s)});
    QVERIFY(h->open());
    h->window().menus().accountCharts->trigger();
    h->db.exec("ALTER TABLE gpjl RENAME TO gpjl_away");
    charts().refresh();
    QVERIFY(charts().failure()->isVisible());
    QVERIFY(!charts().failure()->text().isEmpty());
    QCOMPARE(positionLines(positionsChart()), QStringList{bankName + u"|10010.00"_s});

    h->db.exec("ALTER TABLE gpjl_away RENAME TO gpjl");
    charts().refresh();
    QVERIFY(!charts().failure()->isVisible());
}

// 1000 bought at 20.00 (20010.00 with fees), 10派3元送2股转3股 (record 2024-06-20, ex
// 2024-06-21), all 1500 sold at 16.00 (23990.00) on 2024-07-10: 300.00 of dividend
// on its ex-date, and the sale bears 10 % on 300.00 of cash and 200 bonus shares at
// 1.00 par, 50.00 of 红利税.
void MainWindowChartsTest::dividendsAndBonusSharesShowOnEveryPage()
{
    record({bankBuy(1000, u"20.00"_s, u"2024-03-01"_s)});
    QVERIFY(h->open());
    h->window().menus().accountCharts->trigger();
    ledger::EventEntry event;
    event.code = u"600000"_s;
    event.name = bankName;
    event.record = QDate(2024, 6, 20);
    event.ex = QDate(2024, 6, 21);
    event.cash = u"3"_s;
    event.bonus = u"2"_s;
    event.transfer = u"3"_s;
    QVERIFY(h->program().ledgerWriter().addEvent(event, false).saved());

    // Before the sale: the cost stays, spread over 1500 shares, as pointing at the bar tells.
    QCOMPARE(positionLines(positionsChart()), QStringList{bankName + u"|20010.00"_s});
    QCOMPARE(positionTip(positionsChart()), u"浦发银行（600000）：1500 股，成本 20010.00 元"_s);
    QCOMPARE(moneyLines(moneyChart()), (QStringList{u"2024-03-01|20010.00|0.00|20010.00"_s,
                                                    u"2024-06-21|20010.00|300.00|20010.00"_s}));
    // The quoted summary values the 1500 shares held: the page takes its figure.
    server = std::make_unique<tools::QuoteServer>(
        QList<tools::ListedStock>{{u"600000"_s, bankName}}, tools::QuoteServerOptions{});
    QVERIFY(server->listen());
    app::SummaryController& summary = h->program().summary();
    quoteFromPages(h->program(), server->address());
    h->program().network().setNetworkOk(true);
    QSignalSpy done(&summary, &app::SummaryController::summaryFinished);
    h->window().viewSelector().setCurrentIndex(1);
    QVERIFY(done.wait(10000));
    QVERIFY(done.first().first().toBool());
    const report::SummaryTableModel& grid = summary.model();
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.index(1, report::HeldColumn).data().toString(), u"1500"_s);
    const double value = grid.index(1, report::MarketValueColumn).data().toDouble();
    QVERIFY(value > 0);
    QCOMPARE(positionsChart()->title(), u"持仓分布（按市值）"_s);
    QCOMPARE(positionLines(positionsChart()), QStringList{bankName + u"|"_s + yuan(value)});
    QCOMPARE(positionTip(positionsChart()),
             u"浦发银行（600000）：1500 股，成本 20010.00 元，市值 "_s + yuan(value) + u" 元"_s);

    const ledger::RecordOutcome sold = h->program().ledgerWriter().record(
        tradeEntry(u"600000"_s, bankName, Direction::Sell, 1500, u"16.00"_s, u"2024-07-10"_s));
    QVERIFY(sold.recorded());
    // 23990 − 20010 − 50 on the sale's bar; the dividend's bar stands apart.
    QCOMPARE(profitAndDividendLines(profitChart()),
             (QStringList{u"2024-06-21 浦发银行|0.00|300.00|300.00"_s,
                          u"2024-07-10 浦发银行|3930.00|0.00|4230.00"_s}));
    auto* bars = firstSeries<QAbstractBarSeries>(profitChart());
    QVERIFY(bars);
    QBarSet* dividends = bars->barSets()[2];
    QCOMPARE(dividends->label(), u"分红派息"_s);
    QVERIFY(dividends->color() != QColor(Qt::red) && dividends->color() != QColor(Qt::blue));
    QVERIFY(charts().profitNote()->text().contains(u"红利税"_s));
    // The dividend is income on its ex-date; the tax leaves with the sale.
    QCOMPARE(moneyLines(moneyChart()), (QStringList{u"2024-03-01|20010.00|0.00|20010.00"_s,
                                                    u"2024-06-21|20010.00|300.00|20010.00"_s,
                                                    u"2024-07-10|20010.00|24240.00|0.00"_s}));
    QCOMPARE(positionLines(positionsChart()), QStringList{});
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainWindowChartsTest::closedChartsLetGoOfTheirSeriesAndReopenAsBefore()
{
    record({bankBuy(1000, u"10"_s, u"2021-03-01"_s),
            bankSell(500, u"12"_s, u"2021-03-02"_s),
            bankSell(200, u"11"_s, u"2021-03-02"_s),
            {u"000709"_s, steelName, Direction::Buy, 500, u"8"_s, u"2021-03-03"_s}});
    QVERIFY(h->open());
    h->window().menus().accountCharts->trigger();
    const auto figures = [this] {
        QStringList all =
            moneyLines(moneyChart()) + profitLines(profitChart()) + positionLines(positionsChart());
        return all + categories(returnsChart());
    };
    const QStringList first = figures();
    QVERIFY(!profitLines(profitChart()).isEmpty());
    QVERIFY(!returnsChart()->series().isEmpty());

    charts().close();
    for (QChartView* view : {charts().moneyView(), charts().profitView(), charts().positionsView(),
                             charts().returnsView()})
        QVERIFY(view->chart()->series().isEmpty());

    h->window().menus().accountCharts->trigger();
    QVERIFY(charts().isVisible());
    QCOMPARE(figures(), first);
    QCOMPARE(moneyChart()->title(), u"资金变化"_s);
}

void MainWindowChartsTest::closedChartsAreLetGoOfAndTheLedgerCacheEmptied()
{
    QList<ChartTrade> trades;
    for (int day = 1; day <= 28; ++day)
        trades << bankBuy(100, u"10"_s, u"2021-02-%1"_s.arg(day, 2, 10, QChar(u'0')));
    record(trades);
    QVERIFY(h->open());
    h->window().menus().accountCharts->trigger();
    QCOMPARE(chartWindows(), 1);
    const QStringList drawn = moneyLines(moneyChart());
    const qint64 cachedOpen = pageCacheBytes();
    QVERIFY(cachedOpen > 0);

    // Closed: once the event loop has run, the window is gone and the ledger's
    // page cache emptied.
    charts().close();
    QTRY_COMPARE(chartWindows(), 0);
    QVERIFY2(pageCacheBytes() < cachedOpen, qPrintable(QString::number(pageCacheBytes())));

    // Opened again, it is built afresh with the same figures; the main window
    // stays usable throughout.
    h->window().menus().accountCharts->trigger();
    QCOMPARE(chartWindows(), 1);
    QVERIFY(charts().isVisible());
    QCOMPARE(moneyLines(moneyChart()), drawn);
    QVERIFY(h->window().isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainWindowChartsTest::aChartsModuleThatCannotLoadIsTold_data()
{
    QTest::addColumn<QByteArray>("contents"); // of the module's file; none: no file
    QTest::addColumn<QString>("said");
    QTest::newRow("no module") << QByteArray()
                               << u"无法打开账户图表：找不到图表模块 corvanta-charts.so"_s;
    QTest::newRow("not a module") << QByteArray("not a library\n")
                                  << u"无法打开账户图表：图表模块 "_s;
}

void MainWindowChartsTest::aChartsModuleThatCannotLoadIsTold()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString module = dir.filePath(u"corvanta-charts.so"_s);
    if (!contents.isEmpty()) {
        QFile file(module);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    const QByteArray built = qgetenv("CORVANTA_CHARTS_MODULE");
    qputenv("CORVANTA_CHARTS_MODULE", module.toLocal8Bit());
    const auto restore = qScopeGuard([&] { qputenv("CORVANTA_CHARTS_MODULE", built); });
    record({bankBuy(1000, u"10"_s, u"2021-03-01"_s)});
    QVERIFY(h->open());

    // From either menu: a message each time, no window, and the program goes on.
    h->window().menus().accountCharts->trigger();
    for (QAction* action : h->program().summary().popup().actions())
        if (action->text() == u"账户图表"_s)
            action->trigger();
    QCOMPARE(h->prompter.messages.size(), 2);
    for (const QString& message : h->prompter.messages)
        QVERIFY2(message.startsWith(said), qPrintable(message));
    QCOMPARE(chartWindows(), 0);
    QVERIFY(!h->program().accountCharts());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(h->window().isVisible());
}

int runChartTests(int argc, char* argv[])
{
    MainWindowChartsTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestCharts.moc"
