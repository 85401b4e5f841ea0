#include "MonitorSession.h"

#include "IndexLabels.h"
#include "MonitorGridUpdate.h"
#include "ScratchTables.h"

#include "calc/GbkLength.h"
#include "calc/Numbers.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"
#include "market/QuoteResult.h"
#include "market/QuoteSnapshot.h"
#include "market/SequentialQuoteRun.h"

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

const QString placeholderCode = u"000000"_s;
const QString unnamedStock = u"无名股票"_s;
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

MonitorSession::MonitorSession(sql::Database& db, std::shared_ptr<const market::QuoteSource> source,
                               const market::FetchOptions& options, QObject* parent)
    : QObject(parent), m_db(db), m_source(std::move(source)), m_options(options),
      m_latestQuoteTime(market::noQuoteTimeYet.toString()), m_frameCaption(u"多股同时监控"_s)
{
    m_timer.setInterval(periodFor(m_intervalPosition, m_second));
    connect(&m_timer, &QTimer::timeout, this, &MonitorSession::tick);
}

MonitorSession::~MonitorSession()
{
    if (m_run)
        m_run->disconnect(this);
}

void MonitorSession::setSource(std::shared_ptr<const market::QuoteSource> source)
{
    m_source = std::move(source);
}

void MonitorSession::setFetchOptions(const market::FetchOptions& options)
{
    m_options = options;
}

void MonitorSession::setContextProvider(std::function<MonitorContext()> provider)
{
    m_context = std::move(provider);
}

void MonitorSession::setSecondLength(std::chrono::milliseconds second)
{
    m_second = second;
    m_timer.setInterval(periodFor(m_intervalPosition, m_second));
}

MonitorSession::State MonitorSession::state() const
{
    if (!m_loadIdle)
        return State::Loading;
    if (!m_cycleIdle)
        return State::Cycling;
    return m_timer.isActive() ? State::Waiting : State::Stopped;
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
    return m_source && m_source->codesPerRequest() > 1;
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
    emit indexQuoted(m_firstIndex, m_secondIndex);
}

MonitorContext MonitorSession::context() const
{
    return m_context ? m_context() : MonitorContext{};
}

bool MonitorSession::hasHeadForPass(const MonitorContext& c) const
{
    return c.codeInput.trimmed() != placeholderCode && gbkByteCount(c.caption) > 1 &&
           gbkByteCount(c.codeInput) > 1;
}

bool MonitorSession::hasHeadForCycle(const MonitorContext& c) const
{
    return c.caption != unnamedStock && c.codeInput != placeholderCode &&
           gbkByteCount(c.caption) > 1 && c.currentCode.size() >= 2;
}

bool MonitorSession::startMonitoring()
{
    if (m_passRunning)
        return false;
    stopCycle();
    const MonitorContext c = context();
    m_monitorLines.clear();
    m_loadIdle = false;
    m_latestQuoteTime = market::noQuoteTimeYet.toString();
    try {
        m_listNonEmpty = m_db.scalarInt("SELECT count(*) FROM gpjl WHERE 监控状态='是'") >= 1;
    } catch (const sql::Error& e) {
        m_loadIdle = true;
        emit databaseFailed(e.message());
        return true;
    }

    m_monitoring = true;
    if (m_listNonEmpty) {
        setFrameCaption(u"实时行情下载中"_s);
        m_switchEnabled = false;
        QStringList codes{hasHeadForPass(c) ? c.codeInput.trimmed() : fallbackHeadCode()};
        auto query = m_db.prepare("SELECT 股票代码 FROM gpjl WHERE 监控状态='是' ORDER BY 股票名");
        while (query.step())
            codes << query.text(0);
        m_passRunning = true;
        runCodes(Job::Pass, withIndexes(codes), true);
    } else {
        m_loadIdle = true;
        // The rows left from an earlier pass are no longer coloured.
        m_grid.coloured = false;
        emit gridChanged();
    }
    setMonitoring(true);
    m_intervalEnabled = true;
    setIntervalPosition(59);
    return true;
}

