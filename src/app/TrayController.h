#pragma once

#include <QObject>

class QMainWindow;

namespace corvanta::app {

class MainMenus;
class TradePanel;
class TrayPort;

// Hiding the main window to the tray and bringing it back. Where the desktop has
// no tray the window is minimised instead, so it always stays reachable.
class TrayController : public QObject {
    Q_OBJECT
public:
    TrayController(TrayPort& tray, QMainWindow& window, MainMenus& menus, TradePanel& trade);

    void hideToTray();
    void restore();
    void setToolTip(const QString& text);
    // True while the main window is hidden to the tray.
    bool inTray() const { return m_inTray; }
    // The program ends from the tray menu: the window is no longer in the tray.
    void leaveForExit() { m_inTray = false; }
    // The user follows the current stock from the tray: the tray hint keeps its
    // price current.
    void markInTray() { m_inTray = true; }

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
    bool m_inTray = false;
};

} // namespace corvanta::app
