#include "QuoteRefreshController.h"

#include "QuoteMark.h"
#include "calc/PlaceholderStock.h"

#include "FeeController.h"
#include "MainMenus.h"
#include "SellTargetGroup.h"
#include "StatusBarPanels.h"
#include "TradePanel.h"
#include "TrayController.h"
#include "calc/FeeRules.h"
#include "calc/Numbers.h"
#include "calc/SellTargets.h"
#include "market/ConnectionCheck.h"
#include "market/NetworkState.h"
#include "model/LiveState.h"
#include "model/TradeForm.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

constexpr int progressMaximum = 20;

QString proxyStatusLine(const market::NetworkState& network)
{
    return u"代理IP:"_s + network.proxyHost() + u":"_s + QString::number(network.proxyPort());
}

} // namespace

QuoteRefreshController::QuoteRefreshController(market::NetworkState& network,
                                               market::QuoteService& quotes, Parts parts,
                                               QObject* parent)
    : QObject(parent), m_network(network), m_parts(parts),
      m_check(std::make_unique<market::SystemConnectionCheck>()),
      m_worker(new market::SingleQuoteWorker(quotes, this))
{
    m_timer.setInterval(periodMs);
    connect(&m_timer, &QTimer::timeout, this, &QuoteRefreshController::tick);
    connect(m_worker, &market::SingleQuoteWorker::started, this,
            &QuoteRefreshController::onStarted);
    connect(m_worker, &market::SingleQuoteWorker::finished, this,
            &QuoteRefreshController::onFinished);

    // Another stock shown leaves the quote fields with the last one's quote: say so.
    connect(&m_parts.form, &model::TradeForm::textChanged, this, [this](model::TradeText which) {
        if (which == model::TradeText::StockCode)
            showQuoteMark();
    });

    MainMenus& m = m_parts.menus;
    m_parts.trade.refreshProgress->setMaximum(progressMaximum);
    m_parts.trade.refreshProgress->setToolTip(u"实时行情刷新进行中"_s);
    m_parts.trade.refreshProgress->setVisible(false);
    connect(m.tradeRefresh, &QAction::triggered, this, [this](bool on) {
        setRefresh(on);
        m_parts.trade.refreshProgress->setVisible(on);
        if (!on)
            m_parts.trade.refreshProgress->setValue(0);
    });
    connect(m.trayRefresh, &QAction::triggered, this, [this](bool on) {
        setRefresh(on);
        if (on) {
            m_parts.tray.markInTray();
            showTrayHint(u"元,"_s);
        } else
            m_parts.tray.setToolTip(TrayController::idleToolTip());
    });
    connect(m.fetchPrice, &QAction::triggered, this, &QuoteRefreshController::fetchIfReady);
    // A gain on show was worked out for the inputs before this pricing: it is worked
    // out again at the same price, also while no fetch is coming to do it.
    connect(&m_parts.fees, &FeeController::inputsPriced, this, [this] {
        if (m_parts.trade.gainLabel->text().startsWith(u"盈利:"_s))
            showGain();
    });
    m_timer.start();
}

QuoteRefreshController::~QuoteRefreshController()
{
    // A fetch in flight ends with the window; its result has nowhere to go.
    disconnect(m_worker, nullptr, this, nullptr);
    m_worker->cancel();
}

void QuoteRefreshController::setConnectionCheck(std::unique_ptr<market::ConnectionCheck> check)
{
    m_check = std::move(check);
}

void QuoteRefreshController::setTimerActive(bool on)
{
    if (on)
        m_timer.start();
    else
        m_timer.stop();
}

void QuoteRefreshController::setPaused(bool paused)
{
    m_paused = paused;
    setTimerActive(!paused);
}

void QuoteRefreshController::setRefresh(bool on)
{
    m_parts.menus.tradeRefresh->setChecked(on);
    m_parts.menus.trayRefresh->setChecked(on);
    m_parts.live.setSingleStockRefresh(on);
    if (!m_paused)
        setTimerActive(on);
}

void QuoteRefreshController::tick()
{
    if (!m_check->isConnected()) {
        m_parts.status.setNetworkState(u"网络未连接"_s);
        m_network.setNetworkOk(false);
        Q_EMIT ticked(false);
        return;
    }
    m_parts.status.setNetworkState(u"网络连接正常"_s);
    m_network.setNetworkOk(true);
    // With the refresh off the timer stops at the first tick that finds the network.
    if (!m_parts.live.singleStockRefresh())
        m_timer.stop();
    m_network.setQuoteThrottleTicks(m_network.quoteThrottleTicks() + 1);
    if (m_network.quoteThrottleTicks() > 2 && fetchIfReady()) {
        m_network.setQuoteThrottleTicks(0);
        advanceProgress();
    }
    int cycle = m_network.statusCycle() + 1;
    if (cycle > market::NetworkState::CycleEnd)
        cycle = 0;
    m_network.setStatusCycle(cycle);
    if (cycle < market::NetworkState::ProxyLineFrom || !m_network.hasProxy())
        m_parts.status.setContactLine(QString());
    else
        m_parts.status.setContactLine(proxyStatusLine(m_network));
    if (m_parts.tray.inTray() && m_network.quoteThrottleTicks() == 0) {
        m_spinner = nextSpinner(m_spinner);
        showTrayHint(u"元 "_s + m_spinner);
    }
    Q_EMIT ticked(true);
}

