#pragma once

#include "MonitorFigures.h"
#include "TickerRotation.h"

#include "calc/FeeRules.h"
#include "market/FetchOptions.h"
#include "market/QuoteParsing.h"
#include "market/QuoteSource.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace corvanta::sql {
class Database;
}
namespace corvanta::market {
class SequentialQuoteRun;
struct QuoteResult;
} // namespace corvanta::market

namespace corvanta::report {

// What the monitor reads of the windows when a pass or cycle needs it.
struct MonitorContext {
    QString codeInput;   // the monitor's code input
    QString caption;     // the monitor's stock caption (the head stock's name)
    QString currentCode; // the main window's current code
    FeeSnapshot fees;    // the trade inputs the virtual sales are priced with
    bool networkOk = true;
};

// The live monitor: the initial pass that fetches every monitored stock and
// builds the monitor summary, the refresh cycles on the monitor timer, the grid
// they fill and the floating bar's lines. Fetches run one after another with a
// pause, as asynchronous jobs on the UI thread; the windows follow the signals.
//
// Lifecycle: stopped (switch off, timer off) → loading (startMonitoring) →
// waiting (pass done, timer on) ⇄ cycling (each tick while both are idle).
class MonitorSession : public QObject {
    Q_OBJECT

public:
    // Where monitoring stands: stopped (switch off, timer off), loading (a pass
    // started and has not ended well: a failed pass stays here until the next
    // start), waiting (nothing runs, the timer is on), cycling (a cycle runs).
    enum class State { Stopped, Loading, Waiting, Cycling };
    Q_ENUM(State)

    MonitorSession(sql::Database& db, std::shared_ptr<const market::QuoteSource> source,
                   const market::FetchOptions& options, QObject* parent = nullptr);
    ~MonitorSession() override;

    // The source and client options of the next passes and cycles.
    void setSource(std::shared_ptr<const market::QuoteSource> source);
    void setFetchOptions(const market::FetchOptions& options);
    // Read at the start of every pass and cycle and where they need the head.
    void setContextProvider(std::function<MonitorContext()> provider);
    // The fixed code fetched when there is no head stock.
    static QString fallbackHeadCode();
    static QString timeoutText(); // "网络连接超时!"

    // Starts the initial pass, switches monitoring on and sets the interval to
    // 60 s. Refused (false, nothing changes) while a pass runs; a cycle that
    // runs is stopped, so the two never fill the quote lists together.
    bool startMonitoring();
    // The monitoring switch: the timer and the interval follow it, except that
    // the timer runs anyway while the network is down.
    void setMonitoring(bool on);
    // The monitor window hides (not for the floating bar): the switch goes off,
    // the timer stops and the interval is disabled.
    void stopMonitoring();
    // The monitor window shows while the network is down: the switch goes off
    // and the timer runs, so the next tick finds out when the network is back.
    void waitForNetwork();
    // The monitor timer's action: a cycle when the network is up and nothing
    // runs. ticked() follows either way.
    void tick();
    // The interval slider's position p (29 … 599): a period of p + 1 seconds.
    void setIntervalPosition(int position);
    // The quoted position summary refilled the monitor's quote lines: later
    // cycles fetch the stocks listed there.
    void adoptSummaryQuotes(const QStringList& lines);
    // The pause before each request (500 ms unless a test shortens it).
    void setPause(std::chrono::milliseconds pause) { m_pause = pause; }
    // How long one second of the monitor timer's period lasts (a second unless a
    // test shortens it).
    void setSecondLength(std::chrono::milliseconds second);

