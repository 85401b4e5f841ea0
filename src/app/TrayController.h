#pragma once

#include "AppState.h"

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
    TrayController(SessionState& state, TrayPort& tray, QMainWindow& window, MainMenus& menus,
                   TradePanel& trade);

    void hideToTray();
    void restore();
    void setToolTip(const QString& text);

    static QString idleToolTip();

private:
    SessionState& m_state;
    TrayPort& m_tray;
    QMainWindow& m_window;
    TradePanel& m_trade;
};

} // namespace corvanta::app
