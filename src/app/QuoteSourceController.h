#pragma once

#include "market/QuoteSourceChoice.h"

#include <QObject>

class QAction;

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerWriter;
}
namespace corvanta::windows {
class Prompter;
}

namespace corvanta::app {

class MainMenus;
class StatusBarPanels;

// The addresses of the quote sources as the ledger's settings rows give them: the
// quote server's row for 金融界, the Sina and Tencent rows when present and valid,
// the default hosts otherwise.
market::QuoteHosts loadQuoteHosts(sql::Database& db);

// The source the ledger's choice row names ("新浪" when there is none).
market::QuoteSourceKind loadQuoteSourceKind(sql::Database& db);

// The data-source menu "数据来源(&L)" and the status bar's answering source. 新浪,
// 腾讯 and 金融界 choose the program's quote source and store the choice in the
// ledger; 搜狐 and 和讯 have no quote endpoint: their items are disabled, never
// checked, and say why in their hint. The check mark follows the choice.
class QuoteSourceController : public QObject {
    Q_OBJECT
public:
    QuoteSourceController(ledger::LedgerWriter& writer, market::QuoteSourceChoice& choice,
                          MainMenus& menus, StatusBarPanels& status, windows::Prompter& prompter,
                          QObject* parent = nullptr);

    // A menu item was picked: a quote source is stored, then used; when the ledger
    // refuses the write, the user is told and the choice and its check mark stay.
    // False for that refusal and for an item that is no quote source.
    bool choose(const QString& itemText);

    // The hint of 搜狐 and 和讯.
    static QString noQuoteEndpointHint();

    // The menu item of a text ("新浪", "搜狐", ...); none for any other text.
    QAction* item(const QString& itemText) const;

private:
    void checkChosen();

    ledger::LedgerWriter& m_writer;
    market::QuoteSourceChoice& m_choice;
    MainMenus& m_menus;
    windows::Prompter& m_prompter;
};

} // namespace corvanta::app