    // State.
    State state() const;
    bool isLoadIdle() const { return m_loadIdle; }
    bool isCycleIdle() const { return m_cycleIdle; }
    bool isPassRunning() const { return m_passRunning; }
    bool listNonEmpty() const { return m_listNonEmpty; }
    bool hasStarted() const { return m_started; }
    bool isMonitoring() const { return m_monitoring; }
    bool isSwitchEnabled() const { return m_switchEnabled; }
    bool isIntervalEnabled() const { return m_intervalEnabled; }
    const QString& latestQuoteTime() const { return m_latestQuoteTime; }
    const QStringList& monitorQuoteLines() const { return m_monitorLines; }
    const QStringList& cycleQuoteLines() const { return m_cycleLines; }
    const MonitorGrid& grid() const { return m_grid; }
    const QString& frameCaption() const { return m_frameCaption; }
    const QString& timeLabel() const { return m_timeLabel; }
    int intervalPosition() const { return m_intervalPosition; }
    QString intervalText() const;
    bool isTimerActive() const { return m_timer.isActive(); }
    int timerInterval() const { return m_timer.interval(); }
    TickerRotation& ticker() { return m_ticker; }
    const TickerRotation& ticker() const { return m_ticker; }
    // The two index labels the bar copies.
    void setIndexLabels(const TickerLabel& first, const TickerLabel& second);
    // Whether passes and cycles ask for the two indexes too: only a source that
    // takes many codes a request does, in the same requests as the stocks.
    bool fetchesIndexes() const;

    // The monitor switch's caption for its state.
    static QString switchCaption(bool on);

signals:
    void gridChanged();
    void frameCaptionChanged(const QString& caption);
    void timeLabelChanged(const QString& text);
    // The current-price input's new text; the window recomputes the gain at it.
    void headPriced(const QString& price);
    // The head stock's record for the quote fields.
    void headQuoted(const corvanta::market::MonitorQuoteDisplay& display);
    // A fetch of the head failed: the progress label shows the time-out text.
    void progressFailed(const QString& text);
    void switchChanged();
    void intervalChanged();
    void tickerChanged();
    void ticked();
    // A pass or cycle ended (completed, failed or stopped).
    void passFinished(bool completed);
    void cycleFinished(bool completed);
    void databaseFailed(const QString& message);
    // A request brought these quote record lines (the journal's targets watch them).
    void quotesArrived(const QStringList& records);
    // A pass or cycle brought an index: the window shows the label.
    void indexQuoted(const corvanta::report::TickerLabel& shanghai,
                     const corvanta::report::TickerLabel& shenzhen);

private:
    enum class Job { None, Pass, Cycle };
    MonitorContext context() const;
    bool hasHeadForPass(const MonitorContext& c) const;
    bool hasHeadForCycle(const MonitorContext& c) const;
    void runCodes(Job job, const QStringList& codes, bool skipFetched);
    void onRequestFinished(const QStringList& codes, const market::QuoteResult& result);
    void onRunFinished(bool completed);
    void finishPass();
    void finishCycle();
    void failPass();
    void failCycle();
    void stopCycle();
    void setFrameCaption(const QString& caption);
    void takeTime(const std::optional<QString>& label);
    void setSwitchEnabled(bool enabled);
    void runTicker();
    QStringList withIndexes(QStringList codes) const;
    void takeIndexes(const QStringList& lines);

    sql::Database& m_db;
    std::shared_ptr<const market::QuoteSource> m_source;
    market::FetchOptions m_options;
    std::chrono::milliseconds m_pause = market::monitorPause;
    std::chrono::milliseconds m_second{1000};
    std::function<MonitorContext()> m_context;

    QTimer m_timer;
    QPointer<market::SequentialQuoteRun> m_run;
    Job m_job = Job::None;
    QStringList* m_filling = nullptr; // the list the running job fills
    bool m_failed = false;
    bool m_headFailed = false; // the failed request was the head's
    QString m_firstCode;       // the head code of the running cycle, if fetched first
    bool m_emptyListCycle = false;

    bool m_loadIdle = true;
    bool m_cycleIdle = true;
    bool m_passRunning = false;
    bool m_listNonEmpty = false;
    bool m_started = false;
    bool m_monitoring = false;
    bool m_switchEnabled = true;
    bool m_intervalEnabled = false;
    int m_intervalPosition = 59;
    QString m_latestQuoteTime;
    QStringList m_monitorLines;
    QStringList m_cycleLines;
    MonitorGrid m_grid;
    QString m_frameCaption;
    QString m_timeLabel;
    QString m_headChange;
    TickerLabel m_firstIndex;
    TickerLabel m_secondIndex;
    TickerRotation m_ticker;
};

} // namespace corvanta::report
