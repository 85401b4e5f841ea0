#pragma once

#include "report/MonitorFigures.h"
#include "report/TickerRotation.h"

#include "calc/FeeRules.h"
#include "ledger/LedgerChanges.h"
#include "market/FetchOptions.h"
#include "market/QuoteParsing.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace corvanta::sql {
class Database;
}
namespace corvanta::market {
class QuoteService;
class SequentialQuoteRun;
struct QuoteResult;
} // namespace corvanta::market

namespace corvanta::monitor {

// The live monitor: the initial pass that fetches every monitored stock and
// builds the monitor summary, the refresh cycles on the monitor timer, the grid
// they fill and the floating bar's lines. Fetches run one after another with a
// pause, as asynchronous jobs on the UI thread; the windows follow the signals.
//
// One stored state and the user's wish (the monitoring switch) decide what
// every call and every fetch's end does; the timer runs in Waiting and
// WaitingForNetwork, and follows the wish while a pass or cycle runs or after a
// failed pass. The windows push the head stock and the network's state in.
class MonitorSession : public QObject {
    Q_OBJECT

public:
    // Where monitoring stands: Off (nothing runs, the timer is off), WaitingForNetwork
    // (nothing runs, the switch is off, the timer runs to find the network again or
    // to retry a failed cycle), Loading (a pass runs), LoadFailed (a pass failed: no
    // cycle until the next start), Waiting (nothing runs, the timer is on), Cycling
    // (a cycle runs).
    enum class State { Off, WaitingForNetwork, Loading, LoadFailed, Waiting, Cycling };
    Q_ENUM(State)

    // Passes and cycles fetch through the program's quote service: each keeps the
    // source chosen when it starts, each request the proxy in use when it is sent.
    // The floating bar's lines follow the ledger's changes of the monitor list.
    MonitorSession(sql::Database& db, ledger::LedgerNotifier& notifier,
                   market::QuoteService& quotes, QObject* parent = nullptr);
    ~MonitorSession() override;
    // The head stock as the monitor window shows it: its code input, its stock
    // caption (the name), and the main window's current code that the monitor's
    // picker keeps equal to the code input.
    void setHeadCode(const QString& code) { m_headCode = code; }
    void setHeadName(const QString& name) { m_headName = name; }
    void setCurrentCode(const QString& code) { m_currentCode = code; }
    const QString& headCode() const { return m_headCode; }
    const QString& headName() const { return m_headName; }
    const QString& currentCode() const { return m_currentCode; }
    // Whether quotes can be fetched (the main window's connection check).
    void setNetworkOk(bool ok) { m_networkOk = ok; }
    bool networkOk() const { return m_networkOk; }
    // The trade inputs the virtual sales are priced with, read when a pass or a
    // cycle prices the grid.
    void setFeeSource(std::function<FeeSnapshot()> source);
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
    State state() const { return m_state; }
    bool isLoadIdle() const { return m_state != State::Loading && m_state != State::LoadFailed; }
    bool isCycleIdle() const { return m_state != State::Cycling; }
    bool isPassRunning() const { return m_state == State::Loading; }
    // The last pass found at least one monitored row.
    bool listNonEmpty() const { return m_listNonEmpty; }
    // The switch has been set at least once in this run.
    bool hasStarted() const { return m_started; }
    // The user's wish: the switch is on.
    bool isMonitoring() const { return m_wish; }
    bool isSwitchEnabled() const { return m_state != State::Loading; }
    bool isIntervalEnabled() const { return m_wish; }
    const QString& latestQuoteTime() const { return m_latestQuoteTime; }
    const QStringList& monitorQuoteLines() const { return m_monitorLines; }
    const QStringList& cycleQuoteLines() const { return m_cycleLines; }
    const report::MonitorGrid& grid() const { return m_grid; }
    const QString& frameCaption() const { return m_frameCaption; }
    const QString& timeLabel() const { return m_timeLabel; }
    int intervalPosition() const { return m_intervalPosition; }
    QString intervalText() const;
    bool isTimerActive() const { return m_timer.isActive(); }
    int timerInterval() const { return m_timer.interval(); }
    report::TickerRotation& ticker() { return m_ticker; }
    const report::TickerRotation& ticker() const { return m_ticker; }
    // The two index labels the bar copies.
    void setIndexLabels(const report::TickerLabel& first, const report::TickerLabel& second);
    // Whether passes and cycles ask for the two indexes too: only a source that
    // takes many codes a request does, in the same requests as the stocks.
    bool fetchesIndexes() const;

    // The monitor switch's caption for its state.
    static QString switchCaption(bool on);

Q_SIGNALS:
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
    // How a pass's or cycle's run of fetches ended.
    enum class RunEnd { Completed, Failed, Stopped };
    void onLedgerChanged(ledger::LedgerChanges what);
    bool hasHeadForPass() const;
    bool hasHeadForCycle() const;
    // Moves to a state and runs the timer as the state and the wish want.
    void enter(State state);
    void dropWish(State rest);
    // The state nothing runs in, for the wish.
    State idleState() const { return m_wish ? State::Waiting : State::Off; }
    FeeSnapshot fees() const { return m_fees ? m_fees() : FeeSnapshot{}; }
    void startPass();
    void startCycle();
    void runCodes(const QStringList& codes, bool skipFetched);
    void onRequestFinished(const QStringList& codes, const market::QuoteResult& result);
    void onRunFinished(bool completed);
    void finishPass();
    void finishCycle();
    void failPass();
    void failCycle();
    void setFrameCaption(const QString& caption);
    void takeTime(const std::optional<QString>& label);
    void runTicker();
    QStringList withIndexes(QStringList codes) const;
    void takeIndexes(const QStringList& lines);

    sql::Database& m_db;
    market::QuoteService& m_quotes;
    std::chrono::milliseconds m_pause = market::monitorPause;
    std::chrono::milliseconds m_second{1000};
    std::function<FeeSnapshot()> m_fees;
    QString m_headCode;
    QString m_headName;
    QString m_currentCode;
    bool m_networkOk = true;

    State m_state = State::Off;
    bool m_wish = false;
    bool m_listNonEmpty = false;
    bool m_started = false;

    QTimer m_timer;
    QPointer<market::SequentialQuoteRun> m_run;
    QStringList* m_filling = nullptr; // the list the running pass or cycle fills
    bool m_failed = false;
    bool m_headFailed = false; // the failed request was the head's
    QString m_firstCode;       // the head code of the running cycle, if fetched first
    bool m_emptyListCycle = false;

    int m_intervalPosition = 59;
    QString m_latestQuoteTime;
    QStringList m_monitorLines;
    QStringList m_cycleLines;
    report::MonitorGrid m_grid;
    QString m_frameCaption;
    QString m_timeLabel;
    QString m_headChange;
    report::TickerLabel m_firstIndex;
    report::TickerLabel m_secondIndex;
    report::TickerRotation m_ticker;
};

} // namespace corvanta::monitor