void MonitorSession::setMonitoring(bool on)
{
    if (m_job != Job::Cycle)
        m_cycleIdle = true;
    m_started = true;
    m_monitoring = on;
    m_intervalEnabled = on;
    if (on) {
        m_timer.start();
        m_ticker.setReconnectEnabled(false);
    } else {
        m_timer.stop();
        m_ticker.setReconnectEnabled(true);
        m_ticker.setTotalText(timeoutText());
    }
    if (!context().networkOk)
        m_timer.start();
    emit switchChanged();
    emit tickerChanged();
}

void MonitorSession::stopMonitoring()
{
    m_monitoring = false;
    m_intervalEnabled = false;
    m_timer.stop();
    emit switchChanged();
}

void MonitorSession::waitForNetwork()
{
    m_monitoring = false;
    m_intervalEnabled = false;
    m_timer.start();
    emit switchChanged();
}

void MonitorSession::tick()
{
    const MonitorContext c = context();
    if (c.networkOk && m_cycleIdle && m_loadIdle) {
        m_cycleIdle = false;
        m_cycleLines.clear();
        m_latestQuoteTime = market::noQuoteTimeYet.toString();
        m_firstCode.clear();
        m_emptyListCycle = !m_listNonEmpty;
        if (m_emptyListCycle) {
            if (c.codeInput != placeholderCode && gbkByteCount(c.caption) > 1 &&
                c.currentCode.size() > 1) {
                m_firstCode = c.currentCode;
                runCodes(Job::Cycle, withIndexes({c.currentCode}), false);
            } else {
                m_cycleIdle = true;
                emit cycleFinished(true);
            }
        } else {
            setFrameCaption(nextFrameMark(m_frameCaption));
            QStringList codes;
            if (hasHeadForPass(c)) {
                if (!market::alreadyFetched(c.codeInput, m_monitorLines))
                    codes << (m_firstCode = c.currentCode);
            } else if (!market::alreadyFetched(fallbackHeadCode(), m_monitorLines)) {
                codes << (m_firstCode = fallbackHeadCode());
            }
            const QStringList indexes = indexKeys();
            for (const QString& line : std::as_const(m_monitorLines)) {
                const QString code = market::recordKey(line);
                if (!code.isEmpty() && !indexes.contains(code))
                    codes << code;
            }
            runCodes(Job::Cycle, withIndexes(codes), false);
        }
    }
    emit ticked();
}

void MonitorSession::setIntervalPosition(int position)
{
    m_intervalPosition = std::clamp(position, 29, 599);
    m_timer.setInterval(periodFor(m_intervalPosition, m_second));
    emit intervalChanged();
}

void MonitorSession::adoptSummaryQuotes(const QStringList& lines)
{
    m_monitorLines = lines;
}

void MonitorSession::runCodes(Job job, const QStringList& codes, bool skipFetched)
{
    m_job = job;
    m_failed = false;
    m_headFailed = false;
    m_filling = job == Job::Pass ? &m_monitorLines : &m_cycleLines;
    auto* run = new market::SequentialQuoteRun(m_source, m_options, m_pause, this);
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
    const Job job = std::exchange(m_job, Job::None);
    if (m_run) {
        m_run->disconnect(this);
        m_run->deleteLater();
    }
    m_run = nullptr;
    if (job == Job::Pass) {
        if (completed && !m_failed)
            finishPass();
        else
            failPass();
    } else if (job == Job::Cycle) {
        if (completed && !m_failed)
            finishCycle();
        else if (m_failed)
            failCycle();
        else {
            m_cycleIdle = true; // stopped for a new pass
            emit cycleFinished(false);
        }
    }
}

void MonitorSession::stopCycle()
{
    if (m_job == Job::Cycle && m_run)
        m_run->stop();
}

void MonitorSession::failPass()
{
    m_passRunning = false;
    setFrameCaption(timeoutText());
    m_ticker.setTotalText(timeoutText());
    m_ticker.setReconnectEnabled(true);
    m_cycleIdle = true;
    // The pass stays unfinished (no cycle until monitoring is started again),
    // but the switch is usable again.
    m_switchEnabled = true;
    emit switchChanged();
    emit tickerChanged();
    emit passFinished(false);
}

void MonitorSession::failCycle()
{
    if (m_headFailed)
        emit progressFailed(timeoutText());
    else
        setFrameCaption(timeoutText());
    m_ticker.setTotalText(timeoutText());
    m_ticker.setReconnectEnabled(true);
    if (!m_timer.isActive())
        m_timer.start();
    m_cycleIdle = true;
    emit tickerChanged();
    emit cycleFinished(false);
}

