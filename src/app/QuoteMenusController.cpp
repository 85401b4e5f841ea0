#include "QuoteMenusController.h"

#include "DesktopServices.h"
#include "InputBox.h"
#include "MainMenus.h"
#include "QuoteRefreshController.h"
#include "TradePanel.h"
#include "TrayController.h"
#include "ledger/LedgerWriter.h"
#include "ledger/QuoteServerSetting.h"
#include "ledger/QuoteSourceSetting.h"
#include "ledger/sql/Database.h"
#include "market/QuoteServerAddress.h"
#include "market/QuoteSourceChoice.h"
#include "market/SourceHosts.h"
#include "windows/LedgerGuard.h"
#include "windows/Prompter.h"
#include "windows/StockPicker.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace corvanta::app {

QuoteMenusController::QuoteMenusController(sql::Database& db, ledger::LedgerWriter& writer,
                                           MainWindowServices services, Parts parts,
                                           QObject* parent)
    : QObject(parent), m_db(db), m_writer(writer), m_services(services), m_parts(parts)
{
    QLabel* link = m_parts.trade.infoLink;
    auto* pages = new QMenu(link);
    for (InfoPortal portal : {InfoPortal::Sohu, InfoPortal::Sina, InfoPortal::Hexun}) {
        QAction* item = pages->addAction(infoPortalName(portal));
        connect(item, &QAction::triggered, this, [this, portal] { openInfoPage(portal); });
    }
    link->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(link, &QWidget::customContextMenuRequested, pages,
            [link, pages](const QPoint& at) { pages->popup(link->mapToGlobal(at)); });

    connect(m_parts.menus.trayQuery, &QAction::triggered, this, &QuoteMenusController::askStock);
    connect(m_parts.menus.quoteServer, &QAction::triggered, this,
            &QuoteMenusController::askQuoteServer);
    connect(m_parts.menus.sinaHost, &QAction::triggered, this, [this] { askSourceHost(false); });
    connect(m_parts.menus.tencentHost, &QAction::triggered, this, [this] { askSourceHost(true); });
}

void QuoteMenusController::openInfoPage(InfoPortal portal)
{
    const QUrl url = infoPageUrl(portal, m_parts.trade.code->text());
    m_parts.trade.infoLink->setProperty("url", url);
    if (!m_services.desktop.openUrl(url))
        m_services.prompter.inform(browserFailedMessage(url));
}

void QuoteMenusController::askStock()
{
    QPoint at(0, 0);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        at = {screen->geometry().width() - 280, screen->geometry().height() - 160};
    const auto answer = showInputBox(nullptr, u"股票查询"_s, u"请输入股票代码:　　"_s,
                                     m_parts.trade.code->text(), at);
    if (answer)
        queryStock(*answer);
}

void QuoteMenusController::queryStock(const QString& answer)
{
    if (answer.trimmed().isEmpty())
        return;
    m_parts.trade.code->setText(answer);
    m_parts.picker.inferMarket(answer);
    m_parts.picker.lookupStock(answer);
    m_parts.picker.completeCode();
    m_parts.tray.markInTray();
    m_parts.refresh.startLiveRefresh();
    m_parts.trade.refreshProgress->setVisible(true);
    m_parts.refresh.showTrayHint(u"元"_s);
}

void QuoteMenusController::askQuoteServer()
{
    const QString current =
        market::quoteServerFromSetting(ledger::loadQuoteServer(m_db)).toString();
    const auto answer =
        showInputBox(&m_parts.window, u"行情服务器地址"_s, u"请输入行情服务器地址:"_s, current,
                     m_parts.window.geometry().center());
    if (answer)
        setQuoteServer(*answer);
}

bool QuoteMenusController::setQuoteServer(const QString& text)
{
    const auto checked = market::validateQuoteServer(text);
    if (const QString* message = std::get_if<QString>(&checked)) {
        m_services.prompter.inform(*message);
        return false;
    }
    const QUrl server = std::get<QUrl>(checked);
    if (!windows::withLedger(m_services.prompter, windows::LedgerAccess::Write,
                             [&] { m_writer.saveQuoteServer(server.toString()); }))
        return false;
    market::QuoteHosts hosts = m_parts.sources.hosts();
    hosts.page = server;
    m_parts.sources.setHosts(hosts);
    return true;
}

void QuoteMenusController::askSourceHost(bool tencent)
{
    const QString current =
        (tencent ? m_parts.sources.hosts().tencent : m_parts.sources.hosts().sina).toString();
    const QString caption = tencent ? u"腾讯行情地址"_s : u"新浪行情地址"_s;
    const auto answer = showInputBox(&m_parts.window, caption, u"请输入"_s + caption + u":"_s,
                                     current, m_parts.window.geometry().center());
    if (answer)
        setSourceHost(tencent, *answer);
}

bool QuoteMenusController::setSourceHost(bool tencent, const QString& text)
{
    const auto checked = market::validateSourceHost(text.trimmed());
    if (const QString* message = std::get_if<QString>(&checked)) {
        m_services.prompter.inform(*message);
        return false;
    }
    const QUrl host = std::get<QUrl>(checked);
    try {
        m_writer.saveQuoteSourceRow(tencent ? ledger::QuoteSourceRow::TencentHost
                                            : ledger::QuoteSourceRow::SinaHost,
                                    host.toString());
    } catch (const sql::Error& error) {
        m_services.prompter.inform(
            windows::databaseFailureText(windows::LedgerAccess::Write, error));
        return false;
    }
    market::QuoteHosts hosts = m_parts.sources.hosts();
    (tencent ? hosts.tencent : hosts.sina) = host;
    m_parts.sources.setHosts(hosts);
    return true;
}

} // namespace corvanta::app
