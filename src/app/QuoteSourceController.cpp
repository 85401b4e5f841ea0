#include "QuoteSourceController.h"

#include "MainMenus.h"
#include "StatusBarPanels.h"
#include "ledger/LedgerWriter.h"
#include "ledger/QuoteServerSetting.h"
#include "ledger/QuoteSourceSetting.h"
#include "ledger/sql/Database.h"
#include "market/QuoteServerAddress.h"
#include "market/SourceHosts.h"
#include "windows/LedgerGuard.h"

#include <QAction>
#include <QActionGroup>

namespace corvanta::app {

market::QuoteHosts loadQuoteHosts(sql::Database& db)
{
    using ledger::QuoteSourceRow;
    return {
        market::quoteServerFromSetting(ledger::loadQuoteServer(db)),
        market::sourceHostFromSetting(ledger::loadQuoteSourceRow(db, QuoteSourceRow::SinaHost),
                                      market::defaultSinaHost()),
        market::sourceHostFromSetting(ledger::loadQuoteSourceRow(db, QuoteSourceRow::TencentHost),
                                      market::defaultTencentHost())};
}

market::QuoteSourceKind loadQuoteSourceKind(sql::Database& db)
{
    return market::quoteSourceFromSetting(
        ledger::loadQuoteSourceRow(db, ledger::QuoteSourceRow::Choice));
}

QString QuoteSourceController::noQuoteEndpointHint()
{
    return QStringLiteral("没有公开的行情接口，不能作为数据来源");
}

QuoteSourceController::QuoteSourceController(ledger::LedgerWriter& writer,
                                             market::QuoteSourceChoice& choice, MainMenus& menus,
                                             StatusBarPanels& status, windows::Prompter& prompter,
                                             QObject* parent)
    : QObject(parent), m_writer(writer), m_choice(choice), m_menus(menus), m_prompter(prompter)
{
    // 搜狐 and 和讯 publish no quote endpoint: their items can never be the source in
    // use, so they are never checked (the main window disables them).
    for (QAction* action : m_menus.dataSources->actions()) {
        if (!market::quoteSourceOfName(action->text()))
            action->setToolTip(noQuoteEndpointHint());
    }
    checkChosen();
    connect(m_menus.dataSources, &QActionGroup::triggered, this,
            [this](QAction* action) { choose(action->text()); });
    connect(&m_choice, &market::QuoteSourceChoice::sourceChanged, this,
            &QuoteSourceController::checkChosen);
    if (!m_choice.lastAnswered().isEmpty())
        status.setSourceLine(market::answeringSourceText(m_choice.lastAnswered()));
    connect(&m_choice, &market::QuoteSourceChoice::answered, &status,
            [&status](const QString& name) {
                status.setSourceLine(market::answeringSourceText(name));
            });
}

bool QuoteSourceController::choose(const QString& itemText)
{
    const std::optional<market::QuoteSourceKind> kind = market::quoteSourceOfName(itemText);
    if (!kind) {
        // No quote endpoint behind it: the source and its check mark stay.
        checkChosen();
        return false;
    }
    if (*kind != m_choice.kind()) {
        if (!windows::withLedger(m_prompter, windows::LedgerAccess::Write, [&] {
                m_writer.saveQuoteSourceRow(ledger::QuoteSourceRow::Choice, itemText);
            })) {
            checkChosen();
            return false;
        }
        m_choice.choose(*kind);
    }
    checkChosen();
    return true;
}

QAction* QuoteSourceController::item(const QString& itemText) const
{
    const QList<QAction*> actions = m_menus.dataSources->actions();
    for (QAction* action : actions) {
        if (action->text() == itemText)
            return action;
    }
    return nullptr;
}

void QuoteSourceController::checkChosen()
{
    if (QAction* action = item(m_choice.name()))
        action->setChecked(true);
}

} // namespace corvanta::app
