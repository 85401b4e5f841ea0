#pragma once

#include "MainWindowServices.h"
#include "ledger/Settings.h"

#include <QObject>

class QMainWindow;

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerWriter;
}
namespace corvanta::market {
class NetworkState;
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
    SettingsMenuController(market::NetworkState& network, sql::Database& db,
                           ledger::LedgerWriter& writer, MainWindowServices services, Parts parts);

    // Shows the saved settings at start.
    void loadSettings();
    void saveSettings();
    void editTitle();
    void editProxy();
    void createDesktopShortcut();
    // The main window became active: the entered proxy takes effect for the quotes.
    void applyProxy();
    // The monitor grid's font as the font window last applied it; saved with the settings.
    void setMonitorFont(ledger::MonitorFont font) { m_monitorFont = font; }

Q_SIGNALS:
    // A custom title was taken: the main window and the tray icon show it, and
    // the monitor window takes it too.
    void titleChosen(const QString& title);

private:
    QPoint dialogPosition() const;

    market::NetworkState& m_network;
    sql::Database& m_db;
    ledger::LedgerWriter& m_writer;
    MainWindowServices m_services;
    Parts m_parts;
    ledger::MonitorFont m_monitorFont;
};

} // namespace corvanta::app
