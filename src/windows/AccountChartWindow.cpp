#include "AccountChartWindow.h"
#include "WindowPlace.h"

#include "DatabaseFailure.h"
#include "ledger/sql/Database.h"
#include "report/EventEffects.h"
#include "report/ProfitBars.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace corvanta::windows {

namespace {

// Distinct from the red of profit and the blue of loss.
QColor dividendColour()
{
    return QColor(0xe0, 0x9a, 0x00);
}

double yuan(qint64 fen)
{
    return double(fen) / 100;
}

qreal msecs(const QString& date)
{
    return qreal(
        QDateTime(QDate::fromString(date, u"yyyy-MM-dd"), QTime(0, 0)).toMSecsSinceEpoch());
}

QChartView* newView(QWidget* parent)
{
    auto* view = new QChartView(new QChart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

// Replaces a view's chart: a fresh chart is cheaper than emptying the old one.
QChart* freshChart(QChartView* view, const QString& title)
{
    QChart* old = view->chart();
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    view->setChart(chart);
    delete old;
    return chart;
}

QValueAxis* moneyAxis(QChart* chart)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(QStringLiteral("金额（元）"));
    chart->addAxis(axis, Qt::AlignLeft);
    return axis;
}

// How the profit page counts; a ledger with 分红送配 also says where their money goes.
QString profitNoteText(bool events)
{
    QString text = QStringLiteral("每笔卖出的盈亏 = 卖出所得（扣除费用）− 所卖股数的平均成本；"
                                  "平均成本按该股此前各笔买入的总金额（含费用）计算。");
    if (events)
        text += QStringLiteral("送转的股份不增加成本；红利税从承担它的那笔卖出中扣除；"
                               "分红派息（税前）在除权除息日单列，并计入累计盈亏。");
    return text;
}

// The axis along the bars: their names where few enough to be read; beyond that
// a bare run of places without readable labels. An axis of names that hides them
// still draws a grid line per bar, a grey wash over hundreds of them, and has no
// room left for its title.
QAbstractAxis* barAxis(QChart* chart, const QStringList& names, qsizetype mostNamed,
                       const QString& title = {})
{
    QAbstractAxis* axis = nullptr;
    if (names.size() <= mostNamed) {
        auto* named = new QBarCategoryAxis;
        named->append(names);
        axis = named;
    } else {
        auto* places = new QValueAxis;
        places->setRange(-0.5, qreal(names.size()) - 0.5);
        places->setTickCount(2);
        // Its two labels are there but unseen: hidden ones would leave the axis
        // too low for its title.
        places->setLabelsBrush(Qt::transparent);
        axis = places;
    }
    axis->setTitleText(title);
    chart->addAxis(axis, Qt::AlignBottom);
    return axis;
}

void fitRange(QValueAxis* axis, double low, double high)
{
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (high <= low)
        high = low + 1;
    const double margin = (high - low) * 0.05;
    axis->setRange(low < 0 ? low - margin : 0, high + margin);
    axis->applyNiceNumbers();
    // As many decimals as the step between two labels has, so that no two read
    // alike: whole numbers would label every tick of a return under 1 % as 0.
    const double step = (axis->max() - axis->min()) / std::max(1, axis->tickCount() - 1);
    int decimals = 0;
    for (double scaled = step; decimals < 4 && std::abs(scaled - std::round(scaled)) > 1e-6;
         scaled *= 10)
        ++decimals;
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(decimals) + QStringLiteral("f"));
}

} // namespace

