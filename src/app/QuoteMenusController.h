#pragma once

#include "InfoPages.h"
#include "MainWindowServices.h"

#include <QObject>

class QWidget;

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerWriter;
}
namespace corvanta::market {
class QuoteSourceChoice;
}
namespace corvanta::windows {
class StockPicker;
}

namespace corvanta::app {

class MainMenus;
class QuoteRefreshController;
class TradePanel;
class TrayController;

// The quote commands around the live stock: the link label's portal pages, the
// tray's stock query and the quote server's address.
class QuoteMenusController : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QWidget& window;
        TradePanel& trade;
        MainMenus& menus;
        windows::StockPicker& picker;
        QuoteRefreshController& refresh;
        TrayController& tray;
        market::QuoteSourceChoice& sources;
    };

    QuoteMenusController(sql::Database& db, ledger::LedgerWriter& writer,
                         MainWindowServices services, Parts parts, QObject* parent = nullptr);

    // Opens the code input's page on the portal, and keeps it as the link's target.
    void openInfoPage(InfoPortal portal);
    // The tray's "股票查询(&I)" with the code answered: it becomes the current stock
    // and is refreshed live.
    void queryStock(const QString& answer);
    // A new quote server address: stored and used by 金融界 when valid, refused
    // otherwise.
    // True when it was taken.
    bool setQuoteServer(const QString& text);
    // A new host of 新浪 or 腾讯 (`tencent`): stored in its settings row and used by
    // the next request when it is an http or https address, refused otherwise.
    // True when it was taken.
    bool setSourceHost(bool tencent, const QString& text);

private:
    void askStock();
    void askQuoteServer();
    void askSourceHost(bool tencent);

    sql::Database& m_db;
    ledger::LedgerWriter& m_writer;
    MainWindowServices m_services;
    Parts m_parts;
};

} // namespace corvanta::app