void MonitorSession::finishPass()
{
    const MonitorContext c = context();
    const market::RecordParse head = market::parseQuoteRecord(
        c.codeInput, m_monitorLines, market::RecordMode::PriceOnly, m_latestQuoteTime);
    m_latestQuoteTime = head.latestQuoteTime;
    takeTime(head.timeLabel);
    emit headPriced(head.price);

    MonitorGridUpdate update;
    try {
        sql::Transaction transaction(m_db);
        const QList<StockFigures> figures = buildScratchTables(m_db, SummaryScope::MonitoredStocks);
        update = updateMonitorGrid(monitorStocks(figures), m_monitorLines, c.fees,
                                   MonitorPass::Initial, m_grid, m_latestQuoteTime);
        storeFigures(m_db, update.stored);
        transaction.commit();
    } catch (const sql::Error& e) {
        m_passRunning = false;
        m_loadIdle = true;
        m_switchEnabled = true;
        emit switchChanged();
        emit databaseFailed(e.message());
        emit passFinished(false);
        return;
    }
    m_grid = update.grid;
    takeTime(update.timeLabel);
    takeIndexes(m_monitorLines);
    setFrameCaption(framePlain);
    m_latestQuoteTime = market::noQuoteTimeYet.toString();
    m_switchEnabled = true;
    m_loadIdle = true;
    m_passRunning = false;
    emit gridChanged();
    emit switchChanged();
    emit passFinished(true);
}

void MonitorSession::finishCycle()
{
    const MonitorContext c = context();
    if (m_emptyListCycle) {
        const market::RecordParse parse = market::parseQuoteRecord(
            c.currentCode, m_cycleLines, market::RecordMode::ShowInMonitor, m_latestQuoteTime);
        m_latestQuoteTime = parse.latestQuoteTime;
        takeTime(parse.timeLabel);
        emit headPriced(parse.price);
        if (parse.display)
            emit headQuoted(*parse.display);
        takeIndexes(m_cycleLines);
        m_cycleIdle = true;
        emit cycleFinished(true);
        return;
    }

    if (hasHeadForCycle(c)) {
        const market::RecordParse parse = market::parseQuoteRecord(
            c.currentCode, m_cycleLines, market::RecordMode::ShowInMonitor, m_latestQuoteTime);
        m_latestQuoteTime = parse.latestQuoteTime;
        takeTime(parse.timeLabel);
        emit headPriced(parse.price);
        if (parse.display) {
            m_headChange = parse.display->snapshot.change;
            emit headQuoted(*parse.display);
        }
        m_ticker.headQuoted(headTickerLine(c.caption, parse.price, m_headChange), m_headChange);
    } else {
        const market::RecordParse parse = market::parseQuoteRecord(
            fallbackHeadCode(), m_cycleLines, market::RecordMode::PriceOnly, m_latestQuoteTime);
        m_latestQuoteTime = parse.latestQuoteTime;
        takeTime(parse.timeLabel);
        emit headPriced(parse.price);
        m_ticker.noHead();
    }
    // Switched off while this cycle ran: "重新连接(&N)" stays offered.
    if (m_monitoring)
        m_ticker.setReconnectEnabled(false);

    QList<MonitorStock> stocks;
    try {
        stocks = readMonitorStocks(m_db);
    } catch (const sql::Error&) {
        // The scratch tables were emptied or dropped since the pass: no rows.
    }
    const MonitorGridUpdate update = updateMonitorGrid(
        stocks, m_cycleLines, c.fees, MonitorPass::Cycle, m_grid, m_latestQuoteTime);
    m_grid = update.grid;
    takeTime(update.timeLabel);
    takeIndexes(m_cycleLines);
    runTicker();
    m_latestQuoteTime = market::noQuoteTimeYet.toString();
    m_cycleIdle = true;
    emit gridChanged();
    emit tickerChanged();
    emit cycleFinished(true);
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
    emit frameCaptionChanged(caption);
}

void MonitorSession::takeTime(const std::optional<QString>& label)
{
    if (!label)
        return;
    m_timeLabel = *label;
    emit timeLabelChanged(m_timeLabel);
}

} // namespace corvanta::report