AccountChartWindow::AccountChartWindow(sql::Database& db, ledger::LedgerNotifier& notifier,
                                       QWidget* parent)
    : AccountCharts(parent, Qt::Window), m_db(db), m_pages(new QTabWidget(this)),
      m_money(newView(this)), m_profit(newView(this)), m_positions(newView(this)),
      m_returns(newView(this)), m_profitNote(new QLabel(profitNoteText(false), this)),
      m_failure(new QLabel(this)), m_copied(new QLabel(this))
{
    setWindowTitle(QStringLiteral("账户图表"));
    resize(900, 600);
    rememberPlace(this, QStringLiteral("charts"));
    m_pages->addTab(m_money, QStringLiteral("资金变化"));
    auto* profitPage = new QWidget(this);
    auto* profitLayout = new QVBoxLayout(profitPage);
    profitLayout->setContentsMargins(0, 0, 0, 0);
    profitLayout->addWidget(m_profit);
    m_profitNote->setWordWrap(true);
    profitLayout->addWidget(m_profitNote);
    m_pages->addTab(profitPage, QStringLiteral("卖出盈亏"));
    m_pages->addTab(m_positions, QStringLiteral("持仓分布"));
    m_pages->addTab(m_returns, QStringLiteral("收益率"));

    auto* copy = new QPushButton(QStringLiteral("复制图片"), this);
    connect(copy, &QPushButton::clicked, this, &AccountChartWindow::copyImage);
    auto* buttons = new QHBoxLayout;
    m_failure->setWordWrap(true);
    m_failure->hide();
    buttons->addWidget(m_failure, 1);
    buttons->addStretch();
    m_copied->setObjectName(QStringLiteral("copiedNote"));
    buttons->addWidget(m_copied);
    buttons->addWidget(copy);
    // The note belongs to the page it was copied from.
    connect(m_pages, &QTabWidget::currentChanged, m_copied, &QLabel::clear);
    // A page is drawn when it is first shown after a read: most openings look at
    // one page, and the others' charts would hold a point per trade for nothing.
    connect(m_pages, &QTabWidget::currentChanged, this, &AccountChartWindow::drawShownPage);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);

    connect(&notifier, &ledger::LedgerNotifier::changed, this, [this](ledger::LedgerChanges what) {
        if (what.testFlag(ledger::LedgerChange::Trades) && isVisible())
            refresh();
    });
}

void AccountChartWindow::setQuotedValues(const report::QuotedValues& values, bool quoted)
{
    m_quoted = values;
    m_isQuoted = quoted;
    if (isVisible())
        refresh();
}

void AccountChartWindow::refresh()
{
    try {
        // The events are read once for every page.
        report::EventEffects effects = report::eventEffects(m_db);
        const report::QuotedValues* quoted = m_isQuoted ? &m_quoted : nullptr;
        report::AccountSeries series = report::accountSeries(m_db, quoted, &effects);
        m_read = Read{std::move(series), std::move(effects)};
        m_drawn.reset();
        m_failure->hide();
    } catch (const sql::Error& error) {
        showFailure(error);
        return;
    }
    drawShownPage();
}

void AccountChartWindow::showFailure(const sql::Error& error)
{
    m_failure->setText(databaseFailureText(LedgerAccess::Read, error));
    m_failure->show();
}

void AccountChartWindow::drawShownPage()
{
    const int page = m_pages->currentIndex();
    if (!m_read || page < 0 || page >= PageCount || m_drawn.test(std::size_t(page)))
        return;
    const report::AccountSeries& series = m_read->series;
    switch (Page(page)) {
    case MoneyPage:
        drawMoney(series);
        break;
    case ProfitPage:
        drawProfit(series);
        break;
    case PositionsPage:
        drawPositions(series);
        break;
    case ReturnsPage:
        try {
            drawReturns(report::accountReturns(m_db, m_isQuoted ? &m_quoted : nullptr,
                                               QDate::currentDate(), &m_read->effects));
        } catch (const sql::Error& error) {
            showFailure(error);
            return;
        }
        break;
    case PageCount:
        return;
    }
    m_drawn.set(std::size_t(page));
}

void AccountChartWindow::closeEvent(QCloseEvent* event)
{
    for (QChartView* view : {m_money, m_profit, m_positions, m_returns})
        freshChart(view, view->chart()->title());
    m_read.reset();
    m_drawn.reset();
    QWidget::closeEvent(event);
}

void AccountChartWindow::copyImage()
{
    QChartView* const views[] = {m_money, m_profit, m_positions, m_returns};
    QChartView* shown = views[std::clamp(m_pages->currentIndex(), 0, 3)];
    QApplication::clipboard()->setImage(shown->grab().toImage());
    m_copied->setText(
        QStringLiteral("已将“%1”图复制到剪贴板").arg(m_pages->tabText(m_pages->currentIndex())));
}

