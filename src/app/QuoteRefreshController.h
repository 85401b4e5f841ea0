#pragma once

#include "market/SingleQuoteWorker.h"

#include "QuoteMark.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace corvanta::model {
class LiveState;
class TradeForm;
} // namespace corvanta::model
namespace corvanta::market {
class ConnectionCheck;
class NetworkState;
class QuoteService;
} // namespace corvanta::market

namespace corvanta::app {

class FeeController;
class MainMenus;
class SellTargetGroup;
class StatusBarPanels;
class TradePanel;
class TrayController;

// The main window's live stock: the 2-second network timer, the single-stock
// refresh and its menu items, and the quote fields, current price, limit captions
// and gain that a fetch brings.
class QuoteRefreshController : public QObject {
    Q_OBJECT
public:
    struct Parts {
        TradePanel& trade;
        // The trade: its code and quote are read from it, a fetch's quote written to it.
        model::TradeForm& form;
        MainMenus& menus;
        StatusBarPanels& status;
        FeeController& fees;
        SellTargetGroup& profitTargets;
        SellTargetGroup& lossTargets;
        TrayController& tray;
        model::LiveState& live; // the single-stock refresh is kept there
    };
    static constexpr int periodMs = 2000;

    QuoteRefreshController(market::NetworkState& network, market::QuoteService& quotes, Parts parts,
                           QObject* parent = nullptr);
    ~QuoteRefreshController() override;

    // The connection check the timer asks (the system's by default).
    void setConnectionCheck(std::unique_ptr<market::ConnectionCheck> check);

    // One tick of the timer.
    void tick();
    // The window became active: a connection found now lets the next fetch go at
    // once; none found changes nothing (the timer's ticks clear it).
    void checkConnectionNow();
    bool timerActive() const { return m_timer.isActive(); }
    void setTimerActive(bool on);
    // While paused (another window shows) the timer stays off, whatever switches the
    // live refresh on; it runs again when the pause ends.
    void setPaused(bool paused);

    // Starts the single-stock fetch when the fetch is idle and the network is up.
    bool fetchIfReady();
    // The stock picker chose a stock.
    void onQuoteWanted();
    // A ledger row's trade is shown: its stock's quote, and the live refresh on.
    void onTradeSelected(const QString& code);
    // Both refresh items checked, the timer on and the throttle at 0.
    void startLiveRefresh();
    // A key in the code input: both refresh items unchecked, the timer off and the
    // progress bar hidden at 0.
    void stopLiveRefresh();
    // The tray hint: code, name and current price, then `ending`.
    void showTrayHint(const QString& ending);

    // The tray spinner's next character after `current`.
    static QString nextSpinner(const QString& current);

    market::SingleQuoteWorker& worker() { return *m_worker; }

Q_SIGNALS:
    // A fetch ended and its result is on screen.
    void quoteShown();
    // A tick ended, with what its connection check found; the program's other
    // windows follow the timer through this.
    void ticked(bool networkOk);

private:
    void showQuoteMark();
    void setRefresh(bool on);
    void onStarted();
    void onFinished(const market::SingleQuoteOutcome& outcome);
    void showGain();
    void advanceProgress();

    bool m_paused = false;
    market::NetworkState& m_network;
    Parts m_parts;
    QuotedStock m_quoted;
    std::unique_ptr<market::ConnectionCheck> m_check;
    market::SingleQuoteWorker* m_worker;
    QTimer m_timer;
    QString m_spinner = QStringLiteral("-");
};

} // namespace corvanta::app
