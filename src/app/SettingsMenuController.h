#pragma once

#include "AppState.h"
#include "MainWindowServices.h"
#include "ledger/Settings.h"

#include <QObject>

class QMainWindow;

namespace corvanta::sql {
class Database;
}

namespace corvanta::app {

class FeeController;
class MainMenus;
class ParametersPanel;
class StatusBarPanels;
class TradePanel;
class TrayController;

// The settings and help menus: saved fee rates, proxy and monitor font, the custom
// title, the desktop shortcut, the calculator and the update notice.
class SettingsMenuController : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QMainWindow& window;
        MainMenus& menus;
        ParametersPanel& parameters;
        TradePanel& trade;
        StatusBarPanels& status;
        FeeController& fees;
        TrayController& tray;
    };
    SettingsMenuController(SessionState& state, sql::Database& db, MainWindowServices services,
                           Parts parts);

    // Shows the saved settings at start.
    void loadSettings();
    void saveSettings();
    void editTitle();
    void editProxy();
    void createDesktopShortcut();
    // The main window became active: the saved proxy takes effect.
    void applyProxy();

private:
    QPoint dialogPosition() const;

    SessionState& m_state;
    sql::Database& m_db;
    MainWindowServices m_services;
    Parts m_parts;
    ledger::MonitorFont m_monitorFont;
};

} // namespace corvanta::app
