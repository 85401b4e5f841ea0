#include "MonitorSession.h"

#include "calc/PlaceholderStock.h"
#include "report/IndexLabels.h"
#include "report/MonitorGridUpdate.h"
#include "report/ScratchTables.h"

#include "calc/GbkLength.h"
#include "calc/Numbers.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"
#include "market/QuoteResult.h"
#include "market/QuoteService.h"
#include "market/QuoteSnapshot.h"
#include "market/SequentialQuoteRun.h"

using namespace Qt::StringLiterals;

namespace corvanta::monitor {

using namespace corvanta::report;

namespace {

const QString framePlain = u"多股实时行情"_s;

// The frame caption's progress: one more ">" each cycle, up to nine, then back.
QString nextFrameMark(const QString& caption)
{
    if (gbkByteCount(caption) <= 20 && caption.startsWith(framePlain))
        return caption + u">"_s;
    return framePlain;
}

// The timer's period for the slider's position: position + 1 seconds.
std::chrono::milliseconds periodFor(int position, std::chrono::milliseconds second)
{
    return (position + 1) * second;
}

} // namespace

MonitorSession::MonitorSession(sql::Database& db, ledger::LedgerNotifier& notifier,
                               market::QuoteService& quotes, QObject* parent)
    : QObject(parent), m_db(db), m_quotes(quotes),
      m_latestQuoteTime(market::noQuoteTimeYet.toString()), m_frameCaption(u"多股同时监控"_s)
{
    m_timer.setInterval(periodFor(m_intervalPosition, m_second));
    connect(&m_timer, &QTimer::timeout, this, &MonitorSession::tick);
    connect(&notifier, &ledger::LedgerNotifier::changed, this, &MonitorSession::onLedgerChanged);
}

void MonitorSession::onLedgerChanged(ledger::LedgerChanges what)
{
    // The bar's lines name the monitored stocks: a list set anew, or a monitored
    // stock renamed, has them built again at the next showing of the monitor window.
    using ledger::LedgerChange;
    if (what.testFlag(LedgerChange::TickerLines) ||
        (what.testFlag(LedgerChange::Stocks) && what.testFlag(LedgerChange::MonitorList)))
        m_ticker.markRebuildPending();
}

MonitorSession::~MonitorSession()
{
    if (m_run)
        m_run->disconnect(this);
}

void MonitorSession::setFeeSource(std::function<FeeSnapshot()> source)
{
    m_fees = std::move(source);
}

void MonitorSession::setSecondLength(std::chrono::milliseconds second)
{
    m_second = second;
    m_timer.setInterval(periodFor(m_intervalPosition, m_second));
}

void MonitorSession::enter(State state)
{
    m_state = state;
    bool timerRuns = false;
    switch (state) {
    case State::Off:
        timerRuns = false;
        break;
    case State::WaitingForNetwork:
    case State::Waiting:
        timerRuns = true;
        break;
    case State::Loading:
    case State::LoadFailed:
    case State::Cycling:
        timerRuns = m_wish;
        break;
    }
    if (!timerRuns)
        m_timer.stop();
    else if (!m_timer.isActive())
        m_timer.start();
}

QString MonitorSession::fallbackHeadCode()
{
    return u"000709"_s;
}

QString MonitorSession::timeoutText()
{
    return u"网络连接超时!"_s;
}

QString MonitorSession::switchCaption(bool on)
{
    return on ? u" 实时行情监控运行中"_s : u" 实时行情监控未运行"_s;
}

QString MonitorSession::intervalText() const
{
    return QString::number(m_intervalPosition + 1) + u" 秒"_s;
}

void MonitorSession::setIndexLabels(const TickerLabel& first, const TickerLabel& second)
{
    m_firstIndex = first;
    m_secondIndex = second;
}

bool MonitorSession::fetchesIndexes() const
{
    const auto source = m_quotes.source();
    return source && source->codesPerRequest() > 1;
}

QStringList MonitorSession::withIndexes(QStringList codes) const
{
    if (fetchesIndexes())
        codes << indexKeys();
    return codes;
}

void MonitorSession::takeIndexes(const QStringList& lines)
{
    const IndexLabels labels = indexLabels(lines);
    if (!labels.shanghai && !labels.shenzhen)
        return;
    if (labels.shanghai)
        m_firstIndex = *labels.shanghai;
    if (labels.shenzhen)
        m_secondIndex = *labels.shenzhen;
    Q_EMIT indexQuoted(m_firstIndex, m_secondIndex);
}

bool MonitorSession::hasHeadForPass() const
{
    return m_headCode.trimmed() != placeholderCode && gbkByteCount(m_headName) > 1 &&
           gbkByteCount(m_headCode) > 1;
}

bool MonitorSession::hasHeadForCycle() const
{
    return m_headName != placeholderName && m_headCode != placeholderCode &&
           gbkByteCount(m_headName) > 1 && m_currentCode.size() >= 2;
}

bool MonitorSession::startMonitoring()
{
    switch (m_state) {
    case State::Loading:
        return false;
    case State::Cycling:
        // Stopped at once (its end comes before stop() returns): the pass and a
        // cycle never fill the quote lists together.
        if (m_run)
            m_run->stop();
        break;
    case State::Off:
    case State::WaitingForNetwork:
    case State::LoadFailed:
    case State::Waiting:
        break;
    }
    m_monitorLines.clear();
    m_latestQuoteTime = market::noQuoteTimeYet.toString();
    try {
        m_listNonEmpty = m_db.scalarInt("SELECT count(*) FROM gpjl WHERE 监控状态='是'") >= 1;
    } catch (const sql::Error& e) {
        if (m_state == State::LoadFailed)
            enter(idleState());
        Q_EMIT databaseFailed(e.message());
        return true;
    }

    m_wish = true;
    if (m_listNonEmpty) {
        setFrameCaption(u"实时行情下载中"_s);
        QStringList codes{hasHeadForPass() ? m_headCode.trimmed() : fallbackHeadCode()};
        auto query = m_db.prepare("SELECT 股票代码 FROM gpjl WHERE 监控状态='是' ORDER BY 股票名");
        while (query.step())
            codes << query.text(0);
        enter(State::Loading);
        runCodes(withIndexes(codes), true);
    } else {
        enter(State::Waiting);
        // The rows left from an earlier pass are no longer coloured.
        m_grid.coloured = false;
        Q_EMIT gridChanged();
    }
    setMonitoring(true);
    setIntervalPosition(59);
    return true;
}

void MonitorSession::setMonitoring(bool on)
{
    m_started = true;
    m_wish = on;
    switch (m_state) {
    case State::Off:
    case State::WaitingForNetwork:
    case State::Waiting:
        // Without the network the timer runs anyway, to find it again.
        enter(on ? State::Waiting : m_networkOk ? State::Off : State::WaitingForNetwork);
        break;
    case State::Loading:
    case State::LoadFailed:
    case State::Cycling:
        enter(m_state); // the timer follows the wish
        break;
    }
    if (on) {
        m_ticker.setReconnectEnabled(false);
    } else {
        m_ticker.setReconnectEnabled(true);
        m_ticker.setTotalText(timeoutText());
    }
    Q_EMIT switchChanged();
    Q_EMIT tickerChanged();
}

void MonitorSession::stopMonitoring()
{
    dropWish(State::Off);
}

void MonitorSession::waitForNetwork()
{
    dropWish(State::WaitingForNetwork);
}

// The switch goes off: a session at rest goes to `rest`; a run in flight keeps its
// state, its timer stops, and it ends in Off.
void MonitorSession::dropWish(State rest)
{
    m_wish = false;
    switch (m_state) {
    case State::Off:
    case State::WaitingForNetwork:
    case State::Waiting:
        enter(rest);
        break;
    case State::Loading:
    case State::LoadFailed:
    case State::Cycling:
        enter(m_state);
        break;
    }
    Q_EMIT switchChanged();
}

void MonitorSession::tick()
{
    switch (m_state) {
    case State::Off: // run by hand (the code window's new head stock)
    case State::WaitingForNetwork:
    case State::Waiting:
        if (m_networkOk)
            startCycle();
        break;
    case State::Loading:
    case State::LoadFailed: // no cycle until monitoring starts again
    case State::Cycling:
        break;
    }
    Q_EMIT ticked();
}

void MonitorSession::startCycle()
{
    enter(State::Cycling);
    m_cycleLines.clear();
    m_latestQuoteTime = market::noQuoteTimeYet.toString();
    m_firstCode.clear();
    m_emptyListCycle = !m_listNonEmpty;
    if (m_emptyListCycle) {
        if (m_headCode != placeholderCode && gbkByteCount(m_headName) > 1 &&
            m_currentCode.size() > 1) {
            m_firstCode = m_currentCode;
            runCodes(withIndexes({m_currentCode}), false);
        } else {
            enter(idleState());
            Q_EMIT cycleFinished(true);
        }
        return;
    }
    setFrameCaption(nextFrameMark(m_frameCaption));
    QStringList codes;
    if (hasHeadForPass()) {
        if (!market::alreadyFetched(m_headCode, m_monitorLines))
            codes << (m_firstCode = m_currentCode);
    } else if (!market::alreadyFetched(fallbackHeadCode(), m_monitorLines)) {
        codes << (m_firstCode = fallbackHeadCode());
    }
    const QStringList indexes = indexKeys();
    for (const QString& line : std::as_const(m_monitorLines)) {
        const QString code = market::recordKey(line);
        if (!code.isEmpty() && !indexes.contains(code))
            codes << code;
    }
    runCodes(withIndexes(codes), false);
}

void MonitorSession::setIntervalPosition(int position)
{
    m_intervalPosition = std::clamp(position, 29, 599);
    m_timer.setInterval(periodFor(m_intervalPosition, m_second));
    Q_EMIT intervalChanged();
}

void MonitorSession::adoptSummaryQuotes(const QStringList& lines)
{
    m_monitorLines = lines;
}

void MonitorSession::runCodes(const QStringList& codes, bool skipFetched)
{
    m_failed = false;
    m_headFailed = false;
    m_filling = m_state == State::Loading ? &m_monitorLines : &m_cycleLines;
    auto* run = new market::SequentialQuoteRun(m_quotes, market::QuoteUse::Monitor, m_pause, this);
    m_run = run;
    if (skipFetched)
        run->setSkip([this](const QStringList& batch) {
            return market::alreadyFetched(batch.first(), m_monitorLines);
        });
    connect(run, &market::SequentialQuoteRun::requestFinished, this,
            &MonitorSession::onRequestFinished);
    connect(run, &market::SequentialQuoteRun::finished, this, &MonitorSession::onRunFinished);
    run->start(codes);
}

void MonitorSession::onRequestFinished(const QStringList& codes, const market::QuoteResult& result)
{
    if (result.ok()) {
        m_filling->append(result.records);
        Q_EMIT quotesArrived(result.records);
        return;
    }
    // Nothing is retried: the first failure ends the pass or cycle.
    m_failed = true;
    m_headFailed = m_emptyListCycle ||
                   (!m_firstCode.isEmpty() && m_filling->isEmpty() && codes.first() == m_firstCode);
    m_run->stop();
}

void MonitorSession::onRunFinished(bool completed)
{
    if (m_run) {
        m_run->disconnect(this);
        m_run->deleteLater();
    }
    m_run = nullptr;
    const RunEnd end = m_failed ? RunEnd::Failed : completed ? RunEnd::Completed : RunEnd::Stopped;
    switch (m_state) {
    case State::Loading:
        if (end == RunEnd::Completed)
            finishPass();
        else
            failPass();
        break;
    case State::Cycling:
        switch (end) {
        case RunEnd::Completed:
            finishCycle();
            break;
        case RunEnd::Failed:
            failCycle();
            break;
        case RunEnd::Stopped: // for a new pass
            enter(idleState());
            Q_EMIT cycleFinished(false);
            break;
        }
        break;
    case State::Off:
    case State::WaitingForNetwork:
    case State::LoadFailed:
    case State::Waiting:
        break;
    }
}

void MonitorSession::failPass()
{
    // The pass stays unfinished (no cycle until monitoring is started again),
    // but the switch is usable again.
    enter(State::LoadFailed);
    setFrameCaption(timeoutText());
    m_ticker.setTotalText(timeoutText());
    m_ticker.setReconnectEnabled(true);
    Q_EMIT switchChanged();
    Q_EMIT tickerChanged();
    Q_EMIT passFinished(false);
}

void MonitorSession::failCycle()
{
    // The timer runs whatever the switch says: the next tick tries again.
    enter(m_wish ? State::Waiting : State::WaitingForNetwork);
    if (m_headFailed)
        Q_EMIT progressFailed(timeoutText());
    else
        setFrameCaption(timeoutText());
    m_ticker.setTotalText(timeoutText());
    m_ticker.setReconnectEnabled(true);
    Q_EMIT tickerChanged();
    Q_EMIT cycleFinished(false);
}

void MonitorSession::finishPass()
{
    const market::RecordParse head = market::parseQuoteRecord(
        m_headCode, m_monitorLines, market::RecordMode::PriceOnly, m_latestQuoteTime);
    m_latestQuoteTime = head.latestQuoteTime;
    takeTime(head.timeLabel);
    Q_EMIT headPriced(head.price);

    MonitorGridUpdate update;
    try {
        sql::Transaction transaction(m_db);
        const QList<StockFigures> figures = buildScratchTables(m_db, SummaryScope::MonitoredStocks);
        update = updateMonitorGrid(monitorStocks(figures), m_monitorLines, fees(),
                                   MonitorPass::Initial, m_grid, m_latestQuoteTime);
        storeFigures(m_db, update.stored);
        transaction.commit();
    } catch (const sql::Error& e) {
        enter(idleState());
        Q_EMIT switchChanged();
        Q_EMIT databaseFailed(e.message());
        Q_EMIT passFinished(false);
        return;
    }
    m_grid = update.grid;
    takeTime(update.timeLabel);
    takeIndexes(m_monitorLines);
    setFrameCaption(framePlain);
    m_latestQuoteTime = market::noQuoteTimeYet.toString();
    enter(idleState());
    Q_EMIT gridChanged();
    Q_EMIT switchChanged();
    Q_EMIT passFinished(true);
}

void MonitorSession::finishCycle()
{
    if (m_emptyListCycle) {
        const market::RecordParse parse = market::parseQuoteRecord(
            m_currentCode, m_cycleLines, market::RecordMode::ShowInMonitor, m_latestQuoteTime);
        m_latestQuoteTime = parse.latestQuoteTime;
        takeTime(parse.timeLabel);
        Q_EMIT headPriced(parse.price);
        if (parse.display)
            Q_EMIT headQuoted(*parse.display);
        takeIndexes(m_cycleLines);
        enter(idleState());
        Q_EMIT cycleFinished(true);
        return;
    }

    if (hasHeadForCycle()) {
        const market::RecordParse parse = market::parseQuoteRecord(
            m_currentCode, m_cycleLines, market::RecordMode::ShowInMonitor, m_latestQuoteTime);
        m_latestQuoteTime = parse.latestQuoteTime;
        takeTime(parse.timeLabel);
        Q_EMIT headPriced(parse.price);
        if (parse.display) {
            m_headChange = parse.display->snapshot.change;
            Q_EMIT headQuoted(*parse.display);
        }
        m_ticker.headQuoted(headTickerLine(m_headName, parse.price, m_headChange), m_headChange);
    } else {
        const market::RecordParse parse = market::parseQuoteRecord(
            fallbackHeadCode(), m_cycleLines, market::RecordMode::PriceOnly, m_latestQuoteTime);
        m_latestQuoteTime = parse.latestQuoteTime;
        takeTime(parse.timeLabel);
        Q_EMIT headPriced(parse.price);
        m_ticker.noHead();
    }
    // Switched off while this cycle ran: "重新连接(&N)" stays offered.
    if (m_wish)
        m_ticker.setReconnectEnabled(false);

    QList<MonitorStock> stocks;
    try {
        stocks = readMonitorStocks(m_db);
    } catch (const sql::Error&) {
        // The scratch tables were emptied or dropped since the pass: no rows.
    }
    const MonitorGridUpdate update = updateMonitorGrid(
        stocks, m_cycleLines, fees(), MonitorPass::Cycle, m_grid, m_latestQuoteTime);
    m_grid = update.grid;
    takeTime(update.timeLabel);
    takeIndexes(m_cycleLines);
    runTicker();
    m_latestQuoteTime = market::noQuoteTimeYet.toString();
    enter(idleState());
    Q_EMIT gridChanged();
    Q_EMIT tickerChanged();
    Q_EMIT cycleFinished(true);
}

void MonitorSession::runTicker()
{
    TickerRound round;
    for (const MonitorCells& cells : std::as_const(m_grid.rows))
        round.rows.append({cells[MonitorName], stockTickerLine(cells),
                           num::parseNumber(cells[MonitorProfit]).value_or(0) >= 0});
    round.totalProfit = m_grid.totals[MonitorProfit];
    round.totalIsProfit = num::parseNumber(round.totalProfit).value_or(0) >= 0;
    round.firstIndex = m_firstIndex;
    round.secondIndex = m_secondIndex;
    round.timeLabel = m_timeLabel;
    m_ticker.step(round);
}

void MonitorSession::setFrameCaption(const QString& caption)
{
    m_frameCaption = caption;
    Q_EMIT frameCaptionChanged(caption);
}

void MonitorSession::takeTime(const std::optional<QString>& label)
{
    if (!label)
        return;
    m_timeLabel = *label;
    Q_EMIT timeLabelChanged(m_timeLabel);
}

} // namespace corvanta::monitor
