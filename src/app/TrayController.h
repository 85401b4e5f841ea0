#pragma once

#include <QObject>

class QMainWindow;

namespace corvanta::model {
class LiveState;
}

namespace corvanta::app {

class MainMenus;
class TradePanel;
class TrayPort;

// Hiding the main window to the tray and bringing it back. Where the desktop has
// no tray the window is minimised instead, so it always stays reachable.
class TrayController : public QObject {
    Q_OBJECT
public:
    // Whether the window is in the tray is kept in `live`.
    TrayController(TrayPort& tray, QMainWindow& window, MainMenus& menus, TradePanel& trade,
                   model::LiveState& live);

    void hideToTray();
    void restore();
    void setToolTip(const QString& text);
    // True while the main window is hidden to the tray.
    bool inTray() const;
    // The program ends from the tray menu: the window is no longer in the tray.
    void leaveForExit();
    // The user follows the current stock from the tray: the tray hint keeps its
    // price current.
    void markInTray();

    static QString idleToolTip();

Q_SIGNALS:
    // Hidden with a stock chosen: its quote is kept current from the tray.
    void wentToTrayWithStock();
    // The window is back from the tray.
    void restored();

private:
    TrayPort& m_tray;
    QMainWindow& m_window;
    TradePanel& m_trade;
    model::LiveState& m_live;
};

} // namespace corvanta::app