void AccountChartWindow::drawMoney(const report::AccountSeries& series)
{
    QChart* money = freshChart(m_money, QStringLiteral("资金变化"));
    auto* invested = new QLineSeries;
    invested->setName(QStringLiteral("总计投入"));
    auto* cash = new QLineSeries;
    cash->setName(QStringLiteral("现金余额"));
    auto* holdings = new QLineSeries;
    holdings->setName(QStringLiteral("持仓成本"));
    double low = 0, high = 0;
    for (const report::MoneyPoint& p : series.money) {
        const qreal x = msecs(p.date);
        invested->append(x, yuan(p.invested));
        cash->append(x, yuan(p.cash));
        holdings->append(x, yuan(p.holdingCost));
        high = std::max({high, yuan(p.invested), yuan(p.cash), yuan(p.holdingCost)});
    }
    auto* dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("yyyy-MM-dd"));
    dates->setTitleText(QStringLiteral("交易日期"));
    money->addAxis(dates, Qt::AlignBottom);
    QValueAxis* moneyValues = moneyAxis(money);
    QList<QLineSeries*> lines{invested, cash, holdings};
    // The axis runs from the first trade date to the last, or to today's market point.
    QDate first = QDate::currentDate().addDays(-30), end = QDate::currentDate();
    if (!series.money.isEmpty()) {
        first = QDate::fromString(series.money.first().date, u"yyyy-MM-dd");
        end = QDate::fromString(series.money.last().date, u"yyyy-MM-dd");
    }
    if (series.marketValue && !series.money.isEmpty()) {
        auto* market = new QLineSeries;
        market->setName(QStringLiteral("持仓市值（今日）"));
        const QDate today = QDate::currentDate();
        const QDate at = today > end ? today : end.addDays(1);
        market->append(msecs(series.money.last().date), yuan(series.money.last().holdingCost));
        market->append(qreal(QDateTime(at, QTime(0, 0)).toMSecsSinceEpoch()),
                       yuan(*series.marketValue));
        market->setPointsVisible(true);
        high = std::max(high, yuan(*series.marketValue));
        lines << market;
        end = at;
    }
    for (QLineSeries* line : lines) {
        money->addSeries(line);
        line->attachAxis(dates);
        line->attachAxis(moneyValues);
    }
    if (first >= end) {
        first = first.addDays(-1);
        end = end.addDays(1);
    }
    dates->setRange(QDateTime(first, QTime(0, 0)), QDateTime(end, QTime(0, 0)));
    fitRange(moneyValues, low, high);
}

// Realised profit per sell, red for profit and blue for loss.
void AccountChartWindow::drawProfit(const report::AccountSeries& series)
{
    QChart* profit = freshChart(m_profit, QStringLiteral("卖出盈亏"));
    auto* gains = new QBarSet(QStringLiteral("盈利"));
    gains->setColor(Qt::red);
    auto* losses = new QBarSet(QStringLiteral("亏损"));
    losses->setColor(Qt::blue);
    auto* cumulative = new QLineSeries;
    cumulative->setName(QStringLiteral("累计盈亏"));
    cumulative->setColor(QColor(0x40, 0x40, 0x40));
    // Dividends have bars of their own colour, only in a ledger that has them.
    auto* dividends = new QBarSet(QStringLiteral("分红派息"));
    dividends->setColor(dividendColour());
    QStringList categories;
    double low = 0, high = 0;
    // No more bars than the chart has pixels: more cannot be seen, and an axis
    // label per sell costs time that grows with the square of the sells.
    const QList<report::ProfitBar> profitBars =
        report::profitBars(series.profits, std::max(m_profit->width(), 400));
    bool anyDividend = false;
    for (int i = 0; i < profitBars.size(); ++i) {
        const report::ProfitBar& p = profitBars[i];
        const double value = yuan(p.profit);
        const double dividend = yuan(p.dividend);
        *gains << (value >= 0 ? value : 0);
        *losses << (value < 0 ? value : 0);
        *dividends << dividend;
        anyDividend = anyDividend || p.dividend != 0;
        cumulative->append(i, yuan(p.cumulative));
        categories << p.label;
        low = std::min({low, value, yuan(p.cumulative)});
        high = std::max({high, std::max(value, 0.0) + dividend, yuan(p.cumulative)});
    }
    // Stacked, so that each sell's one non-zero bar stands centred on its date.
    auto* bars = new QStackedBarSeries;
    bars->append(gains);
    bars->append(losses);
    if (anyDividend)
        bars->append(dividends);
    else
        delete dividends;
    bars->setBarWidth(0.6);
    profit->addSeries(bars);
    profit->addSeries(cumulative);
    QAbstractAxis* sells =
        barAxis(profit, categories, 40,
                anyDividend ? QStringLiteral("卖出日期、除权除息日") : QStringLiteral("卖出日期"));
    // Upright labels run out of room beyond a few sells.
    if (categories.size() > 6 && categories.size() <= 40)
        sells->setLabelsAngle(-90);
    QValueAxis* profitValues = moneyAxis(profit);
    bars->attachAxis(sells);
    bars->attachAxis(profitValues);
    cumulative->attachAxis(sells);
    cumulative->attachAxis(profitValues);
    fitRange(profitValues, low, high);
    m_profitNote->setText(profitNoteText(series.events));
}