void QuoteRefreshController::checkConnectionNow()
{
    if (!m_check->isConnected())
        return;
    m_parts.status.setNetworkState(u"网络连接正常"_s);
    m_network.setNetworkOk(true);
}

bool QuoteRefreshController::fetchIfReady()
{
    if (!m_network.quoteFetchIdle() || !m_network.networkOk())
        return false;
    market::SingleQuoteInputs in;
    const model::TradeForm& form = m_parts.form;
    in.codeInput = form.stockCode();
    in.stockName = form.stockName();
    in.shown = {form.bestBid(), form.bestAsk(), form.lastClose(), form.todayOpen()};
    return m_worker->start(in);
}

void QuoteRefreshController::onQuoteWanted()
{
    fetchIfReady();
}

void QuoteRefreshController::onTradeSelected(const QString& code)
{
    // Rows chosen in quick succession fetch one quote: the throttle starts again.
    const QString trimmed = code.trimmed();
    if (trimmed.size() == 6 && trimmed != placeholderCode && m_network.quoteThrottleTicks() >= 3)
        fetchIfReady();
    m_network.setQuoteThrottleTicks(0);
    if (!m_parts.live.singleStockRefresh()) {
        setRefresh(true);
        m_parts.trade.refreshProgress->show();
    }
}

void QuoteRefreshController::startLiveRefresh()
{
    setRefresh(true);
    m_network.setQuoteThrottleTicks(0);
}

void QuoteRefreshController::stopLiveRefresh()
{
    setRefresh(false);
    m_parts.trade.refreshProgress->hide();
    m_parts.trade.refreshProgress->setValue(0);
}

void QuoteRefreshController::onStarted()
{
    m_network.setQuoteFetchIdle(false);
}

void QuoteRefreshController::onFinished(const market::SingleQuoteOutcome& outcome)
{
    using Kind = market::SingleQuoteOutcome::Kind;
    TradePanel& t = m_parts.trade;
    if (outcome.kind == Kind::Failed) {
        t.gainLabel->setStyleSheet(u"color: red;"_s);
        t.gainLabel->setText(market::SingleQuoteWorker::failureText());
    } else if (outcome.kind == Kind::Fetched) {
        if (const auto& f = outcome.quote.fields) {
            using model::TradeText;
            m_parts.form.setText(TradeText::BestBid, f->activeBuy);
            m_parts.form.setText(TradeText::BestAsk, f->activeSell);
            m_parts.form.setText(TradeText::LastClose, f->previousClose);
            m_parts.form.setText(TradeText::TodayOpen, f->open);
        }
        if (const auto& c = outcome.quote.captions) {
            m_parts.profitTargets.setTitle(c->profit);
            m_parts.lossTargets.setTitle(c->loss);
        }
        m_parts.form.setCurrentPrice(outcome.quote.price);
        showGain();
        if (outcome.quote.fields) {
            m_quoted = quotedStock(outcome.code, outcome.records);
            showQuoteMark();
        }
    }
    m_network.setQuoteFetchIdle(true);
    Q_EMIT quoteShown();
}

void QuoteRefreshController::showQuoteMark()
{
    const QuoteMarkText mark = quoteMark(m_quoted, m_parts.form.stockCode());
    QLabel* label = m_parts.trade.quoteMark;
    label->setText(mark.text);
    label->setToolTip(mark.hint);
    label->setStyleSheet(mark.otherStock ? u"color: red;"_s : QString());
}

void QuoteRefreshController::showGain()
{
    const model::TradeForm& form = m_parts.form;
    const QString& price = form.currentPrice();
    if (price.isEmpty() || form.total().isEmpty() || price == u"-"_s)
        return;
    const FeeSnapshot in = form.feeSnapshot();
    if (in.direction != Direction::Buy)
        return;
    const auto quantity = num::parseNumber(form.quantity());
    const auto current = num::parseNumber(price);
    if (!quantity || !current)
        return;
    const auto proceeds = tradeValueAfterFees(in, *quantity, *current, Direction::Sell);
    if (!proceeds)
        return;
    // The form's total is in 元 whatever unit shows it.
    const auto gain = currentGainText(*proceeds - m_parts.fees.totalInYuan().value_or(0));
    if (!gain)
        return;
    QLabel* label = m_parts.trade.gainLabel;
    label->setStyleSheet(gain->loss ? u"color: blue;"_s : u"color: red;"_s);
    label->setText(gain->text);
}

void QuoteRefreshController::advanceProgress()
{
    QProgressBar* bar = m_parts.trade.refreshProgress;
    if (bar->value() >= bar->maximum())
        bar->setValue(0);
    bar->setValue(bar->value() + 1);
}

void QuoteRefreshController::showTrayHint(const QString& ending)
{
    const model::TradeForm& form = m_parts.form;
    m_parts.tray.setToolTip(form.stockCode() + u"-"_s + form.stockName() + u" 当前价:"_s +
                            form.currentPrice() + ending);
}

QString QuoteRefreshController::nextSpinner(const QString& current)
{
    static const QStringList cycle{u"-"_s, u"\\"_s, u"|"_s, u"/"_s, u"="_s, u"*"_s};
    const qsizetype at = cycle.indexOf(current);
    return at < 0 ? current : cycle.at((at + 1) % cycle.size());
}

} // namespace corvanta::app