// Open positions by value.
void AccountChartWindow::drawPositions(const report::AccountSeries& series)
{
    QChart* positions =
        freshChart(m_positions, series.marketValue ? QStringLiteral("持仓分布（按市值）")
                                                   : QStringLiteral("持仓分布（按成本）"));
    auto* values = new QBarSet(QStringLiteral("持仓金额"));
    values->setColor(QColor(0xd0, 0x80, 0x20));
    QStringList names;
    double high = 0;
    for (const report::OpenPosition& p : series.positions) {
        *values << yuan(p.value);
        names << p.name;
        high = std::max(high, yuan(p.value));
    }
    // Pointing at a bar tells its shares and cost.
    QStringList tips;
    for (const report::OpenPosition& p : series.positions)
        tips << report::positionTip(p);
    connect(values, &QBarSet::hovered, values, [tips](bool on, int index) {
        if (on && index >= 0 && index < tips.size())
            QToolTip::showText(QCursor::pos(), tips[index]);
        else
            QToolTip::hideText();
    });
    auto* held = new QBarSeries;
    held->append(values);
    held->setLabelsVisible(series.positions.size() <= 20);
    held->setLabelsFormat(QStringLiteral("@value"));
    // Whole fen, above the bar: the default six digits would round 40705.26 to 40705.3.
    held->setLabelsPrecision(15);
    held->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    values->setLabelColor(Qt::black);
    positions->addSeries(held);
    QAbstractAxis* stocks = barAxis(positions, names, 30);
    QValueAxis* heldValues = moneyAxis(positions);
    held->attachAxis(stocks);
    held->attachAxis(heldValues);
    positions->legend()->hide();
    fitRange(heldValues, 0, high);
}

static QString returnsTitle(const report::AccountReturns& returns)
{
    const QString held =
        returns.marketValue ? QStringLiteral("（持仓按市值）") : QStringLiteral("（持仓按成本）");
    if (!returns.account)
        return QStringLiteral("账户资金加权年化收益率：无法计算") + held;
    return QStringLiteral("账户资金加权年化收益率：") +
           QString::number(*returns.account * 100, 'f', 2) + QStringLiteral("%") + held;
}

void AccountChartWindow::drawReturns(const report::AccountReturns& returns)
{
    QChart* chart = freshChart(m_returns, returnsTitle(returns));
    auto* rates = new QBarSet(QStringLiteral("年化收益率（%）"));
    rates->setColor(QColor(0x40, 0x80, 0xc0));
    QStringList names;
    double low = 0, high = 0;
    for (const report::StockReturn& stock : returns.stocks) {
        if (!stock.rate)
            continue; // no rate fits: no bar rather than a wrong one
        const double percent = *stock.rate * 100;
        *rates << percent;
        names << stock.name;
        low = std::min(low, percent);
        high = std::max(high, percent);
    }
    auto* bars = new QBarSeries;
    bars->append(rates);
    bars->setLabelsVisible(names.size() <= 20);
    bars->setLabelsFormat(QStringLiteral("@value%"));
    bars->setLabelsPrecision(4);
    bars->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    rates->setLabelColor(Qt::black);
    chart->addSeries(bars);
    QAbstractAxis* stocks = barAxis(chart, names, 30);
    auto* axis = new QValueAxis;
    axis->setTitleText(QStringLiteral("年化收益率（%）"));
    chart->addAxis(axis, Qt::AlignLeft);
    bars->attachAxis(stocks);
    bars->attachAxis(axis);
    chart->legend()->hide();
    fitRange(axis, low, high);
}

} // namespace corvanta::windows
